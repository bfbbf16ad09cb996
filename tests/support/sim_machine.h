#pragma once

#include <memory>
#include <vector>

#include "device/atapi_device.h"
#include "device/sim/mmc_answers.h"
#include "device/sim/simulated_platform.h"

namespace korvalend::test {

// A capture with the given exchanges after the usual discovery answers of a drive.
DriveCapture WriterCapture(const sim::DriveProfile& profile = {},
                           std::vector<RecordedExchange> extra = {});

// A machine of simulated drives in virtual time, with the device object built on it.
class SimMachine {
  public:
    SimMachine() : platform_(clock_) {}

    SimulatedDrive& Add(DriveCapture capture) { return platform_.AddDrive(std::move(capture)); }
    AtapiDevice& Start(int applicationTag = kApplicationTag) {
        device_ = std::make_unique<AtapiDevice>(platform_, clock_, applicationTag);
        return *device_;
    }
    // Starts the device and makes drive 0 current, with the drive's log cleared.
    AtapiDevice& StartSelected() {
        Start();
        device_->SelectDrive(0);
        platform_.Drive(0).ClearLog();
        return *device_;
    }

    VirtualClock& Clock() { return clock_; }
    SimulatedPlatform& Platform() { return platform_; }
    SimulatedDrive& Drive(std::size_t i = 0) { return platform_.Drive(i); }
    AtapiDevice& Device() { return *device_; }

  private:
    VirtualClock clock_;
    SimulatedPlatform platform_;
    std::unique_ptr<AtapiDevice> device_;
};

// A machine with one drive that gives these answers before the usual ones, started, with that
// drive selected and its log empty.
AtapiDevice& SelectedDrive(SimMachine& machine, std::vector<RecordedExchange> answers,
                           const sim::DriveProfile& profile = {});

}  // namespace korvalend::test
