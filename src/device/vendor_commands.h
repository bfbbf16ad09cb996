#pragma once

#include "device/transport.h"

namespace korvalend {

// The two commands of the drive maker's own protocol, as the constant blocks they are sent as.
inline constexpr CommandBlock kVendorReadMediaIdBlock{0xDF, 0x00, 0x03, 0x01, 0, 0,
                                                      0,    0,    0,    0,    0, 0};
inline constexpr CommandBlock kVendorProbeBlock{0xDF, 0x11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

}  // namespace korvalend
