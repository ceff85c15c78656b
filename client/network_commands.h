// SPDX-License-Identifier: GPL-2.0-or-later
// The client's commands on networks and members.  Names and addresses come
// from row texts that other people's nicknames can shape, and from what the
// user typed: each reaches the client as one argument, whatever it holds.
#pragma once

#include <string>

#include "client/outcome.h"

// "hamachi go-online" or "go-offline"; the whole answer is shown when it
// holds "failed".  Never done: the watchdog's next refresh shows the state.
Outcome SetNetworkOnline(const std::string& name, bool online);
// Done unless the client says the user owns the network.
Outcome LeaveNetwork(const std::string& name);
// Done unless the client says the user does not own the network.
Outcome DeleteNetwork(const std::string& name);
// Done unless the client says "denied".
Outcome EvictMember(const std::string& network, const std::string& address);

// "hamachi create" or "join" with the name (its outer blanks removed) and
// the password as typed; done unless the name is empty or the client
// refused with the sub-command's phrase.
enum class NetworkRequest { Create, Join };
Outcome SubmitNetwork(NetworkRequest request, const std::string& name,
                      const std::string& password);
