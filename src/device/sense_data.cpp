#include "device/sense_data.h"

#include <algorithm>

namespace korvalend {

SenseBuffer MakeFixedSense(SenseTriple triple) {
    SenseBuffer sense{};
    sense[0] = 0x70;
    sense[2] = static_cast<std::uint8_t>(triple.senseKey & 0x0F);
    sense[7] = 10;  // additional sense length: bytes 8 to 17
    sense[12] = triple.asc;
    sense[13] = triple.ascq;
    return sense;
}

SenseBuffer NormalizeSense(std::span<const std::uint8_t> raw) {
    SenseBuffer sense{};
    if (raw.empty()) return sense;
    const std::uint8_t responseCode = raw[0] & 0x7F;
    if (responseCode == 0x70 || responseCode == 0x71) {
        std::copy_n(raw.begin(), std::min(raw.size(), sense.size()), sense.begin());
        return sense;
    }
    if (responseCode == 0x72 || responseCode == 0x73) {
        // Descriptor format: key, ASC and ASCQ sit in bytes 1 to 3 of the header.
        SenseTriple triple;
        if (raw.size() > 1) triple.senseKey = raw[1] & 0x0F;
        if (raw.size() > 2) triple.asc = raw[2];
        if (raw.size() > 3) triple.ascq = raw[3];
        sense = MakeFixedSense(triple);
        if (responseCode == 0x73) sense[0] = 0x71;
        return sense;
    }
    return sense;
}

SenseTriple TripleOf(const SenseBuffer& fixedSense) {
    return SenseTriple{static_cast<std::uint8_t>(fixedSense[2] & 0x0F), fixedSense[12],
                       fixedSense[13]};
}

}  // namespace korvalend
