#pragma once

#include <array>
#include <cstdint>

namespace korvalend {

// One row of the DVD maker table. Fixed-width, zero-padded fields: identifier and company
// are always zero-terminated; mediaType is not when it uses all four characters ("RG01").
struct DvdMakerRow {
    char identifier[9];
    char mediaType[4];
    char company[48];
};

// One row of the CD maker table: the first ATIP lead-in time (M * 10000 + S * 100 + F) of the
// range that the row covers; the range ends where the next row begins.
struct AtipMakerRow {
    std::uint32_t lowerBound;
    char company[48];
};

// Rows in the order the searches walk them; the first match wins.
extern const std::array<DvdMakerRow, 40> kDvdMakerTable;

// Rows in strictly ascending order of lowerBound. The last row only closes the range of the
// one before it; its company text is the answer for every time outside the table.
extern const std::array<AtipMakerRow, 129> kAtipMakerTable;

// Company of the row whose range holds leadIn, else "Unknown Manufacturer". Never null.
const char* FindAtipMaker(std::uint32_t leadIn);

// Company of the first row whose identifier occurs anywhere in identifierText (case-sensitive).
// Null when none occurs, or when the text is null or empty.
const char* FindDvdMinusMaker(const char* identifierText);

// Company of the first row whose identifier equals manufacturerId as a whole (case-sensitive).
// Null when none does, or when the text is null.
const char* FindDvdPlusMaker(const char* manufacturerId);

}  // namespace korvalend
