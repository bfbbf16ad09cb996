#include "device/sim/recording_platform.h"

#include <algorithm>

namespace korvalend {
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

void CaptureRecorder::OnAddress(const std::string& root, const AddressResult& result) {
    DriveCapture& capture = Entry(root);
    capture.addressStatus = result.status;
    capture.address = result.address;
}

void CaptureRecorder::OnBusType(const std::string& root, std::uint32_t bus) {
    Entry(root).busType = bus;
}

void CaptureRecorder::OnOpen(const std::string& root, const OpenResult& result) {
    Entry(root).openError = result.error;
}

void CaptureRecorder::OnCommand(const std::string& root,
                                std::span<const std::uint8_t, kCommandBlockSize> command,
                                std::uint8_t direction, std::span<const std::uint8_t> data,
                                const TransportResult& result, double seconds) {
    Entry(root).exchanges.push_back(ExchangeOf(command, direction, data, result, seconds));
}

const DriveCapture* CaptureRecorder::CaptureOf(const std::string& root) const {
    const auto it = captures_.find(root);
    return it == captures_.end() ? nullptr : &it->second;
}

DriveCapture& CaptureRecorder::Entry(const std::string& root) {
    DriveCapture& capture = captures_[root];
    capture.root = root;
    return capture;
}

}  // namespace korvalend
