#include "support/sim_machine.h"

namespace korvalend::test {

DriveCapture WriterCapture(const sim::DriveProfile& profile, std::vector<RecordedExchange> extra) {
    DriveCapture capture;
    capture.exchanges = std::move(extra);
    sim::AddDriveAnswers(capture, profile);
    return capture;
}

AtapiDevice& SelectedDrive(SimMachine& machine, std::vector<RecordedExchange> answers,
                           const sim::DriveProfile& profile) {
    machine.Add(WriterCapture(profile, std::move(answers)));
    return machine.StartSelected();
}

}  // namespace korvalend::test
