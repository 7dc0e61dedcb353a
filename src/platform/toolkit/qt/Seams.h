// Connects the toolkit's seams to Qt: message boxes, the picture decoder, one pass
// of pending events and the program's folder; and sets up the application's style and
// accessibility. Call once a QApplication exists, before any window is built.
#pragma once

#include "platform/toolkit/Picture.h"
#include "platform/toolkit/Runtime.h"

namespace toolkit::qt {

void InstallSeams();

// The decoder installed by InstallSeams: GIF and JPEG by the toolkit's decoders, every
// other format Qt reads (PNG, BMP...) by Qt, from the bytes the loader read, or from the
// named file when it hands over none.
StdPicture DecodePicture(const EncodedPicture& File);

}  // namespace toolkit::qt
