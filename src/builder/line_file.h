#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace korvalend {

// Longest line a text file delivers at once; a longer physical line arrives in pieces.
inline constexpr std::size_t kMaxLineChars = 2047;

// Reads a text file line by line the way a 2048-byte line buffer does: each entry keeps its
// line end, and a physical line longer than kMaxLineChars characters (line feed included)
// arrives as several entries of at most kMaxLineChars characters. Bytes are kept as they
// stand. Clears `lines` first; gives false (and no lines) when the file cannot be read.
bool ReadFileLines(const std::string& path, std::vector<std::string>& lines);

// Splits already-read text the same way.
std::vector<std::string> SplitIntoLines(const std::string& content);

}  // namespace korvalend
