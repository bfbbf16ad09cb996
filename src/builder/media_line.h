#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "builder/media_record.h"

namespace korvalend {

// Media lines: the one-line text form of a media record, used by the [CD] and [DVD] sections of
// the parameter file and of the user-defined media file. Both parsers take a line that has
// already been trimmed; positions count from 1.
//
//   CD:  972660_795974=Sample Maker     (lead-in key, separator, lead-out key, separator, text)
//   DVD: 24 hexadecimal digits (12 bytes), "=" at position 25, maker text from position 26.

// Gives the record, or nothing when the line is rejected.
std::optional<CdMediaRecord> ParseCdMediaLine(std::string_view line);

struct DvdLineParse {
    enum class Outcome { Accepted, Rejected, ConversionError };
    Outcome outcome = Outcome::Rejected;
    DvdMediaRecord record;     // valid when Accepted
    std::string errorMessage;  // the conversion error's text when ConversionError
};

// Gives the record, rejects the line, or reports a hexadecimal pair that is not a number.
DvdLineParse ParseDvdMediaLine(std::string_view line);

// "'<text>' is not a valid integer value"
std::string ConversionErrorMessage(std::string_view text);

}  // namespace korvalend
