// The Windows API for the Win32 front end. The raster layer uses GDI's names for its own constants and helpers
// (RGB, SRCCOPY, PS_SOLID...), which <windows.h> defines as macros: the raster layer is declared first, and the
// macros that would rewrite its names afterwards are dropped. The values are the same, so the front end uses the
// raster layer's constants with the real GDI too.
#pragma once

#include "platform/gdi/Gdi.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>
// COM, for the picture decoder and the program's start; the lean <windows.h> leaves it out.
#include <objbase.h>

#undef RGB
#undef GetRValue
#undef GetGValue
#undef GetBValue
#undef SRCCOPY
#undef SRCAND
#undef SRCPAINT
#undef SRCINVERT
#undef PS_SOLID
#undef PS_NULL
#undef CLR_INVALID
#undef HGDI_ERROR
