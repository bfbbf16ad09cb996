#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvalend {

// The name of the copy the builder writes, in the current working directory.
inline constexpr std::string_view kBuilderOutputFileName = "Korvalend.Exe";

// The executable image a build starts from, read afresh for each build.
struct PrototypeImage {
    std::vector<std::uint8_t> bytes;
    std::filesystem::perms permissions = std::filesystem::perms::none;
};

// The running program's own executable file, as the platform reports it (empty if unknown).
std::filesystem::path RunningExecutablePath();

// Reads the whole executable file and its permission bits. Gives false when it cannot be read.
bool LoadPrototype(const std::filesystem::path& path, PrototypeImage& prototype);

// Writes the image as `outputPath`, completely or not at all (an earlier file of that name
// stays intact on failure), with `permissions`. On failure gives false and a reason.
bool WriteOutputFile(const std::filesystem::path& outputPath, std::span<const std::uint8_t> image,
                     std::filesystem::perms permissions, std::string* error = nullptr);

enum class MessageCaption { Error, Information };

// "Error" or "Information".
std::string_view CaptionText(MessageCaption caption);

enum class BuildStatus {
    Created,
    NoFileSelected,
    FileNotFound,
    ParameterFileUnreadable,
    PrototypeUnreadable,
    BlockNotFound,
    ConversionError,
    OutputNotWritable,
};

// What a build tells the user: the message box's text and caption kind.
struct BuildOutcome {
    BuildStatus status = BuildStatus::NoFileSelected;
    std::string message;
    MessageCaption caption = MessageCaption::Error;
    // The system's reason when the output could not be written; for a conversion error, the
    // parameter file and line ("params.txt:12").
    std::string detail;

    bool Succeeded() const { return status == BuildStatus::Created; }
};

// One build, as the builder dialog and the command line run it: reads the parameter file
// (path trimmed first) and the prototype, applies the parameters to the prototype's
// configuration block (found by the running program's marker text) and writes the result as
// `outputPath`. Nothing is written unless the whole build succeeds.
BuildOutcome BuildFromParameterFile(const std::string& parameterPath,
                                    const std::string& prototypePath,
                                    const std::string& outputPath);

}  // namespace korvalend
