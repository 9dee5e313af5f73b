// Colour conversion for GDI+ and the aspect-keeping fit of an image into a box (no Windows
// headers).
#pragma once

#include <cstdint>

// A stored colour 0x00BBGGRR (red in the lowest byte; the top byte is ignored) with an alpha 0-255
// becomes the GDI+ colour 0xAARRGGBB. Only the low 8 bits of the alpha survive.
std::uint32_t ToArgb(std::int32_t color, std::int32_t alpha) noexcept;

// Shrinks an image size into a box keeping its aspect, never enlarging it: wider than the box gives
// the box's width, then taller than the box gives the box's height. Computed in double precision,
// each step truncated toward zero; a size equal to the box stays unchanged.
void FitInBox(std::int32_t imageWidth, std::int32_t imageHeight, std::int32_t boxWidth,
              std::int32_t boxHeight, std::int32_t& width, std::int32_t& height) noexcept;
