// The toolkit's own picture decoders, in plain C++ on the field's standard libraries
// (giflib, libjpeg-turbo). They decode straight into the toolkit's pixel layout with
// no plug-in search, which makes them much cheaper at start-up than a GUI library's
// image readers, and a front end on any platform can use them or install its own.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "platform/toolkit/Picture.h"
#include "platform/toolkit/Runtime.h"

namespace toolkit {

bool IsGif(std::span<const std::uint8_t> data);
bool IsJpeg(std::span<const std::uint8_t> data);

// The first image of a GIF file on its logical screen, clipped to it. Pixels of the transparent colour
// and those the image leaves uncovered are 0 (alpha 0) when the file names a transparent
// colour, opaque black otherwise. Colour indices beyond the table show black. Rows below the
// screen are never decoded, and an image that would cost more than twice the screen's pixels to
// reach the rows it shows is refused: the work stays bounded by what the picture shows.
StdPicture DecodeGif(std::span<const std::uint8_t> data);
// A JPEG file (greyscale, colour or CMYK) as opaque pixels.
StdPicture DecodeJpeg(std::span<const std::uint8_t> data);

using OtherFormatDecoder = std::function<StdPicture(std::span<const std::uint8_t> Data)>;

// The file's bytes (those the loader read, or the named file's when it hands over none):
// GIF and JPEG by the decoders above, anything else by `other`.
StdPicture DecodePictureFile(const EncodedPicture& file, const OtherFormatDecoder& other);

// GIF and JPEG by the decoders above, anything else as a 24-bit bitmap: a platform's
// DecodePicture (Platform.h). Each throws PictureLoadError with the cause
// alone, and refuses a size beyond PictureSizeAllowed before taking pixel memory.
StdPicture DecodeStandardPicture(const EncodedPicture& file);

}  // namespace toolkit
