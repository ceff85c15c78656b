// SPDX-License-Identifier: GPL-2.0-or-later
// Window 4: join a network by its name and, where it has one, its password.
#pragma once

// Builds the dialog afresh, both entries empty.
void OpenJoinNetworkDialog();
// "Join": runs "hamachi join"; the dialog stays open on a wrong password.
void JoinNetwork();
