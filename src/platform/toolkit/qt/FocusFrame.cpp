#include "platform/toolkit/qt/FocusFrame.h"

#include <QPainter>
#include <QRegion>

namespace toolkit::qt {

namespace {

constexpr int FrameWidth = 3;
constexpr int DashLength = 4;

}  // namespace

void PaintFocusFrame(QPainter& painter, const QRect& cell) {
    if (cell.width() <= 2 * FrameWidth || cell.height() <= 2 * FrameWidth) return;
    const QRect inner = cell.adjusted(FrameWidth, FrameWidth, -FrameWidth, -FrameWidth);
    painter.save();
    painter.setClipRegion(QRegion(cell).subtracted(QRegion(inner)));
    painter.fillRect(cell, Qt::white);
    // Across the top and bottom bands, then down the left and right ones.
    for (int x = cell.left(); x <= cell.right(); x += 2 * DashLength) {
        painter.fillRect(QRect(x, cell.top(), DashLength, FrameWidth), Qt::black);
        painter.fillRect(QRect(x, inner.bottom() + 1, DashLength, FrameWidth), Qt::black);
    }
    for (int y = cell.top(); y <= cell.bottom(); y += 2 * DashLength) {
        painter.fillRect(QRect(cell.left(), y, FrameWidth, DashLength), Qt::black);
        painter.fillRect(QRect(inner.right() + 1, y, FrameWidth, DashLength), Qt::black);
    }
    painter.restore();
}

}  // namespace toolkit::qt
