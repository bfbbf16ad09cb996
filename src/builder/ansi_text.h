#pragma once

#include <string>
#include <string_view>

namespace korvalend {

// Helpers for 8-bit ANSI texts as the text files of the program hold them. Only the ASCII
// letters change case; every other byte is kept as it stands.

// Removes leading and trailing spaces and control characters (every byte up to 0x20).
std::string_view TrimText(std::string_view text);

char UpperCaseAscii(char c);
std::string UpperCaseAscii(std::string_view text);

bool EqualNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

}  // namespace korvalend
