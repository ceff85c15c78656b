// SPDX-License-Identifier: GPL-2.0-or-later
#include "toolkit/internal.h"

namespace {
bool Ready = false;
}

bool InitToolkit(int* argc, char*** argv) {
    if (!Ready) Ready = gtk_init_check(argc, argv) != FALSE;
    return Ready;
}

bool ToolkitReady() {
    return Ready;
}
