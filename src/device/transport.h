#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace korvalend {

// Data direction codes as the device object takes them.
inline constexpr std::uint8_t kDirectionOut = 0;
inline constexpr std::uint8_t kDirectionIn = 1;
inline constexpr std::uint8_t kDirectionNone = 2;

// "in", "out" or "none", as traces and capture files write a direction.
constexpr const char* DirectionName(std::uint8_t direction) {
    return direction == kDirectionIn ? "in" : direction == kDirectionOut ? "out" : "none";
}

inline constexpr std::size_t kCommandBlockSize = 12;
inline constexpr std::size_t kSenseBufferSize = 32;
using CommandBlock = std::array<std::uint8_t, kCommandBlockSize>;

// Bus kinds that matter to the program.
inline constexpr std::uint32_t kBusOther = 0;
inline constexpr std::uint32_t kBus1394 = 4;
inline constexpr std::uint32_t kBusUsb = 7;

// What one command through a transport came back with.
struct TransportResult {
    // The transport carried the command and neither the drive nor any layer in between
    // reported a problem. A CHECK CONDITION is reported as false with its sense data.
    bool completed = false;
    // Sense data in fixed format (response code 0x70/0x71); all zero when there is none.
    std::array<std::uint8_t, kSenseBufferSize> sense{};
    // Bytes moved in the data phase as far as the transport can tell.
    std::uint32_t transferred = 0;
};

// One opened drive. Implementations carry exactly one command at a time.
class DriveConnection {
  public:
    virtual ~DriveConnection() = default;
    // data is the whole data phase: the bytes to receive into (in), the bytes to send (out),
    // or empty (none). The transport gives up after timeoutMilliseconds.
    virtual TransportResult Execute(std::span<const std::uint8_t, kCommandBlockSize> command,
                                    std::uint8_t direction, std::span<std::uint8_t> data,
                                    std::uint32_t timeoutMilliseconds) = 0;
};

struct DriveAddress {
    std::int16_t adapter = -1;
    std::int16_t pathId = 0;
    std::int16_t target = -1;
    std::int16_t lun = 0;
};

enum class AddressStatus {
    Known,       // address holds the drive's address
    Refused,     // the drive opened but its address cannot be read: an invented one is used
    Unavailable  // the drive cannot be opened or has no address: its slot stays invalid
};

struct AddressResult {
    AddressStatus status = AddressStatus::Unavailable;
    DriveAddress address;
};

enum class OpenError { None, NotFound, PermissionDenied, Busy, Other };

struct OpenResult {
    std::unique_ptr<DriveConnection> connection;
    OpenError error = OpenError::None;
    std::string message;  // what the system said, for the user
};

// Everything the device object needs from the operating system to find and reach drives.
// Sorting, identification and every MMC algorithm live above this interface.
class DevicePlatform {
  public:
    virtual ~DevicePlatform() = default;
    // The roots (device paths) of the optical drives, in the platform's enumeration order.
    virtual std::vector<std::string> EnumerateOpticalDrives() = 0;
    virtual AddressResult QueryAddress(const std::string& root) = 0;
    // kBusUsb, kBus1394 or kBusOther; kBusOther when it cannot be told.
    virtual std::uint32_t QueryBusType(const std::string& root) = 0;
    virtual OpenResult Open(const std::string& root) = 0;
};

}  // namespace korvalend
