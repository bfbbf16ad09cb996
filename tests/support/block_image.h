#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "builder/configuration_block.h"

namespace korvalend::testing {

// An executable-like image: `before` bytes of filler, a copy of the running program's block,
// `after` bytes of filler. The filler holds no letters, so it cannot hold the marker text.
inline std::vector<std::uint8_t> ImageWithBlock(std::size_t before, std::size_t after) {
    std::vector<std::uint8_t> image;
    for (std::size_t i = 0; i < before; ++i) image.push_back(static_cast<std::uint8_t>(i % 64));
    const auto block = RunningConfigurationBlock().Bytes();
    image.insert(image.end(), block.begin(), block.end());
    for (std::size_t i = 0; i < after; ++i) image.push_back(static_cast<std::uint8_t>(i % 60));
    return image;
}

// Text of a block field inside an image whose block starts at `blockOffset`.
inline std::string_view ImageField(const std::vector<std::uint8_t>& image, std::size_t blockOffset,
                                   BlockField field) {
    return FieldText(std::span(image).subspan(blockOffset + field.offset, field.width));
}

}  // namespace korvalend::testing
