// The SetWindowPos flags of a move-and-size whose coordinates and sizes may each be omitted.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

// Shared by both SetBounds so that a skinned window and a skinned control read omitted arguments
// alike: omitting both of a pair skips the move or the size, and the Z order never changes.
inline UINT SetBoundsFlags(std::optional<std::int32_t> left, std::optional<std::int32_t> top,
                           std::optional<std::int32_t> width, std::optional<std::int32_t> height,
                           bool noRedraw) noexcept {
    UINT flags = SWP_NOZORDER;
    if (noRedraw) flags |= SWP_NOREDRAW;
    if (!left && !top) flags |= SWP_NOMOVE;
    if (!width && !height) flags |= SWP_NOSIZE;
    return flags;
}
