#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "device/sim/capture.h"

namespace korvalend {

// Built-in drive conversations for demonstrations: one writer with a disc (or none) in it.
// Names: "cd-r", "dvd+r", "empty", "cd-rw", "dvd-r".
std::optional<std::vector<DriveCapture>> DemoCaptures(std::string_view name);
std::vector<std::string_view> DemoNames();
bool IsDemoName(std::string_view word);

}  // namespace korvalend
