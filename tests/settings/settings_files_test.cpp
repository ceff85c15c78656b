// SPDX-License-Identifier: GPL-2.0-or-later
// The bounded file reader, Corvane's options file and the client's config file.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include <gtest/gtest.h>

#include "common/read_file.h"
#include "settings/client_config.h"
#include "settings/options_file.h"
#include "standin_scenario.h"

namespace {

namespace fs = std::filesystem;

void Write(const std::string& path, const std::string& bytes, off_t size = -1) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    if (size >= 0) {
        ASSERT_EQ(ftruncate(fd, size), 0);  // sparse: no blocks behind it
    }
    close(fd);
}

// Only a regular file within the bound is read; nothing else is waited on or read in.
TEST(ReadWholeFileTest, ReadsOnlyRegularFilesWithinTheBound) {
    StandinScenario scenario;
    const std::string at = scenario.Home() + "/file";
    const std::string bound(ReadFileLimit, 'x');
    const std::tuple<const char*, std::function<void()>, std::optional<std::string>> cases[] = {
        {"text", [&] { Write(at, std::string("a\0b\n", 4)); }, std::string("a\0b\n", 4)},
        {"empty", [&] { Write(at, ""); }, ""},
        {"at the bound", [&] { Write(at, bound); }, bound},
        {"missing", [] {}, std::nullopt},
        {"over the bound", [&] { Write(at, bound + "y"); }, std::nullopt},
        {"4 GB sparse", [&] { Write(at, "", off_t{4} << 30); }, std::nullopt},
        {"directory", [&] { mkdir(at.c_str(), 0755); }, std::nullopt},
        {"FIFO", [&] { mkfifo(at.c_str(), 0644); }, std::nullopt},
        {"link to /dev/zero", [&] { fs::create_symlink("/dev/zero", at); }, std::nullopt},
        {"link to a text", [&] { Write(at + "2", "t"); fs::create_symlink("file2", at); }, "t"},
    };
    alarm(10);  // a FIFO would block the open for good
    for (const auto& [name, make, content] : cases) {
        make();
        EXPECT_TRUE(ReadWholeFile(at) == content) << name;  // not printed: up to 1 MiB
        unlink((at + "2").c_str());
        if (unlink(at.c_str()) != 0) rmdir(at.c_str());
    }
    alarm(0);
}

const std::string Defaults =
    "ConfirmEvict = 1\nVNCViewer = vncviewer\nVNCViewerParms = \nGiveControlApp = x11vnc\n"
    "GiveControlParms = -connect\nNotifications = 1\n";

class OptionsFileTest : public testing::Test {
  protected:
    void SetUp() override { dir = scenario.Home() + "/conf/"; fs::create_directory(dir); }
    void TearDown() override { Options = {}; }
    void Write(const std::string& bytes) { std::ofstream(dir + "options", std::ios::binary) << bytes; }
    std::string Read() { return ReadWholeFile(dir + "options").value_or(""); }
    // The five settings as one line, to compare whole.
    static std::string Held() {
        return std::to_string(Options.ConfirmEvict) + "|" + Options.VNCViewer + "|" +
               Options.VNCViewerParms + "|" + Options.GiveControlApp + "|" +
               Options.GiveControlParms + "|" + std::to_string(Options.Notifications);
    }

    StandinScenario scenario;
    std::string dir;
};

TEST_F(OptionsFileTest, HandEditedFilesAreReadForgivingly) {
    const std::pair<const char*, const char*> cases[] = {
        {"confirmevict=0\n", "0|vncviewer||x11vnc|-connect|1"},
        {"ConfirmEvict = yes\n", "0|vncviewer||x11vnc|-connect|1"},
        {"ConfirmEvict = 257\n", "1|vncviewer||x11vnc|-connect|1"},
        {"ConfirmEvict = 256\n", "0|vncviewer||x11vnc|-connect|1"},
        {"ConfirmEvict = 2\n", "2|vncviewer||x11vnc|-connect|1"},
        {"ConfirmEvict = -1x\n", "-1|vncviewer||x11vnc|-connect|1"},
        {"ConfirmEvict =\n", "0|vncviewer||x11vnc|-connect|1"},  // empty, not the default
        {"VNCViewer = tight   \nGiveControlParms = -a=b\n", "1|tight||x11vnc|-a=b|1"},
        {"[main]\nVNCViewer = hidden\n", "1|vncviewer||x11vnc|-connect|1"},
        {"VNCViewer = first\nvncviewer = second\n", "1|first||x11vnc|-connect|1"},
        {"VNCViewerParms\nGiveControlApp = srv\n", "1|vncviewer||srv|-connect|1"},
        {"VNCViewerParms = -x\r\n\r\n\tGiveControlApp\t= srv\r\n", "1|vncviewer|-x|srv|-connect|1"},
        {"\xEF\xBB\xBFVNCViewer = vi\xC3\xA9w\n", "1|vi\xE9w||x11vnc|-connect|1"},
        {"\xEF\xBB\xBFVNCViewer = \xE2\x82\xAC\n", "1|||x11vnc|-connect|1"},  // not Latin-1
        {"VNCViewer = vi\xE9w\n", "1|vi\xE9w||x11vnc|-connect|1"},
        {"; VNCViewer = commented\n  ;x\n", "1|vncviewer||x11vnc|-connect|1"},
        {"= empty key\nGiveControlApp=\n", "1|vncviewer|||-connect|1"},
        {"notifications = 0\n", "1|vncviewer||x11vnc|-connect|0"},
    };
    for (const auto& [file, held] : cases) {
        Write(file);
        LoadOptions(dir);
        EXPECT_EQ(Held(), held) << file;
        EXPECT_EQ(Read(), file) << "an existing file is not rewritten at start";
    }
}

