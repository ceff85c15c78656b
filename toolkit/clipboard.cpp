// SPDX-License-Identifier: GPL-2.0-or-later
#include "toolkit/internal.h"

void CopyToClipboard(const std::string& text) {
    if (!ToolkitReady()) return;
    const std::string utf8 = Latin9ToUtf8(text);
    gtk_clipboard_set_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), utf8.data(),
                           static_cast<gint>(utf8.size()));
}
