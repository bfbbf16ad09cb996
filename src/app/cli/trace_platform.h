#pragma once

#include <cstdio>
#include <string>

#include "device/observing_platform.h"

namespace korvalend::cli {

// Writes each command to a stream as it is sent: device, command bytes, direction, length,
// outcome with the sense code and text, and the time taken; and every drive that cannot be
// opened, with the system's reason.
class CommandTracer final : public PlatformObserver {
  public:
    explicit CommandTracer(std::FILE* out) : out_(out) {}
    void OnOpen(const std::string& root, const OpenResult& result) override;
    void OnCommand(const std::string& root,
                   std::span<const std::uint8_t, kCommandBlockSize> command, std::uint8_t direction,
                   std::span<const std::uint8_t> data, const TransportResult& result,
                   double seconds) override;

  private:
    std::FILE* out_;
};

class TracePlatform final : public ObservingPlatform {
  public:
    TracePlatform(DevicePlatform& inner, Clock& clock, std::FILE* out)
        : ObservingPlatform(inner, clock, tracer_), tracer_(out) {}

  private:
    CommandTracer tracer_;
};

// One trace line for a command and its outcome.
std::string TraceLine(const std::string& root, std::span<const std::uint8_t, 12> command,
                      std::uint8_t direction, std::size_t length, const TransportResult& result,
                      double seconds);

}  // namespace korvalend::cli
