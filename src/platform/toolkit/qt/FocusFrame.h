// The keyboard focus frame a front end paints over a surface, never into it.
#pragma once

#include <QRect>

class QPainter;

namespace toolkit::qt {

// A dashed frame in the cell's outer three pixels, black dashes on white, which shows on light and dark pictures
// and on the green highlight alike and leaves the inside of the cell untouched.
void PaintFocusFrame(QPainter& painter, const QRect& cell);

}  // namespace toolkit::qt
