#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "builder/configuration_block.h"
#include "mediadb/user_media_lists.h"

namespace korvalend {

// The searches of the media lookup that need no drive: the user-defined records first, then
// the media tables embedded in the configuration block. Each gives the maker text of the first
// record that matches, owned by the list or block it was found in (valid while they live), or
// null when nothing matches. A record whose maker text has no terminating NUL within its field
// (possible only in a hand-patched block) is skipped rather than read past its end.

// Number of identifier bytes a DVD is compared by.
inline constexpr std::size_t kDvdCompareLength = 11;

// CD, in order: a user record with both keys equal, an embedded row with both keys equal, the
// first embedded row with the lead-in key equal. The embedded passes end at the first row with
// an empty lead-in key. Keys are read as numbers; a key that is not one skips its record.
// `user` may be null (no user list).
const char* FindCdMakerInDatabase(const UserCdList* user, const ConfigurationBlockView& block,
                                  std::uint32_t leadIn, std::uint32_t leadOut);

// DVD: the first user record, then the first of all 500 embedded rows (empty rows included),
// whose identifier equals `identifier` in its first 11 bytes, letters compared without regard
// to case. `user` may be null.
const char* FindDvdMakerInDatabase(const UserDvdList* user, const ConfigurationBlockView& block,
                                   std::span<const std::uint8_t, kDvdCompareLength> identifier);

// The numeric value of a key text (its bytes up to the first NUL): an optional sign and decimal
// digits, nothing else. Nothing for an empty text or one that is not a number.
std::optional<std::int64_t> MediaKeyValue(std::span<const char> key);

}  // namespace korvalend
