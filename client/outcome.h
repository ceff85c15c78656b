// SPDX-License-Identifier: GPL-2.0-or-later
// What an action on the client came to, for the window to show.
#pragma once

#include <optional>
#include <string>

// An information box: a title and a text.
struct Message {
    std::string title;
    std::string text;
    bool operator==(const Message&) const = default;
};

struct Outcome {
    std::optional<Message> message;  // what to tell the user, if anything
    bool done = false;               // the client did it: refresh (and close a dialog)
    bool operator==(const Outcome&) const = default;
};

// A command that could not be started at all is a failure, never an empty
// success.
inline Message NotRunMessage() {
    return {"Hamachi Error", "The hamachi command could not be run."};
}
