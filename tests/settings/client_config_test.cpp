// SPDX-License-Identifier: GPL-2.0-or-later
#include "settings/client_config.h"

#include <gtest/gtest.h>

namespace {

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

// Whatever the kept lines hold, the merged text reads back as the fields: a
// written field as written, a field of "0" as not set.
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
