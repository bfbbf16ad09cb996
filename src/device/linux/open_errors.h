#pragma once

#include <string>

#include "device/transport.h"

namespace korvalend {

// The failed OpenResult for an errno of open(2) on a drive's device file, with a message for
// the user that names the device. groupName is the group owning the device file, or empty.
OpenResult OpenFailureResult(int errorNumber, const std::string& devicePath,
                             const std::string& groupName);

// Name of the group that owns the file; empty when it cannot be told.
std::string GroupNameOf(const std::string& path);

}  // namespace korvalend
