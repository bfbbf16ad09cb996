#include "device/sim/simulated_platform.h"

#include <algorithm>

namespace korvalend {
namespace {

class SimulatedConnection final : public DriveConnection {
  public:
    explicit SimulatedConnection(SimulatedDrive& drive) : drive_(&drive) {}
    TransportResult Execute(std::span<const std::uint8_t, kCommandBlockSize> command,
                            std::uint8_t direction, std::span<std::uint8_t> data,
                            std::uint32_t timeoutMilliseconds) override {
        return drive_->Execute(command, direction, data, timeoutMilliseconds);
    }

  private:
    SimulatedDrive* drive_;
};

}  // namespace

SimulatedDrive::SimulatedDrive(DriveCapture capture, Clock& clock)
    : capture_(std::move(capture)), clock_(&clock) {
    for (const RecordedExchange& ex : capture_.exchanges) {
        scripts_[Key{ex.command, ex.direction, ex.length}].answers.push_back(&ex);
    }
}

std::size_t SimulatedDrive::CountSent(std::uint8_t opcode) const {
    return static_cast<std::size_t>(
        std::count_if(log_.begin(), log_.end(),
                      [opcode](const SentCommand& c) { return c.command[0] == opcode; }));
}

TransportResult SimulatedDrive::Execute(std::span<const std::uint8_t, kCommandBlockSize> command,
                                        std::uint8_t direction, std::span<std::uint8_t> data,
                                        std::uint32_t timeoutMilliseconds) {
    SentCommand sent;
    std::copy(command.begin(), command.end(), sent.command.begin());
    sent.direction = direction;
    sent.length = static_cast<std::uint32_t>(data.size());
    if (direction == kDirectionOut) sent.dataOut.assign(data.begin(), data.end());
    log_.push_back(sent);

    TransportResult result;
    auto it = scripts_.find(Key{sent.command, direction, sent.length});
    if (it == scripts_.end() || it->second.answers.empty()) {
        result.sense = MakeFixedSense(SenseTriple{0x05, 0x20, 0x00});
        return result;
    }
    Script& script = it->second;
    const RecordedExchange& answer = *script.answers[script.next];
    if (script.next + 1 < script.answers.size()) ++script.next;

    const double seconds = answer.timeout ? timeoutMilliseconds / 1000.0 : answer.seconds;
    // The time actually spent, so that a sleep that wakes late counts as the drive's time.
    const std::int64_t before = clock_->Now();
    clock_->Delay(seconds);
    if (clock_->Frequency() > 0) {
        busySeconds_ +=
            static_cast<double>(clock_->Now() - before) / static_cast<double>(clock_->Frequency());
    }
    if (answer.timeout) return result;
    std::size_t copied = 0;
    if (direction == kDirectionIn) {
        copied = std::min(data.size(), answer.data.size());
        std::copy_n(answer.data.begin(), copied, data.begin());
    }
    result.transferred = answer.transferred.value_or(
        direction == kDirectionIn ? static_cast<std::uint32_t>(copied) : sent.length);
    if (answer.sense) {
        result.sense = MakeFixedSense(*answer.sense);
    } else if (!answer.rawSense.empty()) {
        result.sense = NormalizeSense(answer.rawSense);
    }
    if (answer.failure) {
        result.transferred = 0;
        return result;
    }
    // A drive may report success and still send sense data with key 0.
    result.completed = !answer.sense && TripleOf(result.sense).senseKey == 0;
    return result;
}

SimulatedDrive& SimulatedPlatform::AddDrive(DriveCapture capture) {
    if (capture.root.empty()) capture.root = "/dev/sr" + std::to_string(drives_.size());
    drives_.push_back(std::make_unique<SimulatedDrive>(std::move(capture), *clock_));
    return *drives_.back();
}

SimulatedDrive* SimulatedPlatform::Find(const std::string& root) {
    for (auto& drive : drives_) {
        if (drive->Capture().root == root) return drive.get();
    }
    return nullptr;
}

std::vector<std::string> SimulatedPlatform::EnumerateOpticalDrives() {
    std::vector<std::string> roots;
    for (const auto& drive : drives_) roots.push_back(drive->Capture().root);
    return roots;
}

AddressResult SimulatedPlatform::QueryAddress(const std::string& root) {
    SimulatedDrive* drive = Find(root);
    if (!drive || drive->Capture().openError != OpenError::None) return {};
    return AddressResult{drive->Capture().addressStatus, drive->Capture().address};
}

std::uint32_t SimulatedPlatform::QueryBusType(const std::string& root) {
    SimulatedDrive* drive = Find(root);
    return drive ? drive->Capture().busType : kBusOther;
}

OpenResult SimulatedPlatform::Open(const std::string& root) {
    SimulatedDrive* drive = Find(root);
    OpenResult result;
    if (!drive) {
        result.error = OpenError::NotFound;
        result.message = root + ": no such device";
        return result;
    }
    switch (drive->Capture().openError) {
        case OpenError::None:
            drive->NoteOpened();
            result.connection = std::make_unique<SimulatedConnection>(*drive);
            return result;
        case OpenError::PermissionDenied:
            result.message = "No permission to open " + root +
                             ": membership of the drive's group is needed to use this drive";
            break;
        case OpenError::Busy:
            result.message = root + ": device busy";
            break;
        default:
            result.message = root + ": no such device";
            break;
    }
    result.error = drive->Capture().openError;
    return result;
}

}  // namespace korvalend
