// Helpers for the skin tests: the skin module's start-up once per process, image bytes made by the
// tests, GDI+ images of known pixels, test windows and an off-screen composition surface.
#pragma once

#include "skin/byte_buffer.h"
#include "skin/gdiplus_flat.h"
#include "skin/scoped_handles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace skin_core_test {

// Runs InitSkinModule the first time it is called in this process.
void EnsureSkinModule();

// A fixture for suites that need GDI+.
class SkinModuleTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { EnsureSkinModule(); }
};

// PNG bytes (8-bit RGBA, stored deflate blocks) of pixels given as 0xAARRGGBB, row by row.
ByteBuffer EncodePng(int width, int height, const std::vector<std::uint32_t>& pixels);

// GIF89a bytes of an animation whose frames each fill the whole width x height with one colour
// (0x00RRGGBB) of a two-colour table: frame i uses colour index i % 2.
ByteBuffer EncodeAnimatedGif(int width, int height, std::uint32_t firstColor,
                             std::uint32_t secondColor, int frames);

// A 32bpp ARGB GDI+ bitmap whose pixel (x, y) is colorAt(x, y).
ScopedGpImage MakeImage(int width, int height, const std::function<ARGB(int, int)>& colorAt);
ScopedGpImage MakeSolidImage(int width, int height, ARGB color);

ARGB ImagePixel(GpImage* image, int x, int y);

// Windows destroyed at the end of the scope.
using ScopedWindow = ScopedHandle<NullIsNoneTraits<HWND, &DestroyWindow>>;

// A hidden top-level window with a caption (so that its client area does not start at its window
// corner) whose client area is width x height.
ScopedWindow CreateTopLevelWindow(int clientWidth, int clientHeight);
// A child at (x, y) of the parent's client area, width x height including its own border.
HWND CreateChildWindow(HWND parent, const char* className, int x, int y, int width, int height,
                       DWORD extraStyle = 0, const char* text = "");

// A window-sized ARGB surface filled with one colour, with its GDI+ graphics.
class Composite {
  public:
    Composite(int width, int height, ARGB background = 0);
    GpGraphics* graphics() const { return graphics_.get(); }
    ARGB Pixel(int x, int y) const;
    int width() const { return width_; }
    int height() const { return height_; }
    // Pixels of the rectangle (right and bottom exclusive) that differ from the colour.
    int CountOtherThan(int left, int top, int right, int bottom, ARGB color) const;

  private:
    int width_;
    int height_;
    ScopedGpImage bitmap_;
    ScopedGpGraphics graphics_;
};

inline std::uint32_t AlphaOf(ARGB color) {
    return color >> 24;
}

}  // namespace skin_core_test
