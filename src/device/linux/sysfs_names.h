#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "device/transport.h"

namespace korvalend {

// N of a CD/DVD block device name "srN"; nothing for any other name.
std::optional<unsigned> OpticalDriveNumber(std::string_view name);

// N of a SCSI generic node name: "sgN", or "scsi_generic:sgN" as older kernels link it.
std::optional<unsigned> GenericNodeNumber(std::string_view name);

// host, channel, target and LUN of a SCSI device name "H:C:T:L"; nothing when the name is
// not of that form or a number does not fit the address fields.
std::optional<DriveAddress> ParseScsiAddress(std::string_view name);

// kBusUsb when a component of the device's sysfs path is a USB bus ("usbN"), kBus1394 for
// a FireWire/IEEE 1394 component, kBusOther otherwise. The component nearest the device
// decides.
std::uint32_t BusKindOfDevicePath(const std::filesystem::path& devicePath);

}  // namespace korvalend
