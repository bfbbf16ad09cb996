#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "device/transport.h"

namespace korvalend {

// The optical drives of a Linux system: the kernel's CD/DVD block devices /dev/srN as sysfs
// lists them, addressed by the H:C:T:L of their SCSI device and reached through SG_IO.
class LinuxPlatform final : public DevicePlatform {
  public:
    // The roots can point at a fake tree for tests.
    explicit LinuxPlatform(std::filesystem::path sysfsRoot = "/sys",
                           std::filesystem::path devRoot = "/dev");

    // "<dev>/srN" for every srN under <sysfs>/block, in numeric order (sr2 before sr10).
    std::vector<std::string> EnumerateOpticalDrives() override;
    // Unavailable when the device file cannot be opened read-write (permissions included);
    // Refused when it opens but sysfs gives no H:C:T:L; else host, channel, target, LUN.
    AddressResult QueryAddress(const std::string& root) override;
    std::uint32_t QueryBusType(const std::string& root) override;
    // Opens the device file read-write and non-blocking, so an empty or open tray does not
    // hold it up.
    OpenResult Open(const std::string& root) override;

    // The drive's SCSI generic node "<dev>/sgM", when sysfs names one.
    std::optional<std::string> GenericNodeOf(const std::string& root) const;

  private:
    // <sysfs>/block/srN/device for a root ".../srN"; nothing for another name.
    std::optional<std::filesystem::path> DeviceLinkOf(const std::string& root) const;
    // Path of the drive's SCSI device with every link resolved.
    std::optional<std::filesystem::path> ResolvedDeviceOf(const std::string& root) const;

    std::filesystem::path sysfsRoot_;
    std::filesystem::path devRoot_;
};

}  // namespace korvalend
