#include "mediadb/user_media_file.h"

#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "builder/ansi_text.h"
#include "builder/line_file.h"
#include "builder/media_line.h"
#include "sysinfo/os_info.h"

namespace korvalend {

namespace {

constexpr const char* kFileAdded = "User-defined file added !";
constexpr const char* kFileRemoved = "User-defined file removed !";
constexpr const char* kFileAddedNotSaved =
    "User-defined file added, but the choice could not be saved !";
constexpr const char* kFileRemovedNotSaved =
    "User-defined file removed, but the choice could not be saved !";

enum class Section { None, Cd, Dvd };

// True when the setting now holds exactly `path`.
bool SettingHolds(const std::string& path) {
    char stored[256] = {};
    return OSInfo::ReadRegString(kSettingsKeyName, kUserFileValueName, stored) &&
           std::string_view(stored) == path;
}

}  // namespace

UserMediaLoad LoadUserMediaFileFrom(const std::string& path, UserMediaLists& lists) {
    lists.Clear();
    UserMediaLoad load;
    std::error_code error;
    if (path.empty() || !std::filesystem::exists(path, error) ||
        std::filesystem::is_directory(path, error)) {
        return load;
    }
    std::vector<std::string> lines;
    if (!ReadFileLines(path, lines)) return load;

    Section section = Section::None;
    for (const auto& rawLine : lines) {
        const std::string_view line = TrimText(rawLine);
        const std::string upper = UpperCaseAscii(line);
        if (upper == "[CD]") {
            section = Section::Cd;
        } else if (upper == "[DVD]") {
            section = Section::Dvd;
        } else if (section == Section::Cd) {
            if (auto record = ParseCdMediaLine(line)) lists.cdList.push_back(*record);
        } else if (section == Section::Dvd) {
            const DvdLineParse parsed = ParseDvdMediaLine(line);
            if (parsed.outcome == DvdLineParse::Outcome::Accepted) {
                lists.dvdList.push_back(parsed.record);
            } else if (parsed.outcome == DvdLineParse::Outcome::ConversionError) {
                load.conversionError = parsed.errorMessage;
                return load;
            }
        }
    }
    return load;
}

UserMediaLoad LoadUserMediaFile(UserMediaLists& lists) {
    lists.Clear();
    char path[256] = {};
    if (!OSInfo::ReadRegString(kSettingsKeyName, kUserFileValueName, path)) return {};
    return LoadUserMediaFileFrom(path, lists);
}

UserFileChoiceOutcome ApplyUserFileChoice(const std::optional<std::string>& pickedPath,
                                          UserMediaLists& lists) {
    UserFileChoiceOutcome outcome;
    if (pickedPath && !pickedPath->empty()) {
        outcome.settingStored =
            OSInfo::WriteRegString(kSettingsKeyName, kUserFileValueName, pickedPath->c_str()) &&
            SettingHolds(*pickedPath);
        if (outcome.settingStored) {
            outcome.message = kFileAdded;
            outcome.load = LoadUserMediaFile(lists);
        } else {
            outcome.message = kFileAddedNotSaved;
            outcome.load = LoadUserMediaFileFrom(*pickedPath, lists);
        }
        return outcome;
    }
    outcome.settingStored = OSInfo::WriteRegString(kSettingsKeyName, kUserFileValueName, "");
    lists.Clear();
    outcome.message = outcome.settingStored ? kFileRemoved : kFileRemovedNotSaved;
    return outcome;
}

}  // namespace korvalend
