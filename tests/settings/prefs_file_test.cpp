// SPDX-License-Identifier: GPL-2.0-or-later
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "settings/options_file.h"
#include "standin_scenario.h"

namespace {

namespace fs = std::filesystem;

const std::string Defaults =
    "ConfirmEvict = 1\nVNCViewer = vncviewer\nVNCViewerParms = \nGiveControlApp = x11vnc\n"
    "GiveControlParms = -connect\n";

class OptionsFileTest : public testing::Test {
  protected:
    void SetUp() override { dir = scenario.Home() + "/conf/"; fs::create_directory(dir); }
    void TearDown() override {
        ConfirmEvict = 1;
        VNCViewer = "vncviewer";
        VNCViewerParms.clear();
        GiveControlApp = "x11vnc";
        GiveControlParms = "-connect";
    }
    void Write(const std::string& bytes) { std::ofstream(dir + "options", std::ios::binary) << bytes; }
    std::string Read() {
        std::ostringstream bytes;
        bytes << std::ifstream(dir + "options", std::ios::binary).rdbuf();
        return bytes.str();
    }
    // The five settings as one line, to compare whole.
    static std::string Held() {
        return std::to_string(ConfirmEvict) + "|" + VNCViewer + "|" + VNCViewerParms + "|" +
               GiveControlApp + "|" + GiveControlParms;
    }

    StandinScenario scenario;
    std::string dir;
};

TEST_F(OptionsFileTest, FirstStartWritesTheDefaults) {
    LoadOptions(dir);
    EXPECT_EQ(Held(), "1|vncviewer||x11vnc|-connect");
    EXPECT_EQ(Read(), Defaults);
}

TEST_F(OptionsFileTest, HandEditedFilesAreReadForgivingly) {
    const std::pair<const char*, const char*> cases[] = {
        {"confirmevict=0\n", "0|vncviewer||x11vnc|-connect"},
        {"ConfirmEvict = yes\n", "0|vncviewer||x11vnc|-connect"},
        {"ConfirmEvict = 257\n", "1|vncviewer||x11vnc|-connect"},
        {"ConfirmEvict = 256\n", "0|vncviewer||x11vnc|-connect"},
        {"ConfirmEvict = 2\n", "2|vncviewer||x11vnc|-connect"},
        {"ConfirmEvict = -1x\n", "-1|vncviewer||x11vnc|-connect"},
        {"ConfirmEvict =\n", "0|vncviewer||x11vnc|-connect"},  // empty, not the default
        {"VNCViewer = tight   \nGiveControlParms = -a=b\n", "1|tight||x11vnc|-a=b"},
        {"[main]\nVNCViewer = hidden\n", "1|vncviewer||x11vnc|-connect"},
        {"VNCViewer = first\nvncviewer = second\n", "1|first||x11vnc|-connect"},
        {"VNCViewerParms\nGiveControlApp = srv\n", "1|vncviewer||srv|-connect"},
        {"VNCViewerParms = -x\r\n\r\n\tGiveControlApp\t= srv\r\n", "1|vncviewer|-x|srv|-connect"},
        {"\xEF\xBB\xBFVNCViewer = vi\xC3\xA9w\n", "1|vi\xE9w||x11vnc|-connect"},
        {"\xEF\xBB\xBFVNCViewer = \xE2\x82\xAC\n", "1|||x11vnc|-connect"},  // not Latin-1
        {"VNCViewer = vi\xE9w\n", "1|vi\xE9w||x11vnc|-connect"},
        {"; VNCViewer = commented\n  ;x\n", "1|vncviewer||x11vnc|-connect"},
        {"= empty key\nGiveControlApp=\n", "1|vncviewer|||-connect"},
    };
    for (const auto& [file, held] : cases) {
        Write(file);
        LoadOptions(dir);
        EXPECT_EQ(Held(), held) << file;
        EXPECT_EQ(Read(), file) << "an existing file is not rewritten at start";
    }
}

TEST_F(OptionsFileTest, ADirectoryOfThatNameGivesDefaultsAndStays) {
    fs::create_directory(dir + "options");
    LoadOptions(dir);
    EXPECT_EQ(Held(), "1|vncviewer||x11vnc|-connect");
    EXPECT_TRUE(fs::is_directory(dir + "options"));
}

TEST_F(OptionsFileTest, SavingReplacesTheFileWholeAndKeepsItsMode) {
    Write("\xEF\xBB\xBF; mine\r\nVNCViewer = v\r\nOther = kept?\r\n");
    chmod((dir + "options").c_str(), 0640);
    LoadOptions(dir);
    ConfirmEvict = 0;
    SaveOptions(dir);
    EXPECT_EQ(Read(), "ConfirmEvict = 0\nVNCViewer = v\nVNCViewerParms = \nGiveControlApp = x11vnc\n"
                      "GiveControlParms = -connect\n");
    struct stat info {};
    ASSERT_EQ(stat((dir + "options").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1) << "no temporary file left";
}

}  // namespace
