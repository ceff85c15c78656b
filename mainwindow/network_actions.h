// SPDX-License-Identifier: GPL-2.0-or-later
// The network menu: each item is one client command on the network whose row
// is selected in the roster.
#pragma once

void GoOnline();
void GoOffline();
// Refreshes the roster unless the client says the user owns the network.
void LeaveSelectedNetwork();
// Asks first, and reads the selection only after a Yes.
void DeleteSelectedNetwork();
