#include "device/atapi_device.h"

namespace korvalend {
namespace {

constexpr std::uint32_t kPollIntervalMs = 300;

}  // namespace

bool AtapiDevice::WaitUnitReady(std::int32_t limitSeconds) {
    bool timedOut = false;
    const bool limited = limitSeconds > 0;
    // Without a counter the timer reads 0.0 and could never end a limited wait, so the
    // polls themselves are counted as time there.
    const bool countPolls = limited && waitTimer_.Unavailable();
    std::uint64_t polledMs = 0;
    if (limited) waitTimer_.Start(true);
    for (;;) {
        TestUnitReady();
        const std::string code = SenseCode();
        const bool waiting = code.compare(0, 4, "0204") == 0 || code.compare(0, 2, "06") == 0;
        if (!waiting) break;
        const double waited =
            countPolls ? static_cast<double>(polledMs) / 1000.0 : waitTimer_.RunningSeconds();
        if (limited && !(waited < limitSeconds)) {
            timedOut = true;
            break;
        }
        clock_->SleepMilliseconds(kPollIntervalMs);
        polledMs += kPollIntervalMs;
    }
    // A fresh TEST UNIT READY leaves the sense of the drive's state at the end of the wait.
    TestUnitReady();
    if (limited) waitTimer_.Stop();
    return !timedOut;
}

}  // namespace korvalend
