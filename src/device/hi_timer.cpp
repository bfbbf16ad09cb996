#include "device/hi_timer.h"

namespace korvalend {

HiTimer::HiTimer(Clock& clock) : clock_(&clock) {
    frequency_ = clock_->Frequency();
    if (frequency_ <= 0) {
        frequency_ = 0;
        unavailable_ = true;
        return;
    }
    // Calibrate: one plain start and stop, whose cost is taken off every later interval.
    startCount_ = clock_->Now();
    Stop();
    overhead_ = accumulated_;
    startCount_ = 0;
    stopCount_ = 0;
    accumulated_ = 0;
}

HiTimer::~HiTimer() {
    if (!unavailable_ && Running()) Stop();
}

void HiTimer::Start(bool reset) {
    if (unavailable_) return;
    if (reset) Reset();
    startCount_ = clock_->Now();
}

void HiTimer::Stop() {
    if (unavailable_) return;
    stopCount_ = clock_->Now();
    accumulated_ += stopCount_ - startCount_ - overhead_;
    startCount_ = 0;
}

void HiTimer::Reset() {
    if (unavailable_) return;
    if (Running()) Stop();
    accumulated_ = 0;
}

double HiTimer::RunningSeconds() {
    if (unavailable_ || !Running()) return 0.0;
    stopCount_ = clock_->Now();
    return static_cast<double>(stopCount_ - startCount_ - overhead_) /
           static_cast<double>(frequency_);
}

double HiTimer::TotalSeconds() const {
    if (unavailable_) return 0.0;
    if (!Running()) return static_cast<double>(accumulated_) / static_cast<double>(frequency_);
    return static_cast<double>(accumulated_ + stopCount_ - startCount_ - overhead_) /
           static_cast<double>(frequency_);
}

}  // namespace korvalend
