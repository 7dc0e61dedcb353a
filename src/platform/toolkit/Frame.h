// The window's client area at the design's own size, composed through the raster layer: the form's image, its
// lines and images, then the visible picture surfaces, with the keyboard cursor's frame over a table's cell. Labels are
// left to the front end, which draws their text at the screen's resolution. Plain C++, so the composition is the same
// wherever it is tested.
#pragma once

#include "platform/gdi/Gdi.h"
#include "platform/toolkit/Form.h"

namespace toolkit {

struct Rect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    bool Intersects(const Rect& other) const {
        return Left < other.Right && other.Left < Right && Top < other.Bottom && other.Top < Bottom;
    }
    bool Contains(double x, double y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
};

Rect SurfaceRect(const PictureBox& surface);

class Frame {
public:
    explicit Frame(const Form& form);
    ~Frame();
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;

    // Composes the part of the frame that `dirty` covers. Only the surfaces that meet it are painted (which
    // erases those without a persistent image, as a window without backing store would be); the pixels of the
    // rest of the frame are left as they were.
    gdi::SurfaceBits Compose(const Rect& dirty);

    // The visible surface on top at design point (x, y), or null.
    PictureBox* SurfaceAt(double x, double y) const;

private:
    const Form& form_;
    gdi::HDC hdc_ = 0;
};

}  // namespace toolkit
