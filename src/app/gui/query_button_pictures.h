#pragma once

#include <QIcon>
#include <QPixmap>

namespace korvalend::gui {

// The query button's three pictures, 70 x 45 pixels, drawn at start-up: a question mark in
// front of an optical disc.
inline constexpr int kQueryPictureWidth = 70;
inline constexpr int kQueryPictureHeight = 45;

enum class QueryPicture { Normal, MouseOver, Pressed };

// Normal: a blue question mark; mouse over: a red one; pressed: the red one, shifted.
QPixmap DrawQueryPicture(QueryPicture which);

// The program's icon: the same disc and question mark, square.
QIcon ProgramIcon();

}  // namespace korvalend::gui
