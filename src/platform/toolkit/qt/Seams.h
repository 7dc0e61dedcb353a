// Connects the toolkit's seams to Qt: message boxes, the picture decoder, one pass
// of pending events and the program's folder. Call once a QApplication exists.
#pragma once

#include <string>

#include "platform/toolkit/Picture.h"

namespace toolkit::qt {

void InstallSeams();

// The decoder installed by InstallSeams: every format Qt reads (GIF, JPEG, PNG, BMP...).
StdPicture DecodePicture(const std::string& NativeFileName);

}  // namespace toolkit::qt
