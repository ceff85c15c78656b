// SPDX-License-Identifier: GPL-2.0-or-later
// Files replaced whole: settings files through links, modes, owners and odd files, and by
// writers killed at any moment; the identity backup, private and only once tar succeeded.
#include "settings/file_replace.h"

#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <set>
#include <thread>

#include "client/identity_backup.h"
#include "client/shell.h"
#include "common/pending_file.h"
#include "common/read_file.h"
#include "core_test.h"
#include "settings/client_config.h"
#include "settings/options_file.h"
#include "standin_scenario.h"

namespace {

namespace fs = std::filesystem;

// Root writes anywhere, so refusals are tried as an ordinary user.
const bool IsRoot = geteuid() == 0;
const uid_t User = IsRoot ? 65534 : geteuid();
const gid_t Group = IsRoot ? 65534 : getegid();

enum class Writer { User, Root };

// ReplaceFile run as `writer`; true when it replaced.
bool ReplaceAs(Writer writer, const std::string& path) {
    const pid_t child = fork();
    if (child == 0) {
        alarm(10);  // nothing at the name may block the writer
        if (writer == Writer::User && IsRoot && (setgid(Group) != 0 || setuid(User) != 0)) _exit(2);
        _exit(ReplaceFile(path, "new\n") ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) <= 1) << "the writer did not finish";
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void Put(const std::string& path, const std::string& bytes, mode_t mode = 0644, uid_t uid = User) {
    std::ofstream(path) << bytes;
    EXPECT_EQ(chmod(path.c_str(), mode) | chown(path.c_str(), uid, uid == User ? Group : 0), 0);
}

// Everything in both folders of a case.
std::set<std::string> Names(const std::string& conf, const std::string& elsewhere) {
    std::set<std::string> names;
    for (const std::string& dir : {conf, elsewhere}) {
        for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path());
    }
    return names;
}

// Each case has a folder of the user's, conf/, holding the name, and another's, elsewhere/.
struct Case {
    const char* name;
    Writer writer;
    std::function<void(const std::string& conf, const std::string& elsewhere)> make;
    bool replaced;
    std::tuple<uid_t, gid_t, mode_t> after;  // of what the name leads to
};

TEST(ReplaceFileTest, LinksModesOwnersAndOddFiles) {
    using S = const std::string&;
    auto link = [](S to, S at, uid_t uid) {
        EXPECT_EQ(symlink(to.c_str(), at.c_str()) | lchown(at.c_str(), uid, Group), 0);
    };
    auto own = [](S at, int made, mode_t mode) {
        EXPECT_EQ(made | chmod(at.c_str(), mode) | chown(at.c_str(), User, Group), 0);
    };
    const Case cases[] = {
        {"a link is followed and stays", Writer::User,
         [&](S conf, S elsewhere) {
             Put(elsewhere + "real", "old");
             link("../elsewhere/real", conf + "options", User);
         },
         true, {User, Group, 0644}},
        {"read-only", Writer::User, [](S conf, S) { Put(conf + "options", "old", 0444); }, false,
         {User, Group, 0444}},
        {"mode 000", Writer::User, [](S conf, S) { Put(conf + "options", "old", 0); }, false,
         {User, Group, 0}},
        {"root keeps the user's owner, group and mode", Writer::Root,
         [](S conf, S) { Put(conf + "options", "old", 0640); }, true, {User, Group, 0640}},
        {"root makes a new file the folder owner's", Writer::Root, [](S, S) {}, true,
         {User, Group, 0644}},
        {"a directory", Writer::User,
         [&](S conf, S) { own(conf + "options", mkdir((conf + "options").c_str(), 0), 0777); },
         false, {User, Group, 0777}},
        {"a FIFO", Writer::User,
         [&](S conf, S) { own(conf + "options", mkfifo((conf + "options").c_str(), 0), 0666); },
         false, {User, Group, 0666}},
        {"a user's link does not lead root onto root's file", Writer::Root,
         [&](S conf, S elsewhere) {
             EXPECT_EQ(chown(elsewhere.c_str(), 0, 0), 0);
             Put(elsewhere + "real", "old", 0644, 0);
             link(elsewhere + "real", conf + "options", User);
         },
         false, {0, 0, 0644}},
        {"an earlier writer's leftover goes", Writer::User,
         [](S conf, S) {
             Put(conf + ".options.Ab12Cd", "x");
             Put(conf + ".options.kept", "y");
         },
         true, {User, Group, 0644}},
    };
    StandinScenario scenario;
    chmod(scenario.Home().c_str(), 0755);
    const mode_t mask = umask(022);
    int number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.writer == Writer::Root && !IsRoot) continue;
        const std::string base = scenario.Home() + "/" + std::to_string(++number) + "/";
        const std::string conf = base + "conf/", elsewhere = base + "elsewhere/";
        const std::string path = conf + "options";
        for (const std::string& dir : {base, conf, elsewhere}) {
            ASSERT_EQ(mkdir(dir.c_str(), 0755) | chown(dir.c_str(), User, Group), 0);
        }
        c.make(conf, elsewhere);
        const std::optional<std::string> before = ReadWholeFile(path);
        const bool linked = fs::is_symlink(path);
        // Nothing else appears or stays behind, but the file where there was none.
        std::set<std::string> names = Names(conf, elsewhere);
        names.insert(path);
        names.erase(conf + ".options.Ab12Cd");

        EXPECT_EQ(ReplaceAs(c.writer, path), c.replaced);
        EXPECT_EQ(ReadWholeFile(path), c.replaced ? "new\n" : before);
        EXPECT_EQ(fs::is_symlink(path), linked);
        struct stat info {};
        stat(path.c_str(), &info);
        EXPECT_EQ(std::make_tuple(info.st_uid, info.st_gid, info.st_mode & 07777), c.after);
        EXPECT_EQ(Names(conf, elsewhere), names);
    }
    umask(mask);
}

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
