#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace korvalend {

// Writes `bytes` as the file `path`, completely or not at all: the data go to a temporary file
// in the same directory, are flushed to the disk and then renamed over `path`. A failure at any
// step (no room, no permission, no such directory) removes the temporary file and leaves an
// earlier file of that name as it was. The new file gets `permissions` (POSIX mode bits).
// On failure gives false and, when `error` is given, a short reason.
bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                         std::filesystem::perms permissions, std::string* error = nullptr);

}  // namespace korvalend
