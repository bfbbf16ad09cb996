#include <algorithm>
#include <iterator>
#include <string_view>

#include "device/sense_table.h"

namespace korvalend {

namespace {

void AppendHexByte(std::string& out, std::uint8_t value) {
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    out += kDigits[value >> 4];
    out += kDigits[value & 0x0F];
}

// Bounded so that a row without its terminator could never read past the field.
std::string_view TextOf(const SenseTextRow& row) {
    const auto* end = std::find(std::begin(row.text), std::end(row.text), '\0');
    return {std::begin(row.text), end};
}

}  // namespace

std::string SenseCodeOf(std::uint8_t key, std::uint8_t asc, std::uint8_t ascq) {
    std::string code;
    code.reserve(6);
    AppendHexByte(code, key);
    AppendHexByte(code, asc);
    AppendHexByte(code, ascq);
    return code;
}

std::string SenseTextOf(std::uint8_t key, std::uint8_t asc, std::uint8_t ascq) {
    std::string result = SenseCodeOf(key, asc, ascq);
    const std::string_view code = result;
    const auto row =
        std::find_if(kSenseTextTable.begin(), kSenseTextTable.end(),
                     [code](const SenseTextRow& r) { return std::string_view(r.key, 6) == code; });
    std::string_view text;
    if (row != kSenseTextTable.end()) text = TextOf(*row);
    result += ' ';
    result += text;
    return result;
}

}  // namespace korvalend
