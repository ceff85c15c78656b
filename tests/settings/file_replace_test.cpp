// SPDX-License-Identifier: GPL-2.0-or-later
#include "settings/file_replace.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include <gtest/gtest.h>

#include "common/read_file.h"
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

// Owner, group and permissions.
std::tuple<uid_t, gid_t, mode_t> Who(const std::string& path) {
    struct stat info {};
    lstat(path.c_str(), &info);
    return {info.st_uid, info.st_gid, info.st_mode & 07777};
}

std::set<std::string> Names(const std::string& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename());
    return names;
}

// Each case has a folder of the user's, conf/, with the file to write, and
// another of theirs, elsewhere/.
struct Case {
    const char* name;
    Writer writer;
    std::function<void(const std::string& conf, const std::string& elsewhere)> make;
    bool replaced;
    std::function<void(const std::string& conf, const std::string& elsewhere)> check;
};

TEST(ReplaceFileTest, LinksModesOwnersAndOddFiles) {
    using S = const std::string&;
    const Case cases[] = {
        {"a link is followed and stays", Writer::User,
         [](S conf, S elsewhere) {
             Put(elsewhere + "real", "old");
             symlink("../elsewhere/real", (conf + "options").c_str());
             EXPECT_EQ(lchown((conf + "options").c_str(), User, Group), 0);
         },
         true,
         [](S conf, S elsewhere) {
             EXPECT_EQ(fs::read_symlink(conf + "options"), "../elsewhere/real");
             EXPECT_EQ(ReadWholeFile(elsewhere + "real"), "new\n");
             EXPECT_EQ(Names(conf), std::set<std::string>{"options"});
             EXPECT_EQ(Names(elsewhere), std::set<std::string>{"real"});
         }},
        {"read-only", Writer::User, [](S conf, S) { Put(conf + "options", "old", 0444); }, false,
         [](S conf, S) {
             EXPECT_EQ(ReadWholeFile(conf + "options"), "old");
             EXPECT_EQ(Who(conf + "options"), std::make_tuple(User, Group, 0444));
         }},
        {"mode 000", Writer::User, [](S conf, S) { Put(conf + "options", "old", 0); }, false,
         [](S conf, S) { EXPECT_EQ(Who(conf + "options"), std::make_tuple(User, Group, 0)); }},
        {"root keeps the user's owner, group and mode", Writer::Root,
         [](S conf, S) { Put(conf + "options", "old", 0640); }, true,
         [](S conf, S) {
             EXPECT_EQ(ReadWholeFile(conf + "options"), "new\n");
             EXPECT_EQ(Who(conf + "options"), std::make_tuple(User, Group, 0640));
         }},
        {"root makes a new file the folder owner's", Writer::Root, [](S, S) {}, true,
         [](S conf, S) { EXPECT_EQ(Who(conf + "options"), std::make_tuple(User, Group, 0644)); }},
        {"a directory", Writer::User, [](S conf, S) { mkdir((conf + "options").c_str(), 0777); },
         false, [](S conf, S) { EXPECT_TRUE(fs::is_directory(conf + "options")); }},
        {"a FIFO", Writer::User, [](S conf, S) { mkfifo((conf + "options").c_str(), 0666); },
         false, [](S conf, S) { EXPECT_TRUE(fs::is_fifo(conf + "options")); }},
        {"a user's link does not lead root onto root's file", Writer::Root,
         [](S conf, S elsewhere) {
             EXPECT_EQ(chown(elsewhere.c_str(), 0, 0), 0);
             Put(elsewhere + "real", "old", 0644, 0);
             symlink((elsewhere + "real").c_str(), (conf + "options").c_str());
             EXPECT_EQ(lchown((conf + "options").c_str(), User, Group), 0);
         },
         false, [](S, S elsewhere) { EXPECT_EQ(ReadWholeFile(elsewhere + "real"), "old"); }},
        {"an earlier writer's leftover goes", Writer::User,
         [](S conf, S) {
             Put(conf + ".options.Ab12Cd", "x");
             Put(conf + ".options.kept", "y");
         },
         true,
         [](S conf, S) {
             EXPECT_EQ(Names(conf), (std::set<std::string>{".options.kept", "options"}));
         }},
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
        for (const std::string& dir : {base, conf, elsewhere}) {
            ASSERT_EQ(mkdir(dir.c_str(), 0755) | chown(dir.c_str(), User, Group), 0);
        }
        c.make(conf, elsewhere);
        EXPECT_EQ(ReplaceAs(c.writer, conf + "options"), c.replaced);
        c.check(conf, elsewhere);
    }
    umask(mask);
}

}  // namespace
