#pragma once

#include <string>
#include <vector>

#include "device/clock.h"
#include "device/transport.h"

namespace korvalend {

// Told of everything that passes through an ObservingPlatform.
class PlatformObserver {
  public:
    virtual ~PlatformObserver() = default;
    virtual void OnAddress(const std::string& /*root*/, const AddressResult& /*result*/) {}
    virtual void OnBusType(const std::string& /*root*/, std::uint32_t /*bus*/) {}
    virtual void OnOpen(const std::string& /*root*/, const OpenResult& /*result*/) {}
    // After each command: the data phase as it stands afterwards and the time it took.
    virtual void OnCommand(const std::string& root,
                           std::span<const std::uint8_t, kCommandBlockSize> command,
                           std::uint8_t direction, std::span<const std::uint8_t> data,
                           const TransportResult& result, double seconds) = 0;
};

// Passes everything through to another platform and shows it to an observer on the way.
class ObservingPlatform : public DevicePlatform {
  public:
    ObservingPlatform(DevicePlatform& inner, Clock& clock, PlatformObserver& observer)
        : inner_(&inner), clock_(&clock), observer_(&observer) {}

    std::vector<std::string> EnumerateOpticalDrives() override;
    AddressResult QueryAddress(const std::string& root) override;
    std::uint32_t QueryBusType(const std::string& root) override;
    OpenResult Open(const std::string& root) override;

  private:
    DevicePlatform* inner_;
    Clock* clock_;
    PlatformObserver* observer_;
};

}  // namespace korvalend
