// SPDX-License-Identifier: GPL-2.0-or-later
#include "networks.h"

#include <algorithm>
#include <array>

#include "common/text.h"

namespace standin {

namespace {

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    for (;;) {
        const size_t at = text.find(separator);
        parts.emplace_back(text.substr(0, at));
        if (at == std::string_view::npos) return parts;
        text.remove_prefix(at + 1);
    }
}

std::string Join(const std::vector<std::string>& parts, char separator) {
    std::string joined;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i) joined += separator;
        joined += parts[i];
    }
    return joined;
}

constexpr std::array<std::string_view, 3> kKnownFlags{"online", "owner", "away"};

}  // namespace

NetworkBook::NetworkBook(std::string_view text) {
    while (!text.empty()) {
        const size_t end = text.find('\n');
        Line line;
        line.raw = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);

        std::string_view content = line.raw;
        if (!content.empty() && content.back() == '\r') content.remove_suffix(1);
        if (!content.empty() && content.front() != '#') {
            line.fields = Split(content, '\t');
            if (line.fields.size() >= 2 && line.fields[0] == "network") line.kind = Kind::Network;
            if (line.fields.size() >= 2 && line.fields[0] == "member") line.kind = Kind::Member;
        }
        lines_.push_back(std::move(line));
    }
}

std::string NetworkBook::Render() const {
    std::string text;
    for (const Line& line : lines_) {
        text += line.changed ? Join(line.fields, '\t') : line.raw;
        text += '\n';
    }
    return text;
}

std::vector<size_t> NetworkBook::Networks() const {
    std::vector<size_t> networks;
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == Kind::Network) networks.push_back(i);
    }
    return networks;
}

std::optional<size_t> NetworkBook::Find(std::string_view name, bool includeAway) const {
    for (size_t network : Networks()) {
        if (Name(network) == name && (includeAway || !HasFlag(network, "away"))) return network;
    }
    return std::nullopt;
}

std::vector<size_t> NetworkBook::Members(size_t network) const {
    std::vector<size_t> members;
    for (size_t i = network + 1; i < lines_.size() && lines_[i].kind != Kind::Network; ++i) {
        if (lines_[i].kind == Kind::Member) members.push_back(i);
    }
    return members;
}

std::optional<size_t> NetworkBook::FindMember(size_t network, std::string_view address) const {
    for (size_t member : Members(network)) {
        if (Address(member) == address) return member;
    }
    return std::nullopt;
}

bool NetworkBook::HasFlag(size_t network, std::string_view flag) const {
    const std::vector<std::string> flags = Flags(network);
    return std::find(flags.begin(), flags.end(), flag) != flags.end();
}

void NetworkBook::SetFlag(size_t network, std::string_view flag, bool on) {
    std::vector<std::string> flags = Flags(network);
    std::erase(flags, flag);
    if (on) flags.emplace_back(flag);
    // Known flags first in a fixed order, so the file reads the same however it got there.
    std::stable_sort(flags.begin(), flags.end(), [](const std::string& a, const std::string& b) {
        const auto rank = [](const std::string& f) {
            return std::find(kKnownFlags.begin(), kKnownFlags.end(), f) - kKnownFlags.begin();
        };
        return rank(a) < rank(b);
    });

    Line& line = lines_[network];
    if (line.fields.size() < 3) line.fields.resize(3);
    line.fields[2] = Join(flags, ',');
    line.changed = true;
}

MemberState NetworkBook::State(size_t member) const {
    const std::string& state = Field(member, 3);
    if (state == "online") return MemberState::Online;
    if (state == "crossed") return MemberState::Crossed;
    return MemberState::Offline;
}

void NetworkBook::AddNetwork(const std::string& name, const std::string& flags,
                             const std::string& password) {
    Line line;
    line.kind = Kind::Network;
    line.fields = {"network", name, flags, password};
    line.changed = true;
    lines_.push_back(std::move(line));
}

void NetworkBook::RemoveNetwork(size_t network) {
    std::vector<size_t> doomed = Members(network);
    doomed.insert(doomed.begin(), network);
    for (auto it = doomed.rbegin(); it != doomed.rend(); ++it) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*it));
    }
}

void NetworkBook::RemoveMember(size_t member) {
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(member));
}

bool NetworkBook::IsStorable(std::string_view value) {
    return value.find_first_of("\t\r\n") == std::string_view::npos;
}

const std::string& NetworkBook::Field(size_t line, size_t index) const {
    static const std::string kNone;
    const std::vector<std::string>& fields = lines_[line].fields;
    return index < fields.size() ? fields[index] : kNone;
}

std::vector<std::string> NetworkBook::Flags(size_t network) const {
    std::vector<std::string> flags;
    for (const std::string& part : Split(Field(network, 2), ',')) {
        const std::string_view flag = TrimBlanks(part);
        if (!flag.empty()) flags.emplace_back(flag);
    }
    return flags;
}

}  // namespace standin
