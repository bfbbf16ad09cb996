#pragma once

#include <map>
#include <string>

#include "device/observing_platform.h"
#include "device/sim/capture.h"

namespace korvalend {

// Records, per drive, what the system said about the drive and every command with the drive's
// answer, as a capture to replay later.
class CaptureRecorder final : public PlatformObserver {
  public:
    void OnAddress(const std::string& root, const AddressResult& result) override;
    void OnBusType(const std::string& root, std::uint32_t bus) override;
    void OnOpen(const std::string& root, const OpenResult& result) override;
    void OnCommand(const std::string& root,
                   std::span<const std::uint8_t, kCommandBlockSize> command, std::uint8_t direction,
                   std::span<const std::uint8_t> data, const TransportResult& result,
                   double seconds) override;

    // The recording of one drive, in the order its commands were sent.
    const DriveCapture* CaptureOf(const std::string& root) const;

  private:
    DriveCapture& Entry(const std::string& root);
    std::map<std::string, DriveCapture> captures_;
};

// A platform that records everything passing through it.
class RecordingPlatform final : public ObservingPlatform {
  public:
    RecordingPlatform(DevicePlatform& inner, Clock& clock)
        : ObservingPlatform(inner, clock, recorder_) {}
    const DriveCapture* CaptureOf(const std::string& root) const {
        return recorder_.CaptureOf(root);
    }

  private:
    CaptureRecorder recorder_;
};

// The exchange a transport result makes, in the form a simulated drive replays identically.
RecordedExchange ExchangeOf(std::span<const std::uint8_t, kCommandBlockSize> command,
                            std::uint8_t direction, std::span<const std::uint8_t> data,
                            const TransportResult& result, double seconds);

}  // namespace korvalend
