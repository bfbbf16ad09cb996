#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "builder/configuration_block.h"
#include "device/atapi_device.h"
#include "mediadb/user_media_lists.h"

namespace korvalend {

// Where the report's lines go, one by one as they are made.
class ReportSink {
  public:
    virtual ~ReportSink() = default;
    virtual void Clear() = 0;
    virtual void AddLine(const std::string& line) = 0;
    // Lets a front end show what it has so far before the drive is waited for.
    virtual void Flush() {}
};

// What one report found, for front ends that show more than the lines.
struct ReportFacts {
    bool hasDriveLine = false;
    std::uint8_t driveType = 0;
    std::string driveTypeName;
    std::uint8_t discType = 0;
    std::string discTypeName;
    bool isCd = false;
    bool isDvd = false;
    std::uint32_t leadIn = 0;
    std::uint32_t leadOut = 0;
    std::int32_t lba = 0;
    double capacityMb = 0.0;
    std::array<std::uint8_t, 12> identifier{};
    std::uint32_t blocks = 0;
    double capacityGb = 0.0;
    std::optional<std::string> maker;
    double writeSpeed = 0.0;  // kB/s
    double readSpeed = 0.0;   // kB/s
    double writeMultiple = 0.0;
    double readMultiple = 0.0;
    std::string lastSenseCode;
    std::string lastSenseText;
};

inline constexpr double kCdSpeedUnit = 176.0;
inline constexpr double kDvdSpeedUnit = 1385.0;

// text extended to width with fill, before it (left) or after it; unchanged when long enough.
std::string PadText(const std::string& text, int width, char fill, bool left);

// Minutes, seconds and frames of an ATIP time as the report reads them from its digits.
struct SplitTime {
    int m = 0;
    int s = 0;
    int f = 0;
};
SplitTime SplitAtipTime(std::uint32_t time);

// The media report of the current drive. record is the drive's entry in the drive list (null
// when no line is selected: nothing is reported).
ReportFacts RunMediaReport(AtapiDevice& device, const DriveRecord* record,
                           const UserMediaLists* user, const ConfigurationBlockView& block,
                           ReportSink& sink);

}  // namespace korvalend
