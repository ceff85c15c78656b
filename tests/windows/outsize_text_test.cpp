// SPDX-License-Identifier: GPL-2.0-or-later
// Outsize texts: GTK draws and measures the first ShownChars characters, the program reads all.
#include "client/client_state.h"
#include "dialogs/status_window.h"
#include "mainwindow/main_window.h"
#include "mainwindow/roster_view.h"
#include "mainwindow/watchdog.h"
#include "window_test.h"

namespace {

constexpr size_t MiB = 1 << 20;
const std::string Euro = "\xA4";  // in the client's 8-bit set

// The UTF-8 of the first ShownChars characters of a text of ASCII and euros.
std::string ShownPart(const std::string& text) {
    std::string utf8;
    for (char c : text.substr(0, ShownChars))
        utf8 += c == Euro[0] ? "\xE2\x82\xAC" : std::string(1, c);
    return utf8;
}

// Compares without printing megabytes.
testing::AssertionResult Same(const std::string& got, const std::string& wanted) {
    if (got == wanted) return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << got.size() << " bytes where " << wanted.size() << " were wanted";
}

class OutsizeTextTest : public WindowTest {};

// A 1 MiB name changing, and a 10 MiB one; actions take the network name from the row's text.
TEST_F(OutsizeTextTest, NetworkNames) {
    ASSERT_TRUE(OpenMainWindow());
    for (const std::string& name : {std::string(MiB, 'a'), std::string(MiB, 'b'),
                                    std::string(MiB, Euro[0]), "x" + std::string(10 * MiB, 'n')}) {
        runner.Answer("hamachi list", " * [" + name + "]\n");
        UpdateRoster();
        ASSERT_EQ(TreeRowCount(GadgetRoster), 1);
        EXPECT_TRUE(Same(TreeRowAppearance(GadgetRoster, 0).shown, ShownPart("[" + name)));
        TreeSelectRow(GadgetRoster, 0);
        EXPECT_TRUE(Same(NetworkName(SelectedRowText()), name));
    }
    // Measured as drawn: the column covers the shown part and no more.
    const int shown = TreeTextWidth(GadgetRoster, "[x" + std::string(ShownChars, 'n'));
    EXPECT_EQ(TreeTextWidth(GadgetRoster, "[x" + std::string(10 * MiB, 'n') + "]"), shown);
    EXPECT_GE(TreeColumnWidth(GadgetRoster), shown);
    EXPECT_LT(TreeColumnWidth(GadgetRoster), shown + 80);
}

// The identity, status and version lines, each as the program reads it.
TEST_F(OutsizeTextTest, IdentityStatusAndVersionLines) {
    const std::string identity(MiB / 2, '5');  // within the state file reader's bound
    const std::string status(10 * MiB, 's'), version = Euro + std::string(10 * MiB, '9');
    scenario.Configure(identity, "nick");
    runner.Answer("hamachi", "version  : " + version + "\nstatus   : " + status + "\n");
    ASSERT_TRUE(OpenMainWindow());
    RefreshClientState();
    RunWatchdog();  // logged out: shows the status line
    OpenStatusWindow(MainWindow);
    for (const auto& [gadget, text] : {std::pair<int, std::string>{GadgetIdentity, identity},
                                       {GadgetStatus, status},
                                       {GadgetVersion, version},
                                       {GadgetAddress, identity}}) {
        EXPECT_TRUE(Same(GadgetShownText(gadget), ShownPart(text))) << gadget;
        EXPECT_TRUE(Same(GadgetText(gadget), text)) << gadget;
    }
}

}  // namespace
