// SPDX-License-Identifier: GPL-2.0-or-later
// Settings files under fault: a writer killed at any moment leaves the old
// file or the new one, whole.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <thread>

#include <gtest/gtest.h>

#include "common/read_file.h"
#include "settings/client_config.h"
#include "settings/options_file.h"
#include "standin_scenario.h"

namespace {

// Each writes version 0 or 1 of one file into a directory; large values widen
// the moment in which a write in place would leave a torn file.
const std::pair<const char*, std::function<void(const std::string&, int)>> Writers[] = {
    {"options",
     [](const std::string& dir, int version) {
         Options.VNCViewerParms = std::string(200000, "ab"[version]);
         SaveOptions(dir);
     }},
    {"config",
     [](const std::string& dir, int version) {
         SaveClientConfig(dir, {std::string(200000, "12"[version]), "0", "0"});
     }},
};

TEST(SettingsUnderFault, KilledWriterLeavesTheOldFileOrTheNewWhole) {
    StandinScenario scenario;
    std::minstd_rand random(9);
    for (const auto& [file, write] : Writers) {
        const std::string dir = scenario.Home() + "/";
        std::string versions[2];
        for (int version : {1, 0}) {  // version 0 stands at the start
            write(dir, version);
            versions[version] = ReadWholeFile(dir + file).value_or("");
        }
        for (int round = 0; round < 100; ++round) {
            const pid_t child = fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                for (int version = 1;; version ^= 1) write(dir, version);
            }
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 6000));
            kill(child, SIGKILL);
            ASSERT_EQ(waitpid(child, nullptr, 0), child);
            const std::string now = ReadWholeFile(dir + file).value_or("missing");
            ASSERT_TRUE(now == versions[0] || now == versions[1]) << file << ", round " << round;
        }
    }
    Options = {};
}

}  // namespace
