// SPDX-License-Identifier: GPL-2.0-or-later
// Window 3: create a network with a name and an optional password.
#pragma once

// Builds the dialog afresh, both entries empty.
void OpenCreateNetworkDialog();
// "Create": runs "hamachi create"; the dialog stays open when the name is taken.
void CreateNetwork();
