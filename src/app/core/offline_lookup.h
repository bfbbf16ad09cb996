#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "builder/configuration_block.h"
#include "mediadb/user_media_lists.h"

namespace korvalend {

// The maker lookup without a drive: the user's records, the embedded tables, then the maker
// tables, from ATIP times or from DVD identifier bytes the caller read elsewhere.
const char* LookupCdMakerOffline(const UserMediaLists* user, const ConfigurationBlockView& block,
                                 std::uint32_t leadIn, std::uint32_t leadOut);
const char* LookupDvdMakerOffline(const UserMediaLists* user, const ConfigurationBlockView& block,
                                  bool plusFamily, std::span<const std::uint8_t> identifier);

// "972666" or "97:26:66" as an ATIP time; nothing when it is neither.
std::optional<std::uint32_t> ParseAtipTime(std::string_view text);
// Hexadecimal bytes, with or without blanks between pairs; at most 12.
std::optional<std::string> ParseIdentifierHex(std::string_view text);

}  // namespace korvalend
