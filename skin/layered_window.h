// The skinned layered top-level window: composition of its surface, the push to the screen, the
// software caret and its blink timer, and the focus state they share with the layered procedures.
#pragma once

#include "skin/byte_buffer.h"
#include "skin/gdiplus_flat.h"

#include <cstdint>
#include <optional>

// Focus state, shared by every skinned window and the layered-mode procedures; all none at start.
// The top-level window whose layered-mode text box has the keyboard focus.
extern HWND focusWindow;
// That text box.
extern HWND focusEdit;
// The last composite pushed for focusWindow, kept for the blink timer. Owned here: the composition
// that replaces it disposes it.
extern GpImage* focusComposite;
// 1 while the caret line is shown in the current blink period, else 0.
extern std::int32_t caretPhase;

// Test seam: when set, PushLayered hands it the push surface right before UpdateLayeredWindow:
// width x height 32-bit pixels (premultiplied BGRA, rows bottom-up, as UpdateLayeredWindow reads
// them). None by default, and then nothing extra is done.
using PushObserver = void (*)(HWND window, const std::uint32_t* pixels, std::int32_t width,
                              std::int32_t height);
extern PushObserver pushObserver;

// Makes one top-level window a per-pixel-alpha layered window whose whole look is one composed
// image. The object holds nothing but the window handle; all other state is in window properties.
class SkinWindow {
  public:
    SkinWindow() noexcept = default;
    // Does nothing: the window stays layered, with its properties, caret and timer.
    virtual ~SkinWindow();
    // The copy is attached to the same window.
    SkinWindow(const SkinWindow& other) noexcept = default;
    SkinWindow& operator=(const SkinWindow& other) noexcept = default;

    // Replaces the extended style by WS_EX_LAYERED alone, gives the window a 1 x 12 caret and, once
    // per window, the blink timer. False (nothing changed) for a handle that is not a window.
    virtual bool Attach(HWND window) noexcept;
    // Stores the background (an image stored before is not disposed) and composes. False, nothing
    // stored, without an attached window or without an image.
    virtual bool SetBackImage(GpImage* image) noexcept;
    // Loads the bytes and hands the image to SetBackImage (through the virtual call).
    virtual bool SetBackImageFromBytes(const ByteBuffer& bytes) noexcept;
    // Puts every skinned child into its layered-mode procedure and composes the whole window.
    virtual void ApplySkin() noexcept;
    // Moves and sizes the window; an omitted coordinate keeps the current one, and omitting both
    // of a pair skips the move or the size. Composes nothing.
    virtual void SetBounds(std::optional<std::int32_t> left = std::nullopt,
                           std::optional<std::int32_t> top = std::nullopt,
                           std::optional<std::int32_t> width = std::nullopt,
                           std::optional<std::int32_t> height = std::nullopt,
                           bool noRedraw = false) noexcept;
    virtual HWND GetHandle() const noexcept;
    virtual bool IsValid() const noexcept;
    // <windows.h> maps SendMessage to SendMessageA; the method keeps the name callers write.
    virtual LRESULT SendMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

  protected:
    HWND window_ = nullptr;  // we don't own it
};

// Composes the window: the background stretched over the window rectangle, then every skinned
// child (non-zero ControlType) from the top of the Z order down, hidden ones included. With
// returnIt the composite goes to *composite and the caller owns it (nothing is pushed; a null
// composite pointer just disposes it). Otherwise it is pushed without the caret and kept as
// focusComposite when the window is focusWindow, or disposed.
void ComposeSkin(HWND window, GpImage** composite = nullptr, bool returnIt = false) noexcept;

// Puts the image on screen as the window's layered content (the window does not move), with the
// caret line of focusEdit when drawCaret. Nothing happens without a window or an image; the
// image stays its owner's.
void PushLayered(HWND window, GpImage* image, bool drawCaret) noexcept;

// Draws the 1 x 12 caret line of the text box onto graphics whose origin is the window's
// top-left corner: 5 pixels right of the system caret, centred on the box's height.
void DrawSoftCaret(HWND window, HWND textBox, GpGraphics* graphics) noexcept;

// Timer 64 of every skinned window: on the focus window, turns the caret phase over and pushes
// focusComposite again with or without the line. Any other timer id is ignored.
void CALLBACK BlinkTimerProc(HWND window, UINT message, UINT_PTR timerId, DWORD time) noexcept;
