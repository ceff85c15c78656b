// SPDX-License-Identifier: GPL-2.0-or-later
#include "settings/client_config.h"

#include <sys/stat.h>

#include <algorithm>
#include <vector>

#include "common/read_file.h"
#include "common/text.h"
#include "settings/file_replace.h"

namespace {

// The value of a line starts after the key and one blank.
constexpr std::array<std::string_view, ClientConfigKeys> Keys{"KeepAlive", "TxRate", "RxRate"};

std::string ConfigPath(const std::string& configDir) {
    return configDir + "config";
}

// Lines end at LF, CR or CR LF; with `zeroEnds`, also at a zero byte.
std::vector<std::string_view> SplitLines(std::string_view text, bool zeroEnds) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\n' || c == '\r' || (zeroEnds && c == '\0')) {
            lines.push_back(text.substr(start, i - start));
            i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

std::string_view FirstWord(std::string_view line) {
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos) return {};
    const size_t end = line.find_first_of(" \t", start);
    return line.substr(start, end == std::string_view::npos ? end : end - start);
}

}  // namespace

ClientConfigValues ParseClientConfig(const std::string& text) {
    ClientConfigValues values;
    for (std::string_view line : SplitLines(text, true)) {
        for (int k = 0; k < ClientConfigKeys; ++k) {
            if (!Contains(line, Keys[k])) continue;
            const size_t column = Keys[k].size() + 1;
            values[k] = Trim(line.size() > column ? line.substr(column) : std::string_view{});
        }
    }
    return values;
}

std::string MergeClientConfig(const std::string& text, const ClientConfigFields& fields) {
    auto lineFor = [&](int k) { return std::string(Keys[k]) + " " + fields[k] + "\n"; };
    // The loader takes a key anywhere on a line, so a kept line naming one
    // would set it over (or without) the field.
    auto namesAKey = [](std::string_view line) {
        return std::any_of(Keys.begin(), Keys.end(),
                           [&](std::string_view key) { return Contains(line, key); });
    };
    std::array<bool, ClientConfigKeys> written{};
    std::string merged;
    for (std::string_view line : SplitLines(text, false)) {
        const std::string_view word = FirstWord(line);
        int key = -1;
        for (int k = 0; k < ClientConfigKeys; ++k) {
            if (word == Keys[k]) key = k;
        }
        if (key >= 0 && !written[key]) {
            written[key] = true;
            if (fields[key] != "0") merged += lineFor(key);
        } else if (!namesAKey(line)) {
            merged.append(line).append("\n");
        }
    }
    for (int k = 0; k < ClientConfigKeys; ++k) {
        if (!written[k] && fields[k] != "0") merged += lineFor(k);
    }
    return merged;
}

bool SaveClientConfig(const std::string& configDir, const ClientConfigFields& fields) {
    const std::string path = ConfigPath(configDir);
    std::string old;
    struct stat info {};
    if (stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        // Rebuilding from nothing would lose the client's own settings.
        std::optional<std::string> read = ReadWholeFile(path);
        if (!read) return false;
        old = std::move(*read);
    }
    return ReplaceFile(path, MergeClientConfig(old, fields));
}

ClientConfigValues LoadClientConfig(const std::string& configDir) {
    const std::optional<std::string> text = ReadWholeFile(ConfigPath(configDir));
    return text ? ParseClientConfig(*text) : ClientConfigValues{};
}
