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

}  // namespace
