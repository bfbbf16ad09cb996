#include "support/sim_machine.h"

#include <algorithm>

namespace korvalend::test {

DriveCapture WriterCapture(const sim::DriveProfile& profile, std::vector<RecordedExchange> extra) {
    DriveCapture defaults;
    sim::AddDriveAnswers(defaults, profile);
    DriveCapture capture;
    capture.exchanges = std::move(extra);
    // A command the test answers itself keeps only the test's answers.
    for (const RecordedExchange& d : defaults.exchanges) {
        const bool overridden = std::any_of(
            capture.exchanges.begin(), capture.exchanges.end(), [&](const RecordedExchange& e) {
                return e.command == d.command && e.direction == d.direction && e.length == d.length;
            });
        if (!overridden) capture.exchanges.push_back(d);
    }
    return capture;
}

}  // namespace korvalend::test
