#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace korvalend {

// One row of the built-in sense text table, laid out as the product stores it.
struct SenseTextRow {
    char key[8];    // sense key, ASC, ASCQ as six upper-case hex digits, then two zero bytes
    char text[72];  // zero-terminated, at most 70 characters
};
static_assert(sizeof(SenseTextRow) == 80);

inline constexpr std::size_t kSenseTextRowCount = 332;

// Searched in stored order; the sense key is part of the key, so one ASC/ASCQ may have
// several rows. Three rows carry "NN" in their key and can never match a formatted code.
extern const std::array<SenseTextRow, kSenseTextRowCount> kSenseTextTable;

// The three values as six upper-case hex digits ("%.2X%.2X%.2X").
std::string SenseCodeOf(std::uint8_t key, std::uint8_t asc, std::uint8_t ascq);

// The code, a blank, then the text of the first row with that key; code and blank alone
// when the table has no such row.
std::string SenseTextOf(std::uint8_t key, std::uint8_t asc, std::uint8_t ascq);

}  // namespace korvalend
