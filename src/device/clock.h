#pragma once

#include <cstdint>

namespace korvalend {

// The one seam through which the program reads time and sleeps, so that waits can run in
// virtual time under test and against simulated drives.
class Clock {
  public:
    virtual ~Clock() = default;
    // Counter ticks per second; 0 when the platform has no high-resolution counter.
    virtual std::int64_t Frequency() const = 0;
    virtual std::int64_t Now() const = 0;
    virtual void SleepMilliseconds(std::uint32_t milliseconds) = 0;
    // Lets time pass for a span finer than a millisecond (a simulated drive at work).
    virtual void Delay(double seconds) = 0;
};

// The monotonic clock of the machine, in nanoseconds.
class SteadyClock final : public Clock {
  public:
    std::int64_t Frequency() const override { return 1'000'000'000; }
    std::int64_t Now() const override;
    void SleepMilliseconds(std::uint32_t milliseconds) override;
    void Delay(double seconds) override;
};

Clock& SystemClock();

// Time that passes only when someone says so: sleeping advances it, and simulated drives
// advance it by the time each command takes.
class VirtualClock final : public Clock {
  public:
    explicit VirtualClock(std::int64_t frequency = 1'000'000'000) : frequency_(frequency) {}
    std::int64_t Frequency() const override { return frequency_; }
    std::int64_t Now() const override { return now_; }
    void SleepMilliseconds(std::uint32_t milliseconds) override;
    void Delay(double seconds) override { AdvanceSeconds(seconds); }
    void AdvanceSeconds(double seconds);
    double ElapsedSeconds() const;
    std::uint64_t SleepCount() const { return sleeps_; }

  private:
    std::int64_t frequency_;
    std::int64_t now_ = 1;  // HiTimer treats a start count of 0 as "not running"
    std::uint64_t sleeps_ = 0;
};

}  // namespace korvalend
