#pragma once

#include <string>

#include "platform/toolkit/PictureBox.h"

namespace Global {

// Fills Target with the picture file at Path, staged through the window's Buff(0), which holds no picture afterwards.
// A missing file marks Target with AutoRedraw false and touches nothing else.
void LoadPictureToBox(toolkit::PictureBox& Target, const std::string& Path);

// Copies the current handles and sizes of Buff(0..3) and Board into the board object. A buffer marked as missing
// leaves its values in the board object as they were.
void RefreshGridSurfaces();

}  // namespace Global
