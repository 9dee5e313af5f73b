// Drawing of skinned child controls onto a layered window's composition surface, and its helpers.
#pragma once

#include "skin/gdiplus_flat.h"
#include "skin/window_properties.h"

#include <cstdint>
#include <string>

// Draws the child as its window properties describe it (picture, image button in its draw state,
// panel with fill, image, border and text) at its place in the top-level window's client area.
// Reads everything afresh and releases everything it creates; failed steps just draw nothing.
void DrawSkinnedChild(HWND topLevel, HWND child, GpGraphics* graphics) noexcept;

// Draws the image in the box (x, y, width, height) by the back type: stretched, fitted and centred,
// or at its own size from the corner and cut to the box. Every skinned control's image goes
// through it, so that the layered composition and the ordinary painting place it alike.
void DrawImagePlaced(GpGraphics* graphics, GpImage* image, std::int32_t x, std::int32_t y,
                     std::int32_t width, std::int32_t height, BackType backType) noexcept;

// The image for an image button's draw state, falling back to its normal image; none if neither.
// The image stays owned by the property.
GpImage* StateImage(HWND control, DrawState state) noexcept;

// The window's ANSI text, empty when it has none (or memory is short).
std::string ReadWindowText(HWND window) noexcept;
