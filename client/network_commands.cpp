// SPDX-License-Identifier: GPL-2.0-or-later
#include "client/network_commands.h"

#include "client/runner.h"
#include "common/text.h"

namespace {

// The answer, or nothing when the command could not be run.
std::optional<std::string> Ask(const std::string& commandLine) {
    CommandOutput out = RunCommand(commandLine);
    if (!out.started) return std::nullopt;
    return std::move(out.text);
}

// Done unless the answer holds `refusal`, then `message` is shown.
Outcome Judge(const std::optional<std::string>& answer, const char* refusal, Message message) {
    if (!answer) return {NotRunMessage(), false};
    if (Contains(*answer, refusal)) return {std::move(message), false};
    return {std::nullopt, true};
}

}  // namespace

Outcome SetNetworkOnline(const std::string& name, bool online) {
    const auto answer =
        Ask(std::string("hamachi ") + (online ? "go-online " : "go-offline ") + ShellQuote(name));
    if (!answer) return {NotRunMessage(), false};
    if (Contains(*answer, "failed")) return {Message{"Hamachi", *answer}, false};
    return {};
}

Outcome LeaveNetwork(const std::string& name) {
    return Judge(Ask("hamachi leave " + ShellQuote(name)), "you are an owner",
                 {"Hamachi", "Leaving " + name + " failed, you are an owner"});
}

Outcome DeleteNetwork(const std::string& name) {
    return Judge(Ask("hamachi delete " + ShellQuote(name)), "not an owner",
                 {"Hamachi", "Delete " + name + " failed, you are not an owner"});
}

Outcome EvictMember(const std::string& network, const std::string& address) {
    return Judge(Ask("hamachi evict " + ShellQuote(network) + " " + ShellQuote(address)), "denied",
                 {"Error", "Evict user failed, access denied"});
}

Outcome SubmitNetwork(NetworkRequest request, const std::string& name,
                      const std::string& password) {
    // Tested before trimming: a name of blanks is sent, as an empty one.
    if (name.empty()) return {Message{"Hamachi", "Please enter a network name"}, false};
    const bool create = request == NetworkRequest::Create;
    const std::string line = std::string("hamachi ") + (create ? "create " : "join ") +
                             ShellQuote(Trim(name)) + " " + ShellQuote(password);
    if (create) return Judge(Ask(line), "already taken", {"Hamachi", "Network name is already taken"});
    return Judge(Ask(line), "invalid password", {"Hamachi", "Invalid password"});
}
