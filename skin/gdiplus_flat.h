// The flat GDI+ interface (gdiplus.dll's exported functions and handle types), which the skin calls directly.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <objidl.h>
#include <algorithm>

// MinGW's GDI+ headers use the min and max of the Windows headers.
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

// The skin speaks the flat API only: its handles (GpImage*, GpGraphics*, ...) and Gdip* functions.
using namespace Gdiplus;
using namespace Gdiplus::DllExports;
