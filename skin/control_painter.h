// Drawing of skinned child controls onto a layered window's composition surface, and its helpers.
#pragma once

#include "skin/gdiplus_flat.h"
#include "skin/window_properties.h"

#include <string>

// Draws the child as its window properties describe it (picture, image button in its draw state,
// panel with fill, image, border and text) at its place in the top-level window's client area.
// Reads everything afresh and releases everything it creates; failed steps just draw nothing.
void DrawSkinnedChild(HWND topLevel, HWND child, GpGraphics* graphics) noexcept;

// The image for an image button's draw state, falling back to its normal image; none if neither.
// The image stays owned by the property.
GpImage* StateImage(HWND control, DrawState state) noexcept;

// The window's ANSI text, empty when it has none (or memory is short).
std::string ReadWindowText(HWND window) noexcept;
