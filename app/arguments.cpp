// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/arguments.h"

#include <vector>

const char* const Usage =
    "usage: corvane [-c DIR] [--hidden]\n"
    "A desktop front-end to the hamachi VPN client, in the notification area.\n"
    "\n"
    "  -c DIR     the client's configuration directory (default: ~/.hamachi/)\n"
    "  --hidden   start with the window hidden behind the tray icon\n"
    "  --help     print this help and exit\n"
    "  --version  print the version and exit\n"
    "\n"
    "GTK's own options, such as --display, are accepted as well.\n";

Arguments ReadArguments(int argc, char** argv) {
    Arguments read;
    std::vector<std::string> rest;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool directory = rest.size() == 1 && rest[0] == "-c";
        if (!directory && argument == "--hidden") {
            read.hidden = true;
            continue;
        }
        if (!directory && read.request == Arguments::Run) {
            if (argument == "--help") read.request = Arguments::Help;
            if (argument == "--version") read.request = Arguments::Version;
        }
        rest.push_back(argument);
    }
    if (read.request == Arguments::Run && rest.size() >= 2 && rest[0] == "-c") {
        // An empty directory would make it "/": the options written there,
        // the whole file system archived by a backup.
        if (rest[1].empty()) return {Arguments::Refused, "", read.hidden};
        read.configDir = rest[1];
        if (read.configDir.back() != '/') read.configDir += '/';
    }
    return read;
}
