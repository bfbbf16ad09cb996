#include "app/core/offline_lookup.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "mediadb/media_database_search.h"
#include "mmc/maker_tables.h"

namespace korvalend {

const char* LookupCdMakerOffline(const UserMediaLists* user, const ConfigurationBlockView& block,
                                 std::uint32_t leadIn, std::uint32_t leadOut) {
    if (const char* text =
            FindCdMakerInDatabase(user ? &user->cdList : nullptr, block, leadIn, leadOut)) {
        return text;
    }
    return FindAtipMaker(leadIn);
}

const char* LookupDvdMakerOffline(const UserMediaLists* user, const ConfigurationBlockView& block,
                                  bool plusFamily, std::span<const std::uint8_t> identifier) {
    std::array<std::uint8_t, kDvdCompareLength> compared{};
    std::copy_n(identifier.begin(), std::min(identifier.size(), compared.size()), compared.begin());
    if (const char* text =
            FindDvdMakerInDatabase(user ? &user->dvdList : nullptr, block, compared)) {
        return text;
    }
    // The maker tables compare texts: the manufacturer part, up to its first zero.
    std::array<char, 13> text{};
    const std::size_t length = plusFamily ? 8 : 11;
    for (std::size_t i = 0; i < length && i < identifier.size(); ++i) {
        text[i] = static_cast<char>(identifier[i]);
    }
    return plusFamily ? FindDvdPlusMaker(text.data()) : FindDvdMinusMaker(text.data());
}

std::optional<std::uint32_t> ParseAtipTime(std::string_view text) {
    std::string digits;
    int colons = 0;
    for (char c : text) {
        if (c == ':') {
            ++colons;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            digits += c;
        } else {
            return std::nullopt;
        }
    }
    if (digits.empty() || digits.size() > 9 ||
        (colons != 0 && (colons != 2 || digits.size() != 6))) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(std::stoul(digits));
}

std::optional<std::string> ParseIdentifierHex(std::string_view text) {
    std::string compact;
    for (char c : text) {
        if (c == ' ' || c == ':') continue;
        if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
        compact += c;
    }
    if (compact.empty() || compact.size() % 2 != 0 || compact.size() > 24) return std::nullopt;
    std::string bytes;
    for (std::size_t i = 0; i < compact.size(); i += 2) {
        bytes += static_cast<char>(std::stoi(compact.substr(i, 2), nullptr, 16));
    }
    return bytes;
}

}  // namespace korvalend
