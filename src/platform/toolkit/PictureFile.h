// Structural checks of picture files. Picture decoders fill in whatever a cut-off
// GIF, JPEG or PNG file lacks and report success, so a file cut short is caught
// here, from its block structure, before it is decoded.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace toolkit {

// Why the GIF, JPEG, PNG or bitmap file image `Data` is incomplete; "" when it is
// complete or of another kind (left to the decoder).
std::string IncompletePicture(std::span<const std::uint8_t> Data);

// A GIF frame as its image descriptor places it on the logical screen.
struct GifFrame {
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool Interlaced = false;
};

// How many of the frame's rows a decoder reads, in the order the file stores them, to reach the last one above the
// screen's bottom: the rows after it are never shown.
std::int64_t GifRowsToRead(const GifFrame& Frame, int ScreenHeight);

// Why decoding the first frame of the GIF file image `Data` would cost far more than its logical screen shows; ""
// otherwise. The work is the frame's width times GifRowsToRead; past twice the screen's pixels the frame is refused,
// so a tiny screen cannot stand in front of a huge frame's work. Checked before any decoder runs, so every
// platform's decoder is spared such a file.
std::string OverreachingGif(std::span<const std::uint8_t> Data);
std::string OverreachingGif(const GifFrame& Frame, int ScreenWidth, int ScreenHeight);

}  // namespace toolkit
