#pragma once

#include <array>
#include <string>
#include <vector>

#include "device/atapi_device.h"

namespace korvalend {

// The short name of a drive's device (sr0 for /dev/sr0), shown where a drive letter would be.
std::string DeviceShortName(const DriveRecord& record);

// " 1-0-0-0 sr0  VARNOLD DVD+RW DRU-510A  1.0a": the address, the device name left-aligned in
// four columns and a blank, the 24 identification characters right-aligned, a blank and the
// revision right-aligned in four.
std::string FormatDriveLine(const DriveRecord& record);

// Drives that can write: CD-R writers and every type from CD-RW upward.
bool IsListedWriter(const DriveRecord& record);

// The lines of the drive list and, for each line, the drive's index in the device's list.
struct DriveList {
    std::vector<std::string> lines;
    std::array<int, kMaxDrives> driveMap{};  // -1 marks an unused entry
};

DriveList BuildDriveList(const AtapiDevice& device, bool allDrives);

}  // namespace korvalend
