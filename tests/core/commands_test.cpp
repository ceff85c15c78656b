// SPDX-License-Identifier: GPL-2.0-or-later
// The client's commands as the core runs them, and what each answer comes to.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "client/member_programs.h"
#include "client/network_commands.h"
#include "core_test.h"
#include "standin_scenario.h"

namespace {

using Texts = std::vector<std::string>;

class CommandsTest : public CoreTest {};

TEST_F(CommandsTest, NetworkCommandsAndWhatTheAnswerComesTo) {
    const Message notRun = NotRunMessage();
    const Outcome done{std::nullopt, true}, nothing{};
    struct Case {
        std::function<Outcome()> call;
        std::string line;
        const char* answer;  // nullptr: the command cannot be run
        Outcome outcome;
    };
    const auto create = [](const char* name, const char* password) {
        return [=] { return SubmitNetwork(NetworkRequest::Create, name, password); };
    };
    const auto join = [](const char* name, const char* password) {
        return [=] { return SubmitNetwork(NetworkRequest::Join, name, password); };
    };
    // clang-format off
    const Case cases[] = {
        {[] { return SetNetworkOnline("it's", true); }, "hamachi go-online 'it'\\''s'", "", nothing},
        {[] { return SetNetworkOnline("", false); }, "hamachi go-offline ''",
         "x\nGoing offline .. failed\n", {Message{"Hamachi", "x\nGoing offline .. failed\n"}}},
        {[] { return SetNetworkOnline("n", true); }, "hamachi go-online 'n'", nullptr, {notRun}},
        {[] { return LeaveNetwork("a"); }, "hamachi leave 'a'", ".. failed, you are an owner",
         {Message{"Hamachi", "Leaving a failed, you are an owner"}}},
        {[] { return LeaveNetwork("a"); }, "hamachi leave 'a'", nullptr, {notRun}},
        {[] { return DeleteNetwork("b"); }, "hamachi delete 'b'", "not an owner",
         {Message{"Hamachi", "Delete b failed, you are not an owner"}}},
        {[] { return EvictMember("", ""); }, "hamachi evict '' ''", "access denied",
         {Message{"Error", "Evict user failed, access denied"}}},
        // the name loses its outer blanks, the password keeps them
        {create("  my net  ", " pw "), "hamachi create 'my net' ' pw '", "", done},
        {create("   ", ""), "hamachi create '' ''", "Creating .. failed\n", done},
        {create("x", "a'b"), "hamachi create 'x' 'a'\\''b'", ".. name is already taken",
         {Message{"Hamachi", "Network name is already taken"}}},
        {create("x", ""), "hamachi create 'x' ''", nullptr, {notRun}},
        {join(" x", ""), "hamachi join 'x' ''", ".. failed, invalid password",
         {Message{"Hamachi", "Invalid password"}}},
        {join("x", ""), "hamachi join 'x' ''", "Invalid password\n", done},
    };
    // clang-format on
    for (const Case& c : cases) {
        runner.calls.clear();
        c.answer ? runner.Answer(c.line, c.answer) : runner.CannotRun(c.line);
        EXPECT_EQ(c.call(), c.outcome) << c.line;
        EXPECT_EQ(runner.calls, Texts{c.line});
    }
}

// Records its arguments in the stand-in's log, as the stand-in does.
std::string Recorder(const std::string& name) {
    return "#!/bin/sh\nr=\"" + name + "\t$#\n\"\nfor a in \"$@\"; do r=\"$r${#a}\t$a\n\"; done\n" +
           "printf %s \"$r\" >> \"$HOME/.hamachi-standin/log\"\n";
}

// The terminal hands its -e argument to a shell: only plain addresses go.
TEST(MemberProgramsTest, LaunchedOnPlainAddressesOnly) {
    StandinScenario scenario;
    std::filesystem::create_directories(scenario.ControlDir());
    for (const char* program : {"xterm", "nautilus"})
        scenario.AddProgram(program, Recorder(program));
    const std::function<void(const std::string&)> launches[] = {
        PingMember, BrowseMember, [](const std::string& a) { ControlMemberPc(a, "vncviewer", ""); },
        [](const std::string& a) { GiveControlToMember(a, "x11vnc", "-connect"); }};
    for (const std::string bad : {"$(id)", "5.1.2.3;id", "`id`", "5.1.2.3 &"}) {
        for (const auto& launch : launches) launch(bad);
    }
    for (const auto& launch : launches) launch("5.1.2.5");
    PingMember("");  // no row selected
    const std::vector<StandinInvocation> expected = {
        {"xterm", {"-T", "Hamachi", "-e", "ping 5.1.2.5"}},
        {"nautilus", {"smb://5.1.2.5"}},
        {"xterm", {"-T", "VNCviewer", "-geometry", "60x5", "-e", "vncviewer  5.1.2.5"}},
        {"xterm", {"-T", "Hamachi", "-e", "x11vnc -connect 5.1.2.5"}},
        {"xterm", {"-T", "Hamachi", "-e", "ping "}}};
    for (int i = 0; i < 200 && scenario.Invocations().size() < expected.size(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const auto calls = scenario.Invocations();  // in any order
    EXPECT_TRUE(std::is_permutation(calls.begin(), calls.end(), expected.begin(), expected.end()))
        << calls.size() << " calls";
}

}  // namespace
