#pragma once

#include <optional>
#include <string>

#include "mediadb/user_media_lists.h"

namespace korvalend {

// The settings key and value that name the user-defined media file.
inline constexpr const char* kSettingsKeyName = "Korvalend";
inline constexpr const char* kUserFileValueName = "UserDefinedFule";

// Outcome of loading the user-defined media file. A [DVD] line with a bad hexadecimal pair ends
// the load: the records before it stay loaded and the conversion error's text is given here for
// the caller to show.
struct UserMediaLoad {
    std::optional<std::string> conversionError;
};

// Empties both lists and fills them from the media file at `path`: lines after a "[CD]" header
// are CD media lines, lines after "[DVD]" DVD media lines (headers in any letter case); other
// lines are tried as media lines of the section in force. A missing or unreadable file leaves
// both lists empty.
UserMediaLoad LoadUserMediaFileFrom(const std::string& path, UserMediaLists& lists);

// Empties both lists and loads them from the file the setting "UserDefinedFule" names; a
// missing or empty setting leaves them empty.
UserMediaLoad LoadUserMediaFile(UserMediaLists& lists);

// What the user-file button reports.
struct UserFileChoiceOutcome {
    std::string message;        // "User-defined file added !" or "User-defined file removed !"
    bool settingStored = true;  // false: the choice holds for this run but was not remembered
    UserMediaLoad load;         // outcome of reloading the lists after a file was added
};

// The user-file button's logic, shared by every front end. With a picked file (a non-empty
// path) it stores the path as the setting and reloads the lists from the file; without one
// (the dialog was cancelled) it stores an empty setting and empties the lists. When the setting
// cannot be stored or read back unchanged, the picked file is still loaded for this run and the
// message says the choice could not be saved.
UserFileChoiceOutcome ApplyUserFileChoice(const std::optional<std::string>& pickedPath,
                                          UserMediaLists& lists);

}  // namespace korvalend
