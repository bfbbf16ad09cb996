#include "device/clock.h"

#include <chrono>
#include <cmath>
#include <thread>

namespace korvalend {

std::int64_t SteadyClock::Now() const {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void SteadyClock::SleepMilliseconds(std::uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void SteadyClock::Delay(double seconds) {
    if (seconds > 0.0) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

Clock& SystemClock() {
    static SteadyClock clock;
    return clock;
}

void VirtualClock::SleepMilliseconds(std::uint32_t milliseconds) {
    ++sleeps_;
    AdvanceSeconds(milliseconds / 1000.0);
}

void VirtualClock::AdvanceSeconds(double seconds) {
    if (!(seconds > 0.0) || frequency_ <= 0) return;
    now_ += static_cast<std::int64_t>(std::llround(seconds * static_cast<double>(frequency_)));
}

double VirtualClock::ElapsedSeconds() const {
    return frequency_ > 0 ? static_cast<double>(now_ - 1) / static_cast<double>(frequency_) : 0.0;
}

}  // namespace korvalend
