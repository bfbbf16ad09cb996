#include "device/sim/recording_platform.h"

#include <algorithm>

#include "device/hi_timer.h"

namespace korvalend {
namespace {

class RecordingConnection final : public DriveConnection {
  public:
    RecordingConnection(std::unique_ptr<DriveConnection> inner, RecordingPlatform& owner,
                        std::string root)
        : inner_(std::move(inner)), owner_(&owner), root_(std::move(root)) {}

    TransportResult Execute(std::span<const std::uint8_t, kCommandBlockSize> command,
                            std::uint8_t direction, std::span<std::uint8_t> data,
                            std::uint32_t timeoutMilliseconds) override {
        HiTimer timer(owner_->GetClock());
        timer.Start(true);
        const TransportResult result =
            inner_->Execute(command, direction, data, timeoutMilliseconds);
        timer.Stop();
        owner_->Record(root_, ExchangeOf(command, direction, data, result, timer.TotalSeconds()));
        return result;
    }

  private:
    std::unique_ptr<DriveConnection> inner_;
    RecordingPlatform* owner_;
    std::string root_;
};

}  // namespace

RecordedExchange ExchangeOf(std::span<const std::uint8_t, kCommandBlockSize> command,
                            std::uint8_t direction, std::span<const std::uint8_t> data,
                            const TransportResult& result, double seconds) {
    RecordedExchange ex;
    std::copy(command.begin(), command.end(), ex.command.begin());
    ex.direction = direction;
    ex.length = static_cast<std::uint32_t>(data.size());
    ex.seconds = seconds;
    const SenseTriple triple = TripleOf(result.sense);
    if (direction == kDirectionIn) {
        // What the buffer holds after the command; trailing zeros are what a replay gives too.
        const auto end =
            std::find_if(data.rbegin(), data.rend(), [](std::uint8_t b) { return b != 0; });
        ex.data.assign(data.begin(), end.base());
    }
    const std::uint32_t natural =
        direction == kDirectionIn ? static_cast<std::uint32_t>(ex.data.size()) : ex.length;
    const bool anySense = std::any_of(result.sense.begin(), result.sense.end(),
                                      [](std::uint8_t b) { return b != 0; });
    if (!result.completed && triple.senseKey != 0) {
        ex.sense = triple;
    } else if (anySense) {
        // Sense data with key 0: kept as bytes, so a replay reports the same codes.
        ex.rawSense.assign(result.sense.begin(), result.sense.begin() + 18);
    }
    if (!result.completed && triple.senseKey == 0) ex.failure = true;
    if (!ex.failure && result.transferred != natural) ex.transferred = result.transferred;
    return ex;
}

std::vector<std::string> RecordingPlatform::EnumerateOpticalDrives() {
    return inner_->EnumerateOpticalDrives();
}

AddressResult RecordingPlatform::QueryAddress(const std::string& root) {
    const AddressResult result = inner_->QueryAddress(root);
    DriveCapture& capture = Entry(root);
    capture.addressStatus = result.status;
    capture.address = result.address;
    return result;
}

std::uint32_t RecordingPlatform::QueryBusType(const std::string& root) {
    const std::uint32_t bus = inner_->QueryBusType(root);
    Entry(root).busType = bus;
    return bus;
}

OpenResult RecordingPlatform::Open(const std::string& root) {
    OpenResult result = inner_->Open(root);
    Entry(root).openError = result.error;
    if (result.connection) {
        result.connection =
            std::make_unique<RecordingConnection>(std::move(result.connection), *this, root);
    }
    return result;
}

const DriveCapture* RecordingPlatform::CaptureOf(const std::string& root) const {
    const auto it = captures_.find(root);
    return it == captures_.end() ? nullptr : &it->second;
}

void RecordingPlatform::Record(const std::string& root, RecordedExchange exchange) {
    Entry(root).exchanges.push_back(std::move(exchange));
}

DriveCapture& RecordingPlatform::Entry(const std::string& root) {
    DriveCapture& capture = captures_[root];
    capture.root = root;
    return capture;
}

}  // namespace korvalend
