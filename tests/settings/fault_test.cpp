// Settings files under fault: a writer killed at any moment leaves the old
// file or the new one, whole.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "settings/options_file.h"
#include "standin_scenario.h"

namespace {

std::string Read(const std::string& path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

// Writes version 0 or 1 of a settings file into a directory.  Large values
// widen the window in which a write in place would show a torn file.
struct Writer {
    const char* file;
    std::function<void(const std::string& dir, int version)> write;
};

const Writer Writers[] = {
    {"options",
     [](const std::string& dir, int version) {
         VNCViewerParms = std::string(200000, "ab"[version]);
         SaveOptions(dir);
     }},
};

TEST(SettingsUnderFault, KilledWriterLeavesTheOldFileOrTheNewWhole) {
    StandinScenario scenario;
    std::minstd_rand random(9);
    for (const Writer& writer : Writers) {
        const std::string dir = scenario.Home() + "/" + writer.file + "/";
        std::filesystem::create_directory(dir);
        std::string versions[2];
        for (int version : {1, 0}) {  // version 0 is the file at the start
            writer.write(dir, version);
            versions[version] = Read(dir + writer.file);
        }
        ASSERT_NE(versions[0], versions[1]);
        for (int round = 0; round < 100; ++round) {
            const pid_t child = fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                for (int version = 1;; version ^= 1) writer.write(dir, version);
            }
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 6000));
            kill(child, SIGKILL);
            ASSERT_EQ(waitpid(child, nullptr, 0), child);
            const std::string now = Read(dir + writer.file);
            ASSERT_TRUE(now == versions[0] || now == versions[1])
                << writer.file << " torn in round " << round << ": " << now.size() << " bytes";
        }
    }
    VNCViewerParms.clear();
}

}  // namespace
