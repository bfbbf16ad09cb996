#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/sense_data.h"
#include "device/transport.h"

namespace korvalend {

// One recorded answer of a drive to one command.
struct RecordedExchange {
    CommandBlock command{};
    std::uint8_t direction = kDirectionNone;
    std::uint32_t length = 0;
    std::vector<std::uint8_t> data;            // the answer's bytes (data in)
    std::optional<SenseTriple> sense;          // the drive ended the command with these
    std::vector<std::uint8_t> rawSense;        // sense bytes exactly as the drive sent them
    std::optional<std::uint32_t> transferred;  // what the transport reports moved
    double seconds = 0.0;                      // time the drive took
    bool failure = false;                      // the transport failed without sense data
    bool timeout = false;                      // the transport gave up at its time limit
    int line = 0;                              // where it stands in its file
};

// A recorded drive: how the system sees it and how it answered.
struct DriveCapture {
    std::string root;  // device path; empty for "next /dev/srN"
    AddressStatus addressStatus = AddressStatus::Known;
    DriveAddress address{0, 0, 0, 0};
    std::uint32_t busType = kBusOther;
    OpenError openError = OpenError::None;
    std::vector<RecordedExchange> exchanges;
};

struct CaptureParseResult {
    std::optional<DriveCapture> capture;
    std::string error;  // "<name>:<line>: <what is wrong>" when capture is empty
};

CaptureParseResult ParseCapture(std::string_view text, std::string_view sourceName);
CaptureParseResult LoadCaptureFile(const std::string& path);

// The text form of a capture, readable again by ParseCapture.
std::string FormatCapture(const DriveCapture& capture);
std::string FormatExchange(const RecordedExchange& exchange);

}  // namespace korvalend
