#include "app/core/text_encoding.h"

#include <array>
#include <cstdint>

namespace korvalend {
namespace {

// Windows-1252 bytes 0x80 to 0x9F; 0 marks the five bytes the code page leaves undefined.
constexpr std::array<char16_t, 32> kCp1252High{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool IsShownControl(char32_t c) {
    return (c < 0x20 && c != '\n' && c != '\t') || c == 0x7F;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<std::uint8_t>(bytes[i]);
        std::size_t extra = 0;
        char32_t c = 0;
        if (b < 0x80) {
            ++i;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            extra = 1;
            c = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            extra = 2;
            c = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            extra = 3;
            c = b & 0x07;
        } else {
            return false;
        }
        if (i + extra >= bytes.size()) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<std::uint8_t>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            c = (c << 6) | (next & 0x3F);
        }
        if ((extra == 2 && (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))) ||
            (extra == 3 && (c < 0x10000 || c > 0x10FFFF))) {
            return false;
        }
        i += extra + 1;
    }
    return true;
}

std::string DisplayText(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    if (IsValidUtf8(bytes)) {
        for (char ch : bytes) {
            const auto c = static_cast<std::uint8_t>(ch);
            if (IsShownControl(c)) {
                AppendUtf8(out, kReplacement);
            } else {
                out += ch;
            }
        }
        return out;
    }
    for (char ch : bytes) {
        const auto c = static_cast<std::uint8_t>(ch);
        char32_t code = c;
        if (c >= 0x80 && c <= 0x9F)
            code = kCp1252High[c - 0x80] ? kCp1252High[c - 0x80] : kReplacement;
        if (IsShownControl(code)) code = kReplacement;
        AppendUtf8(out, code);
    }
    return out;
}

}  // namespace korvalend
