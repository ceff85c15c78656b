// SPDX-License-Identifier: GPL-2.0-or-later
#include "paths.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace standin {

namespace {

std::string NonEmptyEnv(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string WithSlash(std::string dir) {
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

std::string InHome(const std::string& name) {
    const std::string home = HomeDir();
    return WithSlash(home == "/" ? "/" + name : home + "/" + name);
}

}  // namespace

std::string HomeDir() {
    std::string home = NonEmptyEnv("HOME");
    if (home.empty()) return getuid() == 0 ? "/root" : "/";
    while (home.size() > 1 && home.back() == '/') home.pop_back();
    return home;
}

std::string ConfigDir() {
    return InHome(".hamachi");
}

std::string ControlDir() {
    std::string dir = NonEmptyEnv("HAMACHI_STANDIN_DIR");
    if (dir.empty()) dir = InHome(".hamachi-standin");
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(dir, error);
    if (!error) dir = absolute.string();
    return WithSlash(dir);
}

}  // namespace standin
