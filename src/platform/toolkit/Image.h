// An image control: a picture drawn by the window over its image.
#pragma once

#include "platform/toolkit/Picture.h"

namespace toolkit {

struct Image {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    StdPicture Picture;
};

}  // namespace toolkit
