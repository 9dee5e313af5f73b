// The image button: a push button shown as one of four images over its parent's pixels.
#pragma once

#include "controls/png_control.h"
#include "skin/byte_buffer.h"
#include "skin/gdiplus_flat.h"

#include <cstdint>
#include <functional>
#include <optional>

// Arguments that may be omitted: an omitted one leaves its state's image as it is, a given null
// image (or bytes that do not load) clears it.
using OptionalImage = std::optional<GpImage*>;
using OptionalBytes = std::optional<std::reference_wrapper<const ByteBuffer>>;

// A button of ControlType 3. In an ordinary parent it paints itself from a copy of its parent's
// pixels taken at each WM_PAINT plus the image of its draw state; in a layered parent the
// composition draws it from the same properties.
class PngImageButton : public PngControl {
  public:
    PngImageButton() noexcept = default;
    ~PngImageButton() override;
    PngImageButton(const PngImageButton& other) noexcept = default;
    PngImageButton& operator=(const PngImageButton& other) noexcept = default;

    // Slot 13: a new visible "Button" child with WS_EX_TRANSPARENT, taken over through
    // AttachButton; its handle, or 0 when the window could not be created.
    virtual HWND Create(HWND parent, std::int32_t x, std::int32_t y, std::int32_t width,
                        std::int32_t height, const char* caption = nullptr) noexcept;
    // Slot 14: takes over an existing button (nothing for a handle that is not a window): type 3,
    // the normal image when one is given, the owner-draw style, ImageButtonProc, and a repaint of
    // its area. The image stays the caller's.
    virtual void AttachButton(HWND button, GpImage* normalImage = nullptr) noexcept;
    // Slot 15: stores each given image; nothing is repainted. The images stay the caller's.
    virtual void SetStateImages(OptionalImage normal = std::nullopt,
                                OptionalImage hot = std::nullopt,
                                OptionalImage pressed = std::nullopt,
                                OptionalImage disabled = std::nullopt) noexcept;
    // Slot 16: loads each given buffer and stores the image (0 when it does not load); nothing is
    // repainted. The images are held by the properties only.
    virtual void SetStateImagesFromBytes(OptionalBytes normal = std::nullopt,
                                         OptionalBytes hot = std::nullopt,
                                         OptionalBytes pressed = std::nullopt,
                                         OptionalBytes disabled = std::nullopt) noexcept;
    // Slot 17: the image placement; nothing is repainted.
    virtual void SetBackType(BackType type) noexcept;
};

// Stores the state and repaints from the cache when it changed, or when forced.
void SetDrawState(HWND button, DrawState state, bool force) noexcept;

// Replaces the cache bitmap (the previous one is deleted) by a copy of what the paint DC shows
// under the button before the button draws anything.
void CaptureBackground(HWND button, HDC paintDc) noexcept;

// Invalidates the button's rectangle in its parent, then the whole button, both without erase:
// the parent's pixels under the button and the button itself are painted anew.
void InvalidateButtonArea(HWND button) noexcept;

// The button's procedure in an ordinary parent: mouse, focus, enable and BM_SETSTATE messages
// become draw states; painting is its own; focus messages never reach the button's own
// procedure.
LRESULT CALLBACK ImageButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
