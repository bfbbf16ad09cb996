#include "device/linux/linux_platform.h"
#include "device/system_platform.h"

namespace korvalend {

std::unique_ptr<DevicePlatform> CreateSystemPlatform() { return std::make_unique<LinuxPlatform>(); }

}  // namespace korvalend
