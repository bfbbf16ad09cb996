#include "mediadb/media_database_search.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "builder/ansi_text.h"

namespace korvalend {

namespace {

std::span<const char> AsChars(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// The maker text as a zero-terminated text, or null when its field holds no NUL.
const char* TerminatedText(std::span<const char> field) {
    return std::find(field.begin(), field.end(), '\0') == field.end() ? nullptr : field.data();
}

bool KeyEquals(std::span<const char> key, std::uint32_t time) {
    const auto value = MediaKeyValue(key);
    return value && *value == static_cast<std::int64_t>(time);
}

struct CdKeys {
    std::span<const char> leadIn;
    std::span<const char> leadOut;
    std::span<const char> makerText;
};

CdKeys RowKeys(std::span<const std::uint8_t, kCdMediaRecordSize> row) {
    const auto chars = AsChars(row);
    return {chars.subspan(kCdLeadInKeyOffset, kMediaKeyWidth),
            chars.subspan(kCdLeadOutKeyOffset, kMediaKeyWidth),
            chars.subspan(kCdMakerTextOffset, kMakerTextWidth)};
}

bool SameIdentifier(std::span<const std::uint8_t, kDvdCompareLength> a,
                    std::span<const std::uint8_t> b) {
    return std::equal(a.begin(), a.end(), b.begin(), [](std::uint8_t x, std::uint8_t y) {
        return UpperCaseAscii(static_cast<char>(x)) == UpperCaseAscii(static_cast<char>(y));
    });
}

}  // namespace

std::optional<std::int64_t> MediaKeyValue(std::span<const char> key) {
    std::string_view text(key.data(), static_cast<std::size_t>(
                                          std::find(key.begin(), key.end(), '\0') - key.begin()));
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return std::nullopt;
    }
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

const char* FindCdMakerInDatabase(const UserCdList* user, const ConfigurationBlockView& block,
                                  std::uint32_t leadIn, std::uint32_t leadOut) {
    if (user) {
        for (const auto& record : *user) {
            if (KeyEquals(record.leadInKey, leadIn) && KeyEquals(record.leadOutKey, leadOut)) {
                if (const char* text = TerminatedText(record.makerText)) return text;
            }
        }
    }
    for (std::size_t row = 0; row < kMediaTableRecords; ++row) {
        const CdKeys keys = RowKeys(block.CdRow(row));
        if (keys.leadIn[0] == '\0') break;
        if (KeyEquals(keys.leadIn, leadIn) && KeyEquals(keys.leadOut, leadOut)) {
            if (const char* text = TerminatedText(keys.makerText)) return text;
        }
    }
    for (std::size_t row = 0; row < kMediaTableRecords; ++row) {
        const CdKeys keys = RowKeys(block.CdRow(row));
        if (keys.leadIn[0] == '\0') break;
        if (KeyEquals(keys.leadIn, leadIn)) {
            if (const char* text = TerminatedText(keys.makerText)) return text;
        }
    }
    return nullptr;
}

const char* FindDvdMakerInDatabase(const UserDvdList* user, const ConfigurationBlockView& block,
                                   std::span<const std::uint8_t, kDvdCompareLength> identifier) {
    if (user) {
        for (const auto& record : *user) {
            if (SameIdentifier(identifier, record.identifier)) {
                if (const char* text = TerminatedText(record.makerText)) return text;
            }
        }
    }
    for (std::size_t row = 0; row < kMediaTableRecords; ++row) {
        const auto bytes = block.DvdRow(row);
        if (SameIdentifier(identifier, bytes.subspan(kDvdIdentifierOffset, kDvdIdentifierWidth))) {
            if (const char* text =
                    TerminatedText(AsChars(bytes.subspan(kDvdMakerTextOffset, kMakerTextWidth)))) {
                return text;
            }
        }
    }
    return nullptr;
}

}  // namespace korvalend
