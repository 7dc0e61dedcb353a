#include "board/SurfaceBinding.h"

#include "board/BoardHost.h"
#include "board/Rounding.h"
#include "platform/gdi/Gdi.h"
#include "platform/toolkit/Runtime.h"

namespace Global {

void LoadPictureToBox(toolkit::PictureBox& Target, const std::string& Path) {
    if (toolkit::Dir(Path).empty()) {
        Target.AutoRedraw(false);
        return;
    }
    toolkit::PictureBox& Staging = TheBoardHost().PictureBuffer(0);
    // The staging surface sizes itself to the picture, so its size is the picture's.
    Staging.Picture(toolkit::LoadPicture(Path));
    Target.Width(Staging.Width());
    Target.Height(Staging.Height());
    const gdi::HDC TargetDC = Target.hDC();
    const std::int32_t Width = Rounding::Nearest32(Target.Width());
    const std::int32_t Height = Rounding::Nearest32(Target.Height());
    gdi::BitBlt(TargetDC, 0, 0, Width, Height, Staging.hDC(), 0, 0, gdi::SRCCOPY);
    Staging.Picture(nullptr);
}

}  // namespace Global
