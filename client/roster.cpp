#include "client/roster.h"

#include "client/command_runner.h"
#include "mainwindow/identifiers.h"
#include "toolkit/toolkit.h"

std::string LastListOutput;

namespace {

constexpr uint32_t Grey = 0x999999;

// Member lines carry the address in characters 8-23 and the nickname in 25-49.
constexpr size_t AddressStart = 7, AddressLength = 16;
constexpr size_t NickStart = 24, NickLength = 25;

std::string Field(const std::string& line, size_t start, size_t length) {
    return start < line.size() ? line.substr(start, length) : "";
}

std::string WithoutAny(const std::string& text, const char* characters) {
    std::string kept;
    kept.reserve(text.size());
    for (char c : text) {
        if (std::char_traits<char>::find(characters, std::char_traits<char>::length(characters),
                                         c) == nullptr) {
            kept += c;
        }
    }
    return kept;
}

}  // namespace

std::vector<RosterRow> ParseRoster(const std::string& listOutput) {
    std::vector<RosterRow> rows;
    size_t start = 0;
    size_t end;
    // A final line without its line feed is not taken.
    while ((end = listOutput.find('\n', start)) != std::string::npos) {
        const std::string line = listOutput.substr(start, end - start);
        start = end + 1;
        RosterRow row;
        if (Contains(line, "*")) {
            row.state = RowState::Online;
        } else if (Contains(line, " X ")) {
            row.state = RowState::Crossed;
        }
        if (Contains(line, "[")) {
            row.level = 0;
            row.text = Trim(WithoutAny(line, "*"));
        } else {
            row.level = 1;
            row.text = Trim(Field(line, AddressStart, AddressLength)) + " - " +
                       Trim(Field(line, NickStart, NickLength));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

int RowImage(RowState state) {
    switch (state) {
        case RowState::Online:
            return ImageDotOnline;
        case RowState::Crossed:
            return ImageDotCrossed;
        case RowState::Offline:
            break;
    }
    return ImageDotOffline;
}

void RefreshRoster() {
    WaitForRunner();
    const std::string out = RunCommand("hamachi list");
    if (out == LastListOutput) return;
    WaitForRunner();
    RunCommand("hamachi get-nicks");
    LastListOutput = out;
    TreeClear(GadgetRoster);
    int index = 0;
    for (const RosterRow& row : ParseRoster(out)) {
        TreeAppend(GadgetRoster, row.level, RowImage(row.state), row.text);
        if (row.state != RowState::Online) TreeSetRowColor(GadgetRoster, index, Grey);
        ++index;
    }
    TreeExpandAll(GadgetRoster);
}

void ClearRoster() {
    TreeClear(GadgetRoster);
    LastListOutput.clear();
}

bool IsNetworkRow(const std::string& rowText) {
    return Contains(rowText, "[");
}

std::string NetworkName(const std::string& rowText) {
    return Trim(WithoutAny(rowText, "[]"));
}

std::string MemberAddress(const std::string& rowText) {
    return Trim(rowText.substr(0, rowText.find('-')));
}

std::string SelectedRowText() {
    return TreeSelectedText(GadgetRoster);
}
