#pragma once

#include <cstdint>
#include <span>

namespace korvalend {

// Whether an answer to READ TOC/PMA/ATIP format 4 is an ATIP. Its header bytes 2 and 3 are
// reserved and zero. Drives that take the format from the older position in byte 9 (bits 7-6),
// such as the ATAPI CD-ROM that QEMU emulates, never see format 4 and answer with their table
// of contents, whose header holds the first and last track numbers there.
constexpr bool IsAtipAnswer(std::span<const std::uint8_t> answer) {
    return answer.size() >= 4 && answer[2] == 0 && answer[3] == 0;
}

}  // namespace korvalend
