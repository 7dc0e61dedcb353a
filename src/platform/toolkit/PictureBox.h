// A picture surface: a rectangle of the window with a device context of the raster
// layer, a persistent image, an optional picture and a mouse-down event.
//
// The surface is erased to its BackColor with its Picture drawn at the top-left over
// it: the picture is the surface's background, so Cls and a new BackColor restore it.
// An opaque picture that covers the surface exactly is shown from the picture's own
// pixels, shared with it until something draws on the surface.
//
// With AutoRedraw True, hDC addresses the persistent image, which the front end
// shows. Setting AutoRedraw False gives that image up: hDC then addresses a new,
// non-persistent surface that loses whatever is drawn on it whenever the surface is
// painted (it is erased first, as a window without backing store would be). Device
// contexts handed out before the switch are deleted with the image.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/gdi/Gdi.h"
#include "platform/toolkit/CellTable.h"
#include "platform/toolkit/FormView.h"
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
        StdPicture Picture;  // none by default
    };

    // Sides beyond this are refused (std::out_of_range), as are negative ones. A size the raster layer
    // cannot make a surface of (too many pixels) is refused with std::length_error, and a resize refused
    // so leaves the surface as it was.
    static constexpr int MaxSide = 16384;
    static_assert(MaxSide >= MaxPictureSide, "a surface takes the size of any picture");

    explicit PictureBox(const Design& design);
    ~PictureBox();
    PictureBox(const PictureBox&) = delete;
    PictureBox& operator=(const PictureBox&) = delete;

    // The design as it stands now: what a new control-array element copies.
    Design CurrentDesign() const;

    gdi::HDC hDC() const;
    float ScaleWidth() const;
    float ScaleHeight() const;
    // Written sizes are taken to the nearest whole pixel; the image keeps its
    // top-left content and new pixels take the BackColor.
    float Width() const;
    void Width(float vNewValue);
    float Height() const;
    void Height(float vNewValue);
    int Left() const;
    int Top() const;

    const StdPicture& Picture() const;
    void Picture(StdPicture vNewValue);  // null clears it
    bool AutoSize() const;
    bool AutoRedraw() const;
    void AutoRedraw(bool vNewValue);
    gdi::COLORREF BackColor() const;
    void BackColor(gdi::COLORREF vNewValue);
    gdi::COLORREF ForeColor() const;
    bool Visible() const;
    void Visible(bool vNewValue);

    void Cls();
    void Refresh();
    // Takes the size and the image of Source, as resizing to it and a SRCCOPY of it whole would. Pixels Source
    // shows of its picture stay shared with it: neither surface holds a copy until it is drawn on.
    void TakeImageOf(const PictureBox& Source);

    // For the front end when it paints: the device context whose pixels to show.
    // It never throws, as it runs inside the window system's paint handling.
    gdi::HDC Paint() noexcept;

    // Raised by the front end for every press: Button 1 left, 2 right, 4 middle;
    // Shift 1 Shift, 2 Ctrl, 4 Alt; X and Y in the surface's pixels.
    std::function<void(std::int16_t Button, std::int16_t Shift, float X, float Y)> MouseDown;

    // The table of cells that the keyboard and assistive tools address on this surface, if any. Set by the
    // window before it shows. Whichever of the two goes first unlinks itself from the other.
    CellTable* Table() const { return table_; }
    void Table(CellTable* vNewValue);

private:
    friend class CellTable;
    friend class Form;
    template <typename Control>
    friend class ControlArray;

    void CreateSurface();
    void DestroySurface();
    enum class Blank { No, Yes };
    void Erase(Blank state = Blank::No);
    void Resize(int width, int height);
    void ShowAsItIs(const StdPicture& picture);
    void NotifyChanged();

    Design design_;
    gdi::HDC hdc_ = 0;
    CellTable* table_ = nullptr;
    ViewLink view_;
};

}  // namespace toolkit
