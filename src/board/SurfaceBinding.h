#pragma once

#include <string>

#include "platform/toolkit/PictureBox.h"

namespace Global {

// Fills Target with the picture file at Path, staged through the window's Buff(0), which holds no picture afterwards
// and has its earlier size again.
// A missing file marks Target with AutoRedraw false and touches nothing else.
void LoadPictureToBox(toolkit::PictureBox& Target, const std::string& Path);

}  // namespace Global
