#include "board/SurfaceBinding.h"

#include "board/BoardHost.h"
#include "platform/toolkit/Runtime.h"

namespace Global {

void LoadPictureToBox(toolkit::PictureBox& Target, const std::string& Path) {
    if (toolkit::Dir(Path).empty()) {
        Target.AutoRedraw(false);
        return;
    }
    toolkit::PictureBox& Staging = TheBoardHost().PictureBuffer(0);
    const float StagingWidth = Staging.Width();
    const float StagingHeight = Staging.Height();
    // The staging surface sizes itself to the picture, so its size is the picture's.
    Staging.Picture(toolkit::LoadPicture(Path));
    // Its image whole at its size, a copy in effect: an opaque picture's pixels stay shared by both surfaces.
    Target.TakeImageOf(Staging);
    // Back to its earlier size before the picture goes, so clearing it fills no picture-sized image.
    Staging.Width(StagingWidth);
    Staging.Height(StagingHeight);
    Staging.Picture(nullptr);
}

}  // namespace Global
