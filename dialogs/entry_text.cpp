// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/entry_text.h"

#include "toolkit/toolkit.h"

std::optional<std::string> EntryForClient(int gadget) {
    std::optional<std::string> text = EntryLatin9Text(gadget);
    if (!text) {
        MessageOk("Hamachi",
                  "The text holds a character that cannot be sent to Hamachi: only the "
                  "letters and signs of ISO-8859-15 can.");
    }
    return text;
}
