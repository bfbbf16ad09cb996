#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "app/core/stoppable_clock.h"
#include "device/transport.h"

namespace korvalend {

// The platform and clock for drive work that another thread may end early. Until Stop() both
// pass everything through. After Stop() no further command reaches a drive (each is refused at
// once, as by a transport that failed), no drive is found or opened, and every wait runs out at
// its next look at the clock; so the work on hand runs to its end quickly, and only the
// command already in flight is waited for.
class StoppableDrives final : public DevicePlatform {
  public:
    StoppableDrives(DevicePlatform& inner, Clock& clock) : inner_(&inner), clock_(clock) {}

    std::vector<std::string> EnumerateOpticalDrives() override;
    AddressResult QueryAddress(const std::string& root) override;
    std::uint32_t QueryBusType(const std::string& root) override;
    OpenResult Open(const std::string& root) override;

    Clock& GetClock() { return clock_; }
    // May be called from any thread.
    void Stop();
    bool Stopped() const { return stopped_->load(); }

  private:
    DevicePlatform* inner_;
    StoppableClock clock_;
    std::shared_ptr<std::atomic<bool>> stopped_ = std::make_shared<std::atomic<bool>>(false);
};

}  // namespace korvalend
