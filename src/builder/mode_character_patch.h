#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace korvalend {

// Sets the mode character of the configuration block found in an executable's bytes (by
// `marker`, as the builder finds it). False when the block is not there, or lies partly
// outside the bytes; nothing is changed then.
bool SetModeCharacter(std::span<std::uint8_t> image, std::string_view marker, char mode);

// Writes a copy of the executable `input` as `output` with the mode character set, keeping the
// input's permission bits; the copy is written completely or not at all. On failure gives
// false and a reason.
bool WriteCopyWithModeCharacter(const std::filesystem::path& input,
                                const std::filesystem::path& output, char mode, std::string& error);

}  // namespace korvalend
