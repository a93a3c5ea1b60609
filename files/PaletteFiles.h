#pragma once
// The two palette text files: ".lpal" holds the small palette and the replacement pairs,
// ".bpal" the colour picker's grid. Both are lines of code-page-1251 text: a heading, then one
// row "alpha red green blue" per entry.
//
// Reading is word- and line-based, so any heading text is accepted: the first word of a heading
// is read, the rest of its line skipped, and each entry takes the four numbers that follow on the
// next line holding a number. Every number is taken modulo 256 as a channel. An entry whose row
// cannot be read completely (text, too few numbers, end of file) keeps the colour it had.
//
// Writing produces the headings as their 1251 bytes, rows "%d %d %d %d", lines separated by
// "\r\n" and no line break after the last line. A write replaces the old file only once the new
// one is complete, so a failure leaves the old file as it was.
#include "model/Palette.h"

#include <cstddef>
#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

namespace vork {

// Each returns true when the file was read and at least one entry came from it; on false no
// entry is changed. readBigPalette makes entry 0 transparent whatever the file says.
bool readSmallPalette(const std::string& path, Palettes& palettes);
bool readBigPalette(const std::string& path, Palettes& palettes);

// Each returns false when the file could not be written completely; the old file then stays.
bool writeSmallPalette(const std::string& path, const Palettes& palettes);
bool writeBigPalette(const std::string& path, const Palettes& palettes);

// Helpers for the program's small text files, shared with the settings file.
namespace textfile {

inline constexpr std::string_view lineBreak = "\r\n";

// Writes `bytes` to `path` through a temporary file that replaces the old one only when the
// whole content has been written.
bool replaceFile(const std::string& path, const std::string& bytes);

// A number as the readers see it: its low 8 bits (the exact value modulo 256, however long the
// digits run) and, when it fits an int, the value itself.
struct Number {
    uint8_t low8 = 0;
    std::optional<int> value;
};

// The program's text files are a few kilobytes; bytes beyond this count are treated as the end
// of the file, so even an endless device file is read in bounded time.
inline constexpr size_t maxTextFileBytes = size_t(4) << 20;

// Reads words, numbers and line ends from a stream of bytes, never past its end or past
// `byteLimit` bytes.
class Scanner {
  public:
    explicit Scanner(std::istream& in, size_t byteLimit = maxTextFileBytes)
        : in(in), byteLimit(byteLimit) {}

    // Skips blanks and line breaks, then reads a run of non-blank bytes; false at the end.
    bool readWord();
    // Consumes bytes up to and including the next line feed, or to the end.
    void skipLine();
    // Reads an optionally signed decimal number. `acrossLines` lets it skip line breaks before
    // the number; otherwise only blanks on the current line are skipped. When no digit follows,
    // nothing but the skipped blanks and a sign is consumed.
    std::optional<Number> readNumber(bool acrossLines);
    // Reads one colour row: the first number may be on a later line, the other three must
    // follow on the same line.
    std::optional<Color> readColorRow();

  private:
    int peek();
    void advance();
    void skipBlanks(bool acrossLines);
    std::istream& in;
    size_t byteLimit;
    size_t consumed = 0;
};

} // namespace textfile

} // namespace vork
