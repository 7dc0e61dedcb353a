// A picture surface: a rectangle of the window with a device context of the raster
// layer, a persistent image, an optional picture and a mouse-down event.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/gdi/Gdi.h"
#include "platform/toolkit/Picture.h"

namespace toolkit {

class PictureBox {
public:
    // The properties a surface is designed with (pixels, COLORREF colours).
    struct Design {
        int Left = 0;
        int Top = 0;
        int Width = 0;
        int Height = 0;
        gdi::COLORREF BackColor = gdi::RGB(255, 255, 255);
        gdi::COLORREF ForeColor = gdi::RGB(0, 0, 0);  // colour of the surface's own 1-pixel pen
        bool AutoSize = false;                        // takes the size of an assigned picture
        bool AutoRedraw = true;                       // keeps a persistent image
        bool Visible = true;
    };

    explicit PictureBox(const Design& design);
    ~PictureBox();
    PictureBox(const PictureBox&) = delete;
    PictureBox& operator=(const PictureBox&) = delete;

    // The design as it stands now: what a new control-array element copies.
    Design CurrentDesign() const;

    gdi::HDC hDC() const;
    float ScaleWidth() const;
    float ScaleHeight() const;
    float Width() const;
    void Width(float vNewValue);
    float Height() const;
    void Height(float vNewValue);
    int Left() const;
    int Top() const;

    const StdPicture& Picture() const;
    void Picture(StdPicture vNewValue);  // null clears it
    bool AutoRedraw() const;
    void AutoRedraw(bool vNewValue);
    gdi::COLORREF BackColor() const;
    void BackColor(gdi::COLORREF vNewValue);
    bool Visible() const;
    void Visible(bool vNewValue);

    void Cls();
    void Refresh();

    // Raised by the front end for every press: Button 1 left, 2 right, 4 middle;
    // Shift 1 Shift, 2 Ctrl, 4 Alt; X and Y in the surface's pixels.
    std::function<void(std::int16_t Button, std::int16_t Shift, float X, float Y)> MouseDown;

    // Set by a front end: repaint the visible surface from its image now.
    std::function<void()> Repaint;
};

}  // namespace toolkit
