#pragma once

#include <string>
#include <string_view>

namespace korvalend {

// Texts are bytes as drives and files give them. For showing them: bytes that are valid UTF-8
// stay as they are; any other text is read as Windows-1252. Control characters other than
// line feed and tab are shown as U+FFFD, never passed through.
std::string DisplayText(std::string_view bytes);

bool IsValidUtf8(std::string_view bytes);

}  // namespace korvalend