// The first start writes the defaults; saving replaces the file whole.
TEST_F(OptionsFileTest, FirstStartWritesTheDefaultsAndSavingKeepsTheMode) {
    LoadOptions(dir);
    EXPECT_EQ(Held(), "1|vncviewer||x11vnc|-connect|1");
    EXPECT_EQ(Read(), Defaults);
    Write("\xEF\xBB\xBF; mine\r\nVNCViewer = v\r\nOther = kept?\r\n");
    chmod((dir + "options").c_str(), 0640);
    LoadOptions(dir);
    Options.ConfirmEvict = 0;
    SaveOptions(dir);
    EXPECT_EQ(Read(), "ConfirmEvict = 0\nVNCViewer = v\nVNCViewerParms = \nGiveControlApp = x11vnc\n"
                      "GiveControlParms = -connect\nNotifications = 1\n");
    struct stat info {};
    ASSERT_EQ(stat((dir + "options").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1) << "no temporary file left";
}

// Each key's value as read, "-" where no line mentions it.
std::string Read(const std::string& text) {
    std::string shown;
    for (const auto& value : ParseClientConfig(text)) shown += (value ? *value : "-") + "|";
    return shown;
}

TEST(ClientConfigTest, ReadsFromTheColumnAfterTheKeyAnywhereOnALine) {
    const std::pair<std::string, const char*> cases[] = {
        {"KeepAlive 30\nTxRate 0\nRxRate 2048\n", "30|0|2048|"},
        {"", "-|-|-|"},
        {"KeepAlive\n", "|-|-|"},
        {"KeepAlive 30s", "30s|-|-|"},  // the digits-only field drops the letter
        {"# KeepAlive in seconds\n", "e in seconds|-|-|"},
        {"KeepAlive 1\r\nRxRate  7 \r\rKeepAlive 2", "2|-|7|"},
        {std::string("TxRate 5\0RxRate 6", 17), "-|5|6|"},
    };
    for (const auto& [text, values] : cases) EXPECT_EQ(Read(text), values) << text;
}

TEST(ClientConfigTest, MergeReplacesItsOwnLinesAndKeepsTheRest) {
    const std::tuple<const char*, ClientConfigFields, const char*> cases[] = {
        {"KeepAlive 30\nTxRate 0\nRxRate 2048\n", {"30", "0", "2048"},
         "KeepAlive 30\nRxRate 2048\n"},
        {"", {"90", "0", "0"}, "KeepAlive 90\n"},
        {"KeepAlive\n", {"", "00", "0"}, "KeepAlive \nTxRate 00\n"},
        {"# KeepAlive note\r\nFoo bar\r\nRxRate 1\r\n\tKeepAlive 5\r\nRxRate 2\r\n"
         "KeepAliveX 3\rlast", {"30", "7", "0"}, "Foo bar\nKeepAlive 30\nlast\nTxRate 7\n"},
    };
    for (const auto& [old, fields, merged] : cases)
        EXPECT_EQ(MergeClientConfig(old, fields), merged);
}

// The merged text reads back as the fields ("0" as not set), whatever the kept lines hold.
TEST(ClientConfigTest, MergedTextReadsBackAsTheFields) {
    const std::string files[] = {
        "KeepAlive 30\n# KeepAlive was 60 before\n",
        "# TxRate 100 was too slow\nTxRate 5\nRxRate 9\n",
        "MyKeepAlive 7\nRxRateLimit 3\nOldTxRate\n",
        "KeepAlive 30\r\n# KeepAlive 60\r\nCustom 1\r\n",
        std::string("Custom 1\0KeepAlive 60\nRxRate 3\0TxRate 4\n", 38),
    };
    const ClientConfigFields fieldSets[] = {{"45", "0", "2048"}, {"0", "7", "0"}, {"", "00", "0"}};
    for (const std::string& file : files) {
        for (const ClientConfigFields& fields : fieldSets) {
            const ClientConfigValues values = ParseClientConfig(MergeClientConfig(file, fields));
            for (int k = 0; k < ClientConfigKeys; ++k) {
                const auto written = fields[k] == "0" ? std::nullopt : std::optional(fields[k]);
                EXPECT_EQ(values[k], written) << file << "\nfield " << k << ": " << fields[k];
            }
        }
    }
}

}  // namespace
