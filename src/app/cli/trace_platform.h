#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "device/clock.h"
#include "device/transport.h"

namespace korvalend::cli {

// Passes everything through and writes each command to a stream as it is sent: device, command
// bytes, direction, length, outcome with the sense code and text, and the time taken.
class TracePlatform final : public DevicePlatform {
  public:
    TracePlatform(DevicePlatform& inner, Clock& clock, std::FILE* out)
        : inner_(&inner), clock_(&clock), out_(out) {}

    std::vector<std::string> EnumerateOpticalDrives() override;
    AddressResult QueryAddress(const std::string& root) override;
    std::uint32_t QueryBusType(const std::string& root) override;
    OpenResult Open(const std::string& root) override;

    Clock& GetClock() { return *clock_; }
    std::FILE* Stream() { return out_; }

  private:
    DevicePlatform* inner_;
    Clock* clock_;
    std::FILE* out_;
};

// One trace line for a command and its outcome.
std::string TraceLine(const std::string& root, std::span<const std::uint8_t, 12> command,
                      std::uint8_t direction, std::size_t length, const TransportResult& result,
                      double seconds);

}  // namespace korvalend::cli
