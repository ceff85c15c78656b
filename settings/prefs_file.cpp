// SPDX-License-Identifier: GPL-2.0-or-later
#include "settings/prefs_file.h"

#include <strings.h>

#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

#include "common/read_file.h"
#include "settings/file_replace.h"

namespace {

struct Entry {
    std::string key;
    std::string value;
};

// The one file open at a time.
struct OpenFile {
    std::vector<Entry> entries;  // those before the first group header, in file order
    bool utf8 = false;           // the file began with a byte-order mark
    std::string writePath;       // "" unless created for writing
    std::string written;
};
OpenFile Open;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view WithoutTrailingBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// UTF-8 down to Latin-1; nothing when a character does not fit.
std::optional<std::string> Utf8ToLatin1(std::string_view text) {
    std::string latin;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            latin += static_cast<char>(c);
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < text.size() &&
                   (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
            latin += static_cast<char>(((c & 0x03) << 6) | (text[++i] & 0x3F));
        } else {
            return std::nullopt;
        }
    }
    return latin;
}

void Parse(std::string_view text) {
    size_t at = 0;
    while (at < text.size()) {
        // Any run of line ends is one separator; blanks start no line.
        const size_t start = text.find_first_not_of("\r\n \t", at);
        if (start == std::string_view::npos) break;
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        at = end;
        if (line[0] == ';') continue;
        if (line[0] == '[') break;  // entries under a group are never looked up
        const size_t equals = line.find('=');
        Entry entry{std::string(WithoutTrailingBlanks(line.substr(0, equals))), ""};
        if (equals != std::string_view::npos) {
            std::string_view value = line.substr(equals + 1);
            while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
            entry.value = value;
        }
        Open.entries.push_back(std::move(entry));
    }
}

const Entry* Lookup(const std::string& key) {
    for (const Entry& entry : Open.entries) {
        if (strcasecmp(entry.key.c_str(), key.c_str()) == 0) return &entry;
    }
    return nullptr;
}

}  // namespace

namespace PrefsFile {

void OpenForReading(const std::string& path) {
    Close();
    const std::optional<std::string> text = ReadWholeFile(path);
    if (text) OpenText(*text);
}

void OpenText(const std::string& text) {
    Close();
    Open.utf8 = text.compare(0, 3, "\xEF\xBB\xBF") == 0;
    Parse(std::string_view(text).substr(Open.utf8 ? 3 : 0));
}

long ReadNumber(const std::string& key, long fallback) {
    const Entry* entry = Lookup(key);
    return entry == nullptr ? fallback : std::strtol(entry->value.c_str(), nullptr, 10);
}

std::string ReadText(const std::string& key, const std::string& fallback) {
    const Entry* entry = Lookup(key);
    if (entry == nullptr) return fallback;
    const std::string_view value = WithoutTrailingBlanks(entry->value);
    if (!Open.utf8) return std::string(value);
    return Utf8ToLatin1(value).value_or("");
}

void CreateForWriting(const std::string& path) {
    Close();
    Open.writePath = path;
}

void WriteNumber(const std::string& key, long number) {
    WriteText(key, std::to_string(number));
}

void WriteText(const std::string& key, const std::string& text) {
    if (!Open.writePath.empty()) Open.written += key + " = " + text + "\n";
}

bool Close() {
    const bool ok = Open.writePath.empty() || ReplaceFile(Open.writePath, Open.written);
    Open = {};
    return ok;
}

}  // namespace PrefsFile
