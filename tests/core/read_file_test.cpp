// SPDX-License-Identifier: GPL-2.0-or-later
#include "common/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#include "standin_scenario.h"

namespace {

namespace fs = std::filesystem;

void Write(const std::string& path, const std::string& bytes, off_t size = -1) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    if (size >= 0) {
        ASSERT_EQ(ftruncate(fd, size), 0);  // sparse: no blocks behind it
    }
    close(fd);
}

// Only a regular file within the bound is read; nothing else is waited on or read in.
TEST(ReadWholeFileTest, ReadsOnlyRegularFilesWithinTheBound) {
    StandinScenario scenario;
    const std::string at = scenario.Home() + "/file";
    const std::string bound(ReadFileLimit, 'x');
    const std::tuple<const char*, std::function<void()>, std::optional<std::string>> cases[] = {
        {"text", [&] { Write(at, std::string("a\0b\n", 4)); }, std::string("a\0b\n", 4)},
        {"empty", [&] { Write(at, ""); }, ""},
        {"at the bound", [&] { Write(at, bound); }, bound},
        {"missing", [] {}, std::nullopt},
        {"over the bound", [&] { Write(at, bound + "y"); }, std::nullopt},
        {"4 GB sparse", [&] { Write(at, "", off_t{4} << 30); }, std::nullopt},
        {"directory", [&] { mkdir(at.c_str(), 0755); }, std::nullopt},
        {"FIFO", [&] { mkfifo(at.c_str(), 0644); }, std::nullopt},
        {"link to /dev/zero", [&] { fs::create_symlink("/dev/zero", at); }, std::nullopt},
        {"link to a text", [&] { Write(at + "2", "t"); fs::create_symlink("file2", at); }, "t"},
    };
    alarm(10);  // a FIFO would block the open for good
    for (const auto& [name, make, content] : cases) {
        make();
        EXPECT_TRUE(ReadWholeFile(at) == content) << name;  // not printed: up to 1 MiB
        unlink((at + "2").c_str());
        if (unlink(at.c_str()) != 0) rmdir(at.c_str());
    }
    alarm(0);
}

}  // namespace
