// SPDX-License-Identifier: GPL-2.0-or-later
#include "client/client_state.h"

#include "client/launcher.h"
#include "common/read_file.h"
#include "common/text.h"

ClientState Client;

namespace {

constexpr size_t KeyWidth = 9;
constexpr size_t ValueColumn = 11;  // the 12th character

std::string DefaultConfigDir() {
    if (Client.CurrentUser == "root") return "/root/.hamachi/";
    return GetEnv("HOME") + "/.hamachi/";
}

StateFileFound ReadStateFile() {
    StateFileFound found;
    const std::optional<std::string> file = ReadWholeFile(Client.ConfigDir + "state");
    if (!file) return found;
    for (const StateLine& line : StateFileLines(*file)) {
        if (line.key == "Identity") {
            Client.Identity = line.value;
            found.identity = true;
        } else if (line.key == "Nickname") {
            Client.Nickname = line.value;
            found.nickname = true;
        }
    }
    return found;
}

}  // namespace

StateLine SplitStateLine(const std::string& line) {
    StateLine split;
    split.key = Trim(line.substr(0, KeyWidth));
    if (line.size() > ValueColumn) split.value = Trim(line.substr(ValueColumn));
    return split;
}

std::vector<StateLine> StateFileLines(const std::string& content) {
    std::vector<StateLine> lines;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find_first_of("\r\n", start);
        if (end == std::string::npos) end = content.size();
        lines.push_back(SplitStateLine(content.substr(start, end - start)));
        start = end;
        if (start < content.size() && content[start] == '\r') ++start;
        if (start < content.size() && content[start] == '\n') ++start;
    }
    return lines;
}

bool ProbeVersion(std::string_view probe, std::string* version) {
    size_t start = 0;
    size_t end;
    while ((end = probe.find('\n', start)) != std::string_view::npos) {
        const std::string_view line = probe.substr(start, end - start);
        if (Contains(line, "version")) {
            const size_t first = line.find(':');
            std::string_view value;
            if (first != std::string_view::npos) {
                const size_t second = line.find(':', first + 1);
                value = line.substr(first + 1, second == std::string_view::npos
                                                   ? std::string_view::npos
                                                   : second - first - 1);
            }
            *version = Trim(value);
            return true;
        }
        start = end + 1;
    }
    return false;
}

std::string ProbeStatusText(std::string_view probe) {
    const size_t phrase = probe.find("status   :");
    if (phrase == std::string_view::npos) return "offline";
    const size_t from = phrase + 11;
    const size_t lineEnd = probe.find('\n', from);
    if (lineEnd == std::string_view::npos) return "";
    return Trim(probe.substr(from, lineEnd - from));
}

bool RunProbe() {
    CommandOutput probe = RunCommand("hamachi");
    Client.LatestOutput = std::move(probe.text);
    return probe.started;
}

StateFileFound ReadClientState() {
    Client.ConfigDir =
        Client.ConfigDirOption.empty() ? DefaultConfigDir() : Client.ConfigDirOption;
    const StateFileFound found = ReadStateFile();
    RunProbe();
    ProbeVersion(Client.LatestOutput, &Client.Version);
    return found;
}
