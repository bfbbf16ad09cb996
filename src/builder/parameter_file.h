#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvalend {

// Reads the builder's parameter file into `lines`, one entry per line (line ends kept, long
// lines in pieces of at most 2047 characters). Gives false, and no lines, when the file cannot
// be read.
bool LoadParameterFile(const std::string& path, std::vector<std::string>& lines);

struct ApplyOutcome {
    enum class Status {
        Applied,          // the block in the image holds the parameters, mode character "0"
        BlockNotFound,    // no marker, or no whole block after it; the image is untouched
        ConversionError,  // a [DVD] line with a bad hexadecimal pair; the image is untouched
    };
    Status status = Status::BlockNotFound;
    std::string errorMessage;     // the conversion error's text
    std::size_t errorLine = 0;    // the file line it stands on, counted from 1
    std::size_t blockOffset = 0;  // where the block starts in the image, when Applied
};

// Finds the configuration block in the executable image by `marker` and writes the parameter
// lines' sections into it: [PROPERTY], [STEP1], [STEP2], [STEP3], [COPYRIGHT], [REMARK], [CD]
// and [DVD]. The image changes only when the whole file was applied.
ApplyOutcome ApplyParameters(const std::vector<std::string>& lines, std::span<std::uint8_t> image,
                             std::string_view marker);

}  // namespace korvalend
