// A line control, drawn by the window over its image.
#pragma once

#include "platform/gdi/Gdi.h"

namespace toolkit {

struct Line {
    int X1 = 0;
    int Y1 = 0;
    int X2 = 0;
    int Y2 = 0;
    gdi::COLORREF BorderColor = gdi::RGB(0, 0, 0);
    int BorderWidth = 1;
};

}  // namespace toolkit
