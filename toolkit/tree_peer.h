// SPDX-License-Identifier: GPL-2.0-or-later
// The tree view the toolkit's trees use, and its accessible peer.
#pragma once

#include "toolkit/internal.h"

// A tree view showing a row model.  When the accessibility module is loaded,
// its peer answers row questions from the model itself, without recursion,
// for rows that are gone as for rows that exist.
GtkWidget* NewTreeView();
