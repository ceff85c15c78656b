// SPDX-License-Identifier: GPL-2.0-or-later
#include "init.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <random>

#include "fileio.h"
#include "networks.h"
#include "paths.h"
#include "state_file.h"

namespace standin {

namespace {

std::string NewIdentity() {
    std::random_device seed;
    std::uniform_int_distribution<int> byte(0, 255);
    return "5." + std::to_string(byte(seed)) + "." + std::to_string(byte(seed)) + "." +
           std::to_string(byte(seed));
}

std::string DefaultNickname() {
    const char* user = std::getenv("USER");
    if (!user || !*user || !NetworkBook::IsStorable(user)) return "anonymous";
    return user;
}

}  // namespace

Outcome RunInit() {
    const std::string dir = ConfigDir();
    const std::string folder = dir.substr(0, dir.size() - 1);
    const std::string failed = "Initializing client configuration .. failed\n";

    // mkdir decides, not an earlier check: two racing inits then agree on
    // which one created the folder.
    if (mkdir(folder.c_str(), 0700) != 0) {
        const int error = errno;
        if (error == EEXIST && IsDirectory(folder)) {
            return {"Configuration directory " + dir + " already exists, nothing changed.\n", "",
                    0};
        }
        return {failed, "hamachi-init: cannot create " + dir + ": " + strerror(error) + "\n", 1};
    }
    chmod(folder.c_str(), 0700);  // whatever the umask

    const std::string identity = NewIdentity();
    const std::string state =
        StateLine("Identity", identity) + "\n" + StateLine("Nickname", DefaultNickname()) + "\n";
    std::string error;
    if (!ReplaceFile(dir + "state", state, &error)) {
        rmdir(folder.c_str());  // so a second attempt starts clean
        return {failed, "hamachi-init: cannot write " + dir + "state: " + error + "\n", 1};
    }
    return {"Generated identity " + identity + ".\nInitializing client configuration in " + dir +
                " .. ok\n",
            "", 0};
}

}  // namespace standin
