#pragma once

#include <atomic>
#include <cstdint>

#include "device/clock.h"

namespace korvalend {

// A clock for drive work that another thread may want to end early. Until Stop() it passes
// everything to the inner clock (sleeping in short slices, so that Stop() is noticed soon).
// After Stop() no sleep waits any more and time jumps far ahead at each sleep, so that every
// wait for a drive runs out at its next look at the clock; only the command in flight is
// still waited for, up to its own time limit.
class StoppableClock final : public Clock {
  public:
    explicit StoppableClock(Clock& inner) : inner_(&inner) {}

    std::int64_t Frequency() const override { return inner_->Frequency(); }
    std::int64_t Now() const override;
    void SleepMilliseconds(std::uint32_t milliseconds) override;
    void Delay(double seconds) override;

    // May be called from any thread.
    void Stop() { stopped_.store(true); }
    bool Stopped() const { return stopped_.load(); }

  private:
    Clock* inner_;
    std::atomic<bool> stopped_{false};
    std::atomic<std::int64_t> skipped_{0};  // ticks added by sleeps after Stop()
};

}  // namespace korvalend
