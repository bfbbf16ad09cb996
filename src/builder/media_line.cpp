#include "builder/media_line.h"

#include <algorithm>

namespace korvalend {

namespace {

constexpr std::size_t kCdMinLength = 15;
constexpr std::size_t kCdMaxLength = 61;
constexpr std::size_t kCdEqualsIndex = 13;
constexpr std::size_t kCdUnderscoreIndex = 6;

constexpr std::size_t kDvdMinLength = 26;
constexpr std::size_t kDvdMaxLength = 72;
constexpr std::size_t kDvdEqualsIndex = 24;

template <std::size_t N>
void CopyText(std::string_view text, std::array<char, N>& field) {
    const std::size_t count = std::min(text.size(), N - 1);  // keep room for the NUL
    std::copy_n(text.begin(), count, field.begin());
}

std::optional<std::uint8_t> HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
    if (c >= 'A' && c <= 'F') return static_cast<std::uint8_t>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f') return static_cast<std::uint8_t>(c - 'a' + 10);
    return std::nullopt;
}

}  // namespace

std::string ConversionErrorMessage(std::string_view text) {
    std::string message = "'";
    message += text;
    message += "' is not a valid integer value";
    return message;
}

std::optional<CdMediaRecord> ParseCdMediaLine(std::string_view line) {
    if (line.size() < kCdMinLength) return std::nullopt;
    const bool equalsInPlace = line.find('=') == kCdEqualsIndex;
    const bool underscoreInPlace = line.find('_') == kCdUnderscoreIndex;
    if (!equalsInPlace && !underscoreInPlace) return std::nullopt;
    line = line.substr(0, kCdMaxLength);

    CdMediaRecord record;
    CopyText(line.substr(0, 6), record.leadInKey);
    CopyText(line.substr(7, 6), record.leadOutKey);
    CopyText(line.substr(14), record.makerText);
    return record;
}

DvdLineParse ParseDvdMediaLine(std::string_view line) {
    DvdLineParse result;
    if (line.size() < kDvdMinLength || line.find('=') != kDvdEqualsIndex) return result;
    line = line.substr(0, kDvdMaxLength);

    for (std::size_t i = 0; i < kDvdIdentifierWidth; ++i) {
        const std::string_view pair = line.substr(2 * i, 2);
        const auto high = HexDigitValue(pair[0]);
        const auto low = HexDigitValue(pair[1]);
        if (!high || !low) {
            result.outcome = DvdLineParse::Outcome::ConversionError;
            result.errorMessage = ConversionErrorMessage("0x" + std::string(pair));
            result.record = {};
            return result;
        }
        result.record.identifier[i] = static_cast<std::uint8_t>(*high << 4 | *low);
    }
    CopyText(line.substr(kDvdEqualsIndex + 1), result.record.makerText);
    result.outcome = DvdLineParse::Outcome::Accepted;
    return result;
}

}  // namespace korvalend
