#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "device/transport.h"

namespace korvalend {

// The three values of the sense data that the program judges a failure by.
struct SenseTriple {
    std::uint8_t senseKey = 0;
    std::uint8_t asc = 0;
    std::uint8_t ascq = 0;
    friend bool operator==(const SenseTriple&, const SenseTriple&) = default;
};

using SenseBuffer = std::array<std::uint8_t, kSenseBufferSize>;

// Fixed-format sense bytes for a triple, as a drive would send them.
SenseBuffer MakeFixedSense(SenseTriple triple);

// Sense as the device returned it (fixed or descriptor format, possibly short) turned into
// the fixed format the rest of the program reads. Unknown formats give all zeros.
SenseBuffer NormalizeSense(std::span<const std::uint8_t> raw);

// Key from the low 4 bits of byte 2, ASC from byte 12, ASCQ from byte 13.
SenseTriple TripleOf(const SenseBuffer& fixedSense);

}  // namespace korvalend
