// SPDX-License-Identifier: GPL-2.0-or-later
// The text format of Corvane's own settings file: "Key = value" lines, read
// forgivingly (a byte-order mark, CR LF, comments, any letter case in keys)
// and written plainly.  One file is open at a time.
#pragma once

#include <string>

namespace PrefsFile {

// Loads and parses the file; when it cannot be read, every lookup gives
// its default.
void OpenForReading(const std::string& path);
// The same for a file's content at hand.
void OpenText(const std::string& text);
long ReadNumber(const std::string& key, long fallback);
std::string ReadText(const std::string& key, const std::string& fallback);

// Starts a new text for the file; nothing is written until Close.
void CreateForWriting(const std::string& path);
void WriteNumber(const std::string& key, long number);
void WriteText(const std::string& key, const std::string& text);

// Writes what was appended (replacing the file whole) and forgets the file.
// False when a file created for writing could not be written.
bool Close();

}  // namespace PrefsFile
