#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "device/clock.h"
#include "device/sim/capture.h"
#include "device/transport.h"

namespace korvalend {

// What a simulated drive was sent.
struct SentCommand {
    CommandBlock command{};
    std::uint8_t direction = kDirectionNone;
    std::uint32_t length = 0;
    std::vector<std::uint8_t> dataOut;
};

// A drive that answers from a capture. A command is matched by its bytes, direction and
// length; several answers to one command are given in order and the last one repeats. A
// command nobody recorded is refused as a real drive refuses an unknown operation code.
class SimulatedDrive {
  public:
    SimulatedDrive(DriveCapture capture, Clock& clock);

    TransportResult Execute(std::span<const std::uint8_t, kCommandBlockSize> command,
                            std::uint8_t direction, std::span<std::uint8_t> data,
                            std::uint32_t timeoutMilliseconds);

    const DriveCapture& Capture() const { return capture_; }
    const std::vector<SentCommand>& Log() const { return log_; }
    void ClearLog() { log_.clear(); }
    std::size_t CountSent(std::uint8_t opcode) const;
    int OpenCount() const { return openCount_; }
    // The time the drive spent on the commands it answered, as the clock measured it.
    double BusySeconds() const { return busySeconds_; }
    void NoteOpened() { ++openCount_; }
    // What opening the drive gives from now on (a node that vanished, permissions changed).
    void SetOpenError(OpenError error) { capture_.openError = error; }

  private:
    struct Key {
        CommandBlock command;
        std::uint8_t direction;
        std::uint32_t length;
        auto operator<=>(const Key&) const = default;
    };
    struct Script {
        std::vector<const RecordedExchange*> answers;
        std::size_t next = 0;
    };

    DriveCapture capture_;
    Clock* clock_;
    std::map<Key, Script> scripts_;
    std::vector<SentCommand> log_;
    int openCount_ = 0;
    double busySeconds_ = 0.0;
};

// A machine whose optical drives are simulated drives, in the order they were added.
class SimulatedPlatform final : public DevicePlatform {
  public:
    explicit SimulatedPlatform(Clock& clock) : clock_(&clock) {}

    // Adds a drive; its root is the capture's device path or else /dev/srN.
    SimulatedDrive& AddDrive(DriveCapture capture);
    std::size_t DriveTotal() const { return drives_.size(); }
    SimulatedDrive& Drive(std::size_t index) { return *drives_.at(index); }

    std::vector<std::string> EnumerateOpticalDrives() override;
    AddressResult QueryAddress(const std::string& root) override;
    std::uint32_t QueryBusType(const std::string& root) override;
    OpenResult Open(const std::string& root) override;

  private:
    SimulatedDrive* Find(const std::string& root);

    Clock* clock_;
    std::vector<std::unique_ptr<SimulatedDrive>> drives_;
};

}  // namespace korvalend
