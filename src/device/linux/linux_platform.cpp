#include "device/linux/linux_platform.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include "device/linux/open_errors.h"
#include "device/linux/sg_connection.h"
#include "device/linux/sysfs_names.h"
#include "device/linux/unique_fd.h"

namespace korvalend {
namespace {

namespace fs = std::filesystem;

// Read-write because SET CD SPEED and SET STREAMING need it; non-blocking so that the open
// neither waits for a disc nor is refused for one that cannot be written.
constexpr int kDeviceOpenFlags = O_RDWR | O_NONBLOCK | O_CLOEXEC;

// The lowest generic node number among the entries of a directory whose names start with
// prefix (there is one in practice).
std::optional<unsigned> LowestGenericNode(const fs::path& directory, std::string_view prefix) {
    std::optional<unsigned> lowest;
    std::error_code error;
    for (fs::directory_iterator it(directory, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!name.starts_with(prefix)) continue;
        if (const auto number = GenericNodeNumber(name); number && (!lowest || *number < *lowest)) {
            lowest = number;
        }
    }
    return lowest;
}

}  // namespace

LinuxPlatform::LinuxPlatform(std::filesystem::path sysfsRoot, std::filesystem::path devRoot)
    : sysfsRoot_(std::move(sysfsRoot)), devRoot_(std::move(devRoot)) {}

std::vector<std::string> LinuxPlatform::EnumerateOpticalDrives() {
    std::vector<std::pair<unsigned, std::string>> found;
    std::error_code error;
    for (fs::directory_iterator it(sysfsRoot_ / "block", error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (const auto number = OpticalDriveNumber(name)) found.emplace_back(*number, name);
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> roots;
    roots.reserve(found.size());
    for (const auto& [number, name] : found) roots.push_back((devRoot_ / name).string());
    return roots;
}

AddressResult LinuxPlatform::QueryAddress(const std::string& root) {
    AddressResult result;
    if (!UniqueFd(::open(root.c_str(), kDeviceOpenFlags)).IsOpen()) return result;

    result.status = AddressStatus::Refused;
    if (const auto device = ResolvedDeviceOf(root)) {
        if (const auto address = ParseScsiAddress(device->filename().string())) {
            result.status = AddressStatus::Known;
            result.address = *address;
        }
    }
    return result;
}

std::uint32_t LinuxPlatform::QueryBusType(const std::string& root) {
    const auto device = ResolvedDeviceOf(root);
    if (!device) return kBusOther;
    // Only the part below the sysfs root tells the bus; the root itself may be anywhere.
    std::error_code error;
    const fs::path base = fs::canonical(sysfsRoot_, error);
    const fs::path below = error ? fs::path() : device->lexically_relative(base);
    return BusKindOfDevicePath(below.empty() ? *device : below);
}

OpenResult LinuxPlatform::Open(const std::string& root) {
    UniqueFd device(::open(root.c_str(), kDeviceOpenFlags));
    if (!device.IsOpen()) {
        const int openError = errno;
        return OpenFailureResult(openError, root, GroupNameOf(root));
    }
    OpenResult result;
    result.connection =
        std::make_unique<SgConnection>(std::move(device), GenericNodeOf(root).value_or(""));
    return result;
}

std::optional<std::string> LinuxPlatform::GenericNodeOf(const std::string& root) const {
    const auto link = DeviceLinkOf(root);
    if (!link) return std::nullopt;
    // Current kernels list the node in a scsi_generic directory; older ones linked
    // "scsi_generic:sgM" straight from the device.
    auto number = LowestGenericNode(*link / "scsi_generic", "sg");
    if (!number) number = LowestGenericNode(*link, "scsi_generic:sg");
    if (!number) return std::nullopt;
    return (devRoot_ / ("sg" + std::to_string(*number))).string();
}

std::optional<std::filesystem::path> LinuxPlatform::DeviceLinkOf(const std::string& root) const {
    const std::string name = fs::path(root).filename().string();
    if (!OpticalDriveNumber(name)) return std::nullopt;
    return sysfsRoot_ / "block" / name / "device";
}

std::optional<std::filesystem::path> LinuxPlatform::ResolvedDeviceOf(
    const std::string& root) const {
    const auto link = DeviceLinkOf(root);
    if (!link) return std::nullopt;
    std::error_code error;
    fs::path resolved = fs::canonical(*link, error);
    if (error) return std::nullopt;
    return resolved;
}

}  // namespace korvalend
