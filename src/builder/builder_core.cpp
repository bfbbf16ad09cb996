#include "builder/builder_core.h"

#include <array>
#include <fstream>
#include <system_error>

#include "builder/ansi_text.h"
#include "builder/atomic_file.h"
#include "builder/configuration_block.h"
#include "builder/parameter_file.h"

namespace korvalend {

namespace {

constexpr std::string_view kNoFileSelected = "No file selected !";
constexpr std::string_view kFileNotExists = "File not exists !";
constexpr std::string_view kParameterFileUnreadable = "Cannot read the parameter file !";
constexpr std::string_view kLoadPrototypeFailed = "Load prototype failed !";
constexpr std::string_view kBlockNotFound = "No configuration block found in the prototype !";
constexpr std::string_view kOutputNotWritable = "Cannot write the output file !";
constexpr std::string_view kFileCreated = "File created successfully !";

// The copy gets the prototype's access bits, without set-user-ID, set-group-ID or sticky bits.
constexpr std::filesystem::perms kCopiedPermissions = std::filesystem::perms::all;

BuildOutcome Outcome(BuildStatus status, std::string_view message,
                     MessageCaption caption = MessageCaption::Error) {
    BuildOutcome outcome;
    outcome.status = status;
    outcome.message = std::string(message);
    outcome.caption = caption;
    return outcome;
}

}  // namespace

std::filesystem::path RunningExecutablePath() {
    std::error_code error;
#if defined(__linux__)
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) return path;
#endif
    return {};
}

bool LoadPrototype(const std::filesystem::path& path, PrototypeImage& prototype) {
    prototype = {};
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error || std::filesystem::is_directory(status)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::vector<std::uint8_t> bytes;
    std::array<char, 65536> chunk{};
    while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0) {
        const auto* first = reinterpret_cast<const std::uint8_t*>(chunk.data());
        bytes.insert(bytes.end(), first, first + in.gcount());
        if (in.eof()) break;
    }
    if (in.bad() || !in.eof()) return false;
    prototype.bytes = std::move(bytes);
    prototype.permissions = status.permissions() & kCopiedPermissions;
    return true;
}

bool WriteOutputFile(const std::filesystem::path& outputPath, std::span<const std::uint8_t> image,
                     std::filesystem::perms permissions, std::string* error) {
    return WriteFileAtomically(outputPath, image, permissions & kCopiedPermissions, error);
}

std::string_view CaptionText(MessageCaption caption) {
    return caption == MessageCaption::Information ? "Information" : "Error";
}

BuildOutcome BuildFromParameterFile(const std::string& parameterPath,
                                    const std::string& prototypePath,
                                    const std::string& outputPath) {
    const std::string path(TrimText(parameterPath));
    if (path.empty()) return Outcome(BuildStatus::NoFileSelected, kNoFileSelected);
    std::error_code error;
    if (!std::filesystem::exists(path, error) || std::filesystem::is_directory(path, error)) {
        return Outcome(BuildStatus::FileNotFound, kFileNotExists);
    }

    std::vector<std::string> lines;
    if (!LoadParameterFile(path, lines)) {
        return Outcome(BuildStatus::ParameterFileUnreadable, kParameterFileUnreadable);
    }
    PrototypeImage prototype;
    if (!LoadPrototype(prototypePath, prototype)) {
        return Outcome(BuildStatus::PrototypeUnreadable, kLoadPrototypeFailed);
    }

    const std::string marker(RunningConfigurationBlock().MarkerText());
    const ApplyOutcome applied = ApplyParameters(lines, prototype.bytes, marker);
    switch (applied.status) {
        case ApplyOutcome::Status::Applied:
            break;
        case ApplyOutcome::Status::BlockNotFound:
            return Outcome(BuildStatus::BlockNotFound, kBlockNotFound);
        case ApplyOutcome::Status::ConversionError: {
            BuildOutcome outcome = Outcome(BuildStatus::ConversionError, applied.errorMessage);
            outcome.detail = parameterPath + ":" + std::to_string(applied.errorLine);
            return outcome;
        }
    }

    std::string reason;
    if (!WriteOutputFile(outputPath, prototype.bytes, prototype.permissions, &reason)) {
        BuildOutcome outcome = Outcome(BuildStatus::OutputNotWritable, kOutputNotWritable);
        outcome.detail = reason;
        return outcome;
    }
    return Outcome(BuildStatus::Created, kFileCreated, MessageCaption::Information);
}

}  // namespace korvalend
