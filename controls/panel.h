// The panel and text box: a control with a back colour and image, a 1-pixel border and a text
// colour, painted with GDI in an ordinary parent and by the composition in a layered one.
#pragma once

#include "controls/png_control.h"
#include "skin/byte_buffer.h"
#include "skin/gdiplus_flat.h"

#include <cstdint>
#include <optional>
#include <string>

// A control of ControlType 4. Everything it shows lives in the control's window properties.
class PngPanel : public PngControl {
  public:
    PngPanel() noexcept = default;
    ~PngPanel() override;
    PngPanel(const PngPanel& other) noexcept = default;
    PngPanel& operator=(const PngPanel& other) noexcept = default;

    // Takes the control over (nothing for a handle that is not a window): white fill (none under
    // a parent of ControlType 1), grey opaque border, black text. In an ordinary parent PanelProc
    // paints it; under a parent of ControlType 1 LayeredPanelProc is installed at once.
    virtual void AttachPanel(HWND control) noexcept;
    // The fill colour (-1: none) and, when given, its alpha clamped to 0..255 (an omitted alpha
    // stays as stored); repaints the frame and the client area.
    virtual void SetBackColor(std::int32_t color,
                              std::optional<std::int32_t> alpha = std::nullopt) noexcept;
    // The same for the border.
    virtual void SetBorderColor(std::int32_t color,
                                std::optional<std::int32_t> alpha = std::nullopt) noexcept;
    // The text colour; repaints the client area only.
    virtual void SetForeColor(std::int32_t color) noexcept;
    // The back image (none when omitted); the image stays the caller's and one stored before is
    // not disposed. Repaints the frame and the control's area.
    virtual void SetBackImage(GpImage* image = nullptr) noexcept;
    // Loads the bytes as the back image, which is never disposed.
    virtual void SetBackImageFromBytes(const ByteBuffer& bytes) noexcept;
    // The image placement; shows in an ordinary parent at the next frame painting.
    virtual void SetBackType(BackType type) noexcept;
    // The control's window text.
    virtual std::string GetText() const noexcept;
};

// The panel's procedure in an ordinary parent: it paints the frame itself, erases the client
// area from the cache, and repaints the client area on every input that may move the text.
LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

// Paints the whole window rectangle (fill, image, border) and replaces the cached copy of the
// client area, taken from the client area's centred position after the border is drawn.
void PanelNcPaint(HWND window) noexcept;

// Restores the client area from the cache (if any), then invalidates it without erase so that
// the control's own painting follows.
void PanelEraseFromCache(HWND window, HDC dc) noexcept;
