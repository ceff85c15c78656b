// SPDX-License-Identifier: GPL-2.0-or-later
// The member menu: programs started on the selected member's address, the
// address copied, and the member evicted from its network.
#pragma once

void PingSelectedMember();
void BrowseSelectedMember();
void CopyMemberAddress();
// Asks first when ConfirmEvict is exactly 1; refreshes the roster unless the
// client refuses.
void EvictSelectedMember();
// The remote-desktop viewer and server named in the options.
void ControlSelectedMember();
void GiveControlToSelectedMember();
