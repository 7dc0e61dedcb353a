// Pictures decoded by the Windows Imaging Component: GIF, JPEG, PNG, BMP and whatever
// else the system has a codec for.
#pragma once

#include <memory>

#include "platform/toolkit/Picture.h"
#include "platform/toolkit/Runtime.h"

namespace toolkit::win32 {

// While one lives, the pictures decoded on its thread share one imaging factory and one class factory per decoder,
// instead of looking each up in the registry anew. It keeps COM set up on its thread for its life; pictures
// decoded on other threads make their own.
class PictureCodecs {
public:
    PictureCodecs();
    ~PictureCodecs();
    PictureCodecs(const PictureCodecs&) = delete;
    PictureCodecs& operator=(const PictureCodecs&) = delete;

private:
    struct Held;
    std::unique_ptr<Held> held_;
};

// From the bytes the loader read, or from the named file when it hands over none. The
// picture's size is checked before its pixels are taken; transparency stays in the
// alpha channel. Callable on any thread.
StdPicture DecodePicture(const EncodedPicture& file);

}  // namespace toolkit::win32
