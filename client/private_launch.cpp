#include "client/private_launch.h"

#include <glib.h>
#include <sys/stat.h>

#include "client/command_runner.h"

namespace {

// Runs in the program's own process, just before it starts.
void PrivateUmask(gpointer) {
    umask(077);
}

}  // namespace

bool LaunchPrivately(const std::string& program, const std::vector<std::string>& arguments) {
    if (!ProgramRunnable(program)) return false;
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    const GSpawnFlags flags = GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_CHILD_INHERITS_STDIN);
    // Without DO_NOT_REAP_CHILD GLib reaps the intermediate child: no zombie.
    return g_spawn_async(nullptr, argv.data(), nullptr, flags, PrivateUmask, nullptr, nullptr,
                         nullptr);
}
