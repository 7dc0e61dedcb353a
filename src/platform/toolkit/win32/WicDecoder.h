// Pictures decoded by the Windows Imaging Component: GIF, JPEG, PNG, BMP and whatever
// else the system has a codec for.
#pragma once

#include "platform/toolkit/Picture.h"
#include "platform/toolkit/Runtime.h"

namespace toolkit::win32 {

// From the bytes the loader read, or from the named file when it hands over none. The
// picture's size is checked before its pixels are taken; transparency stays in the
// alpha channel. Callable on any thread.
StdPicture DecodePicture(const EncodedPicture& file);

}  // namespace toolkit::win32
