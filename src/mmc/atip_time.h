#pragma once

#include <cstdint>

namespace korvalend {

// The block address of a disc time given as minutes, seconds and 75ths of a second.
constexpr std::int32_t MsfToLba(std::int32_t m, std::int32_t s, std::int32_t f) {
    return (m * 60 + s) * 75 + f - 150;
}

}  // namespace korvalend
