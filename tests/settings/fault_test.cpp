// SPDX-License-Identifier: GPL-2.0-or-later
// A settings writer killed at any moment leaves the old file or the new one whole.
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <set>
#include <thread>

#include <gtest/gtest.h>

#include "common/pending_file.h"
#include "common/read_file.h"
#include "settings/client_config.h"
#include "settings/options_file.h"
#include "standin_scenario.h"

namespace {

namespace fs = std::filesystem;

// Each writes version 0 or 1 of a file; large values widen the moment a write in place tears.
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

// Without /proc no file is linked in from nowhere: the writer names its temporary file.
bool HideProc() {
    return unshare(CLONE_NEWNS) == 0 &&
           mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           mount("none", "/proc", "tmpfs", 0, nullptr) == 0;
}

// Whether `run` holds in a child process of its own.
bool InChild(const std::function<bool()>& run) {
    const pid_t child = fork();
    if (child == 0) _exit(run() ? 0 : 1);
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

std::set<std::string> Others(const std::string& dir, const std::string& file) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().filename() != file) names.insert(entry.path().filename());
    }
    return names;
}

TEST(SettingsUnderFault, KilledWriterLeavesTheOldFileOrTheNewWholeAndNoTemporaryFile) {
    StandinScenario scenario;
    std::minstd_rand random(9);
    const bool canHide = InChild(HideProc);
    for (const bool hideProc : {false, true}) {
        if (hideProc && !canHide) continue;  // named temporary files are not tried
        for (const auto& [file, write] : Writers) {
            const std::string dir =
                scenario.Home() + "/" + file + (hideProc ? "-without-proc/" : "/");
            fs::create_directory(dir);
            std::string versions[2];
            for (int version : {1, 0}) {  // version 0 stands at the start
                write(dir, version);
                versions[version] = ReadWholeFile(dir + file).value_or("");
            }
            for (int round = 0; round < 50; ++round) {
                const pid_t child = fork();
                ASSERT_GE(child, 0);
                if (child == 0) {
                    if (hideProc && !HideProc()) _exit(1);
                    for (int version = 1;; version ^= 1) write(dir, version);
                }
                std::this_thread::sleep_for(std::chrono::microseconds(random() % 6000));
                kill(child, SIGKILL);
                ASSERT_EQ(waitpid(child, nullptr, 0), child);
                const std::string now = ReadWholeFile(dir + file).value_or("missing");
                ASSERT_TRUE(now == versions[0] || now == versions[1])
                    << file << ", round " << round;
            }
            write(dir, 0);  // what the kills left goes
            EXPECT_EQ(Others(dir, file), std::set<std::string>{}) << file;
        }
    }
    Options = {};
}

// A writer cleaning up leftovers must not take another writer's named file away.
TEST(SettingsUnderFault, AWriterKeepsItsNamedFileFromAnotherWritersCleaning) {
    if (!InChild(HideProc)) GTEST_SKIP() << "no mount namespace";
    StandinScenario scenario;
    const std::string dir = scenario.Home() + "/";
    EXPECT_TRUE(InChild([&] {
        if (!HideProc()) return false;
        std::optional<PendingFile> first = PendingFile::Create(dir, 0644);
        std::optional<PendingFile> second = PendingFile::Create(dir, 0644);
        return first && second && first->Publish(dir + "first") && second->Publish(dir + "second");
    }));
    EXPECT_EQ(Others(dir, ""), (std::set<std::string>{"bin", "first", "second"}));
}

}  // namespace
