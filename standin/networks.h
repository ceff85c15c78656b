// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace standin {

enum class MemberState { Online, Crossed, Offline };

// The networks file, kept line by line so that a rewrite leaves comments,
// blank lines, unknown flags and extra fields exactly as they were:
//   network<TAB>NAME<TAB>FLAGS<TAB>PASSWORD   FLAGS from online,owner,away
//   member<TAB>ADDRESS<TAB>NICK<TAB>STATE     STATE online, crossed or offline
// A member belongs to the network line above it. Networks and members are
// addressed by their line index, valid until the next removal.
class NetworkBook {
  public:
    explicit NetworkBook(std::string_view text = {});
    std::string Render() const;

    // Network line indexes in file order.
    std::vector<size_t> Networks() const;
    // The first network of that name, skipping away ones unless asked.
    std::optional<size_t> Find(std::string_view name, bool includeAway) const;
    // Member line indexes of a network, in file order.
    std::vector<size_t> Members(size_t network) const;
    std::optional<size_t> FindMember(size_t network, std::string_view address) const;

    const std::string& Name(size_t network) const { return Field(network, 1); }
    const std::string& Password(size_t network) const { return Field(network, 3); }
    bool HasFlag(size_t network, std::string_view flag) const;
    void SetFlag(size_t network, std::string_view flag, bool on);

    const std::string& Address(size_t member) const { return Field(member, 1); }
    const std::string& Nick(size_t member) const { return Field(member, 2); }
    MemberState State(size_t member) const;

    void AddNetwork(const std::string& name, const std::string& flags, const std::string& password);
    // Removes the network line and its member lines; comments stay.
    void RemoveNetwork(size_t network);
    void RemoveMember(size_t member);

    // Tab, CR and LF would break the line format, so such values are never stored.
    static bool IsStorable(std::string_view value);

  private:
    enum class Kind { Network, Member, Other };
    struct Line {
        Kind kind = Kind::Other;
        std::string raw;
        std::vector<std::string> fields;
        bool changed = false;
    };

    const std::string& Field(size_t line, size_t index) const;
    std::vector<std::string> Flags(size_t network) const;

    std::vector<Line> lines_;
};

}  // namespace standin
