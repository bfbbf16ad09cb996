#include "app/core/stoppable_clock.h"

#include <algorithm>

namespace korvalend {
namespace {

constexpr std::uint32_t kSliceMilliseconds = 50;
// Longer than any wait for a drive (the longest is two minutes).
constexpr std::int64_t kSkipSeconds = 3600;

}  // namespace

std::int64_t StoppableClock::Now() const {
    return inner_->Now() + skipped_.load();
}

void StoppableClock::SleepMilliseconds(std::uint32_t milliseconds) {
    while (!stopped_.load()) {
        const std::uint32_t slice = std::min(milliseconds, kSliceMilliseconds);
        inner_->SleepMilliseconds(slice);
        milliseconds -= slice;
        if (milliseconds == 0) return;
    }
    const std::int64_t frequency = inner_->Frequency() > 0 ? inner_->Frequency() : 1000;
    skipped_.fetch_add(kSkipSeconds * frequency);
}

void StoppableClock::Delay(double seconds) {
    if (!stopped_.load()) {
        inner_->Delay(seconds);
        return;
    }
    const std::int64_t frequency = inner_->Frequency() > 0 ? inner_->Frequency() : 1000;
    skipped_.fetch_add(static_cast<std::int64_t>(seconds * static_cast<double>(frequency)));
}

}  // namespace korvalend
