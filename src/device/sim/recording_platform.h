#pragma once

#include <map>
#include <string>
#include <vector>

#include "device/clock.h"
#include "device/sim/capture.h"
#include "device/transport.h"

namespace korvalend {

// Passes everything through to another platform and records, per drive, what the system said
// about the drive and every command with the drive's answer, as a capture to replay later.
class RecordingPlatform final : public DevicePlatform {
  public:
    RecordingPlatform(DevicePlatform& inner, Clock& clock) : inner_(&inner), clock_(&clock) {}

    std::vector<std::string> EnumerateOpticalDrives() override;
    AddressResult QueryAddress(const std::string& root) override;
    std::uint32_t QueryBusType(const std::string& root) override;
    OpenResult Open(const std::string& root) override;

    // The recording of one drive, in the order its commands were sent.
    const DriveCapture* CaptureOf(const std::string& root) const;
    void Record(const std::string& root, RecordedExchange exchange);
    Clock& GetClock() { return *clock_; }

  private:
    DriveCapture& Entry(const std::string& root);

    DevicePlatform* inner_;
    Clock* clock_;
    std::map<std::string, DriveCapture> captures_;
};

// The exchange a transport result makes, in the form a simulated drive replays identically.
RecordedExchange ExchangeOf(std::span<const std::uint8_t, kCommandBlockSize> command,
                            std::uint8_t direction, std::span<const std::uint8_t> data,
                            const TransportResult& result, double seconds);

}  // namespace korvalend
