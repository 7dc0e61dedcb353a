// A reader for 24-bit uncompressed bitmaps held in memory: the pictures that the
// program carries inside itself, and the fallback decoder for picture files.
#pragma once

#include <cstdint>
#include <span>

#include "platform/toolkit/Picture.h"

namespace toolkit {

// Throws PictureLoadError (naming the cause only) for anything but a well-formed
// 24-bit uncompressed bitmap file image of an allowed size.
StdPicture LoadBitmapResource(std::span<const std::uint8_t> Data);

}  // namespace toolkit
