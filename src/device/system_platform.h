#pragma once

#include <memory>

#include "device/transport.h"

namespace korvalend {

// The platform of the machine the program runs on.
std::unique_ptr<DevicePlatform> CreateSystemPlatform();

}  // namespace korvalend
