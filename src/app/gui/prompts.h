#pragma once

#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace korvalend::gui {

enum class MessageIcon { Stop, Information };

struct Message {
    QString caption;
    QString text;
    MessageIcon icon = MessageIcon::Information;
};

// Every modal message box and open-file dialog of the program goes through here, so that
// tests can answer them instead of a person (a modal dialog would block a test).
class Prompts {
  public:
    // A modal box with one "OK" button.
    static void ShowMessage(QWidget* parent, const Message& message);
    // A modal open-file dialog for an existing file; nothing when it was cancelled.
    static std::optional<QString> OpenFile(QWidget* parent, const QString& filter);

    // What tests put in the place of the dialogs. Empty functions restore the real ones.
    struct Hooks {
        std::function<void(const Message&)> message;
        std::function<std::optional<QString>(const QString& filter)> openFile;
    };
    static void SetHooks(Hooks hooks);
};

// The filter of the open-file dialogs: any file (not only names with a dot, as "*.*" would
// mean here).
inline const char* const kAnyFilesFilter = "Any Files (*)";

}  // namespace korvalend::gui
