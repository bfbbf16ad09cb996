#include "support/sim_machine.h"

namespace korvalend::test {

DriveCapture WriterCapture(const sim::DriveProfile& profile, std::vector<RecordedExchange> extra) {
    DriveCapture capture;
    capture.exchanges = std::move(extra);
    sim::AddDriveAnswers(capture, profile);
    return capture;
}

}  // namespace korvalend::test
