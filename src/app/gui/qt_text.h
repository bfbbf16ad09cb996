#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "app/core/text_encoding.h"

namespace korvalend::gui {

// Texts from drives, the configuration block and files, shown as the command-line tool shows
// them: UTF-8 when they are valid UTF-8, else Windows-1252.
inline QString ToQString(std::string_view bytes) {
    const std::string text = DisplayText(bytes);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A path or text typed by the user, as the core takes it.
inline std::string ToBytes(const QString& text) {
    return text.toStdString();
}

}  // namespace korvalend::gui
