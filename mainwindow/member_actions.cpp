#include "mainwindow/member_actions.h"

// The member commands arrive with their own change; the menu already routes here.
void PingMember() {}
void BrowseMember() {}
void CopyMemberAddress() {}
void EvictMember() {}
void ControlMemberPc() {}
void GiveControlToMember() {}
