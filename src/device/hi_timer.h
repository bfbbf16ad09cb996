#pragma once

#include <cstdint>

#include "device/clock.h"

namespace korvalend {

// Interval timer on the clock's counter. It subtracts the cost of one Start/Stop pair,
// measured once at construction, from every interval.
class HiTimer {
  public:
    explicit HiTimer(Clock& clock = SystemClock());
    ~HiTimer();
    HiTimer(const HiTimer&) = delete;
    HiTimer& operator=(const HiTimer&) = delete;

    void Start(bool reset);
    void Stop();
    void Reset();
    double RunningSeconds();
    double TotalSeconds() const;

    bool Unavailable() const { return unavailable_; }
    bool Running() const { return startCount_ != 0; }
    std::int64_t Overhead() const { return overhead_; }
    std::int64_t Frequency() const { return frequency_; }

  private:
    Clock* clock_;
    std::int64_t frequency_ = 0;
    std::int64_t startCount_ = 0;
    std::int64_t stopCount_ = 0;
    std::int64_t accumulated_ = 0;
    std::int64_t overhead_ = 0;
    bool unavailable_ = false;
};

}  // namespace korvalend
