// The member menu's items.
#pragma once

void PingMember();
void BrowseMember();
void CopyMemberAddress();
void EvictMember();
void ControlMemberPc();
void GiveControlToMember();
