// SPDX-License-Identifier: GPL-2.0-or-later
#include "client/identity_backup.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "client/shell.h"
#include "common/read_file.h"
#include "core_test.h"
#include "standin_scenario.h"

namespace {

namespace fs = std::filesystem;

class BackupTest : public CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        scenario.Configure("5.1.2.3", "me");
        Client.ConfigDir = scenario.ConfigDir();
        dir = scenario.Home() + "/out/";
        fs::create_directory(dir);
    }
    StandinScenario scenario;
    std::string dir;
};

TEST_F(BackupTest, ProposedPathAndWhatIsAtTheTarget) {
    Client.Identity = "090-1";
    EXPECT_EQ(DefaultBackupPath(), scenario.Home() + "/Hamachi_090-1_backup.tar");
    std::ofstream(dir + "empty").close();
    std::ofstream(dir + "full") << "old";
    fs::create_directory(dir + "folder");
    fs::create_symlink(dir + "nowhere", dir + "dangling");
    fs::create_symlink(dir + "full", dir + "link");
    mkfifo((dir + "fifo").c_str(), 0666);
    std::ofstream(dir + "theirs").close();
    // Only root can give a file away: anyone else sees it as their own.
    const bool given = chown((dir + "theirs").c_str(), 65534, 65534) == 0;
    const std::pair<const char*, BackupTarget> cases[] = {
        {"new", BackupTarget::Absent},       {"empty", BackupTarget::Empty},
        {"full", BackupTarget::HasContent},  {"folder", BackupTarget::Refused},
        {"dangling", BackupTarget::Refused}, {"link", BackupTarget::Refused},
        {"fifo", BackupTarget::Refused},
        {"theirs", given ? BackupTarget::Refused : BackupTarget::Empty},
    };
    for (const auto& [name, target] : cases) {
        EXPECT_EQ(InspectBackupTarget(dir + name), target) << name;
    }
}

// The archive replaces the target whole and private; a failed tar leaves it and says so.
TEST_F(BackupTest, ArchiveReplacesTheTargetOnlyOnceTarSucceeded) {
    const std::string target = dir + "id backup.tar";
    std::ofstream(target) << "old";
    chmod(target.c_str(), 0644);
    EXPECT_EQ(WriteBackup(target), std::nullopt);
    struct stat info {};
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    const std::string listing = ShellRunner().Run("tar tf '" + target + "'").text;
    EXPECT_NE(listing.find("/.hamachi/state\n"), std::string::npos) << listing;

    scenario.AddProgram("tar", "#!/bin/sh\necho partial\nexit 2\n");
    const std::string before = ReadWholeFile(target).value_or("");
    EXPECT_EQ(WriteBackup(target),
              (Message{"Hamachi Error", "The identity backup could not be written to " + target + "."}));
    EXPECT_EQ(ReadWholeFile(target), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1) << "nothing left beside it";
}

}  // namespace
