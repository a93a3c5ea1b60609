// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The form shared by the program's small text files (the palettes and the settings): lines of
// code-page-1251 text with decimal numbers.
//
// Reading is word- and line-based and tolerant of how the file was made: a line ends at a
// carriage return, a line feed or both together, and numbers on a line may be separated by any
// run of spaces, tabs or commas. Writing uses "\r\n" between lines.
#include "files/ReadFile.h"
#include "gfx/Color.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vork::textfile {

inline constexpr std::string_view lineBreak = "\r\n";

// The program's text files are a few kilobytes; a larger file is not one of them.
inline constexpr size_t maxTextFileBytes = size_t(4) << 20;

// Reads a text file whole; anything but a regular file of at most maxTextFileBytes is
// unreadable.
ReadResult readTextFile(const std::string& path);

// A number as the readers see it: its low 8 bits (the exact value modulo 256, however long the
// digits run) and, when it fits an int, the value itself.
struct Number {
    uint8_t low8 = 0;
    std::optional<int> value;
};

// How far a read looks for what it reads: on the current line only, or past line ends too.
enum class Reach { ThisLine, AcrossLines };

// Reads words, numbers and line ends from bytes in memory, never past their end.
class Scanner {
  public:
    explicit Scanner(std::string_view text) : text(text) {}
    explicit Scanner(const ReadResult& file)
        : text(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size()) {}
    // The scanner only views the bytes; they must outlive it.
    explicit Scanner(ReadResult&&) = delete;

    // Skips separators and line ends, then reads a run of other bytes; false at the end.
    bool readWord();
    // Consumes bytes up to and including the next line end, or to the end.
    void skipLine();
    // Reads an optionally signed decimal number. Reach::AcrossLines lets it skip line ends
    // before the number; otherwise only separators on the current line are skipped. When no
    // digit follows, nothing but the skipped separators and a sign is consumed.
    std::optional<Number> readNumber(Reach reach);
    // Reads one colour row: the first number may be on a later line, the other three must
    // follow on the same line.
    std::optional<Color> readColorRow();

  private:
    int peek() const;
    bool atLineEnd() const;
    void skipLineEnd();
    void skipSeparators(Reach reach);
    std::string_view text;
    size_t pos = 0;
};

} // namespace vork::textfile
