// The base of the skinned child controls, the hook on their parent and the helpers they share.
#pragma once

#include "skin/window_properties.h"

#include <cstdint>
#include <optional>

// The one tooltip window of the process: none until the first SetToolTip, never destroyed.
extern HWND toolTipWindow;

// Subclasses the window once: while it has no "PngControl_WndProc", installs the procedure and
// keeps the replaced one there; a window that has it is left exactly as it is.
void HookWindowProc(HWND window, WNDPROC procedure) noexcept;

// Hands the message to the procedure kept under the window's "PngControl_WndProc" (the default
// procedure when there is none, so a message never goes to a null procedure).
LRESULT CallSavedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

// new = (old AND NOT clearBits) OR setBits on GWL_STYLE. False, and nothing written, when that
// changes nothing. With extra position flags, SetWindowPos (no move, size, Z order or activation,
// plus those flags) follows the write.
bool ChangeStyle(HWND window, DWORD clearBits = 0, DWORD setBits = 0,
                 UINT extraPositionFlags = 0) noexcept;
// The same on GWL_EXSTYLE.
bool ChangeExStyle(HWND window, DWORD clearBits = 0, DWORD setBits = 0,
                   UINT extraPositionFlags = 0) noexcept;

// The procedure on the parent of skinned controls: repaints image buttons on NM_CUSTOMDRAW,
// invalidates panels whose text changed or scrolled, and answers skinned controls' colour
// requests with a null brush and a transparent background (and a panel's text colour).
LRESULT CALLBACK ParentHookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

// Paints an image control in an ordinary window: its cached background, then the image of its
// draw state placed by its back type. Nothing at all without a cache. Without a DC (or 0), paints
// into the control's window DC.
void RepaintFromCache(HWND control, HDC dc = nullptr) noexcept;

// Takes over an existing child control so that it is drawn over its parent's pixels. The object
// holds the window handle only and does not own the window: nothing is undone when it goes.
// The virtual functions are the class's method table, in its slot order.
class PngControl {
  public:
    PngControl() noexcept = default;
    // Slot 0: the object owns nothing, so there is nothing to release.
    virtual ~PngControl();
    // Slot 1: the copy has the same method table and handle.
    PngControl(const PngControl& other) noexcept = default;
    PngControl& operator=(const PngControl& other) noexcept = default;

    // Clears the control's WS_CLIPSIBLINGS, sets its WS_EX_TRANSPARENT, clears the parent's
    // WS_CLIPCHILDREN and hooks the parent (unless it is skinned itself or already hooked). False,
    // and the object unchanged, for a handle that is not a window.
    virtual bool Attach(HWND control) noexcept;
    virtual HWND GetHandle() const noexcept;
    // SetPropA and GetPropA on the control.
    virtual bool SetProperty(const char* name, std::intptr_t value) noexcept;
    virtual std::intptr_t GetProperty(const char* name) const noexcept;
    // <windows.h> maps SendMessage to SendMessageA; the method keeps the name callers write.
    virtual LRESULT SendMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    // Adds the control's tool to the shared tooltip window at the first call and only changes its
    // text later. Bit 0 of nearPointer (1 when omitted) shows the tip near the pointer; clear, it
    // is centred below the control.
    virtual void SetToolTip(const char* text,
                            std::optional<std::int32_t> nearPointer = std::nullopt) noexcept;
    // Moves and sizes the control in its parent's client coordinates. An omitted value keeps the
    // current one (an explicit 0 is a real coordinate or size); omitting both of a pair skips the
    // move or the size.
    virtual void SetBounds(std::optional<std::int32_t> x = std::nullopt,
                           std::optional<std::int32_t> y = std::nullopt,
                           std::optional<std::int32_t> width = std::nullopt,
                           std::optional<std::int32_t> height = std::nullopt,
                           bool noRedraw = false) noexcept;
    virtual HWND GetHwnd() const noexcept;
    virtual bool IsValid() const noexcept;
    // Invalidates the whole control without erase (nothing without a window: a null handle would
    // invalidate every window on the desktop).
    virtual void Invalidate() noexcept;
    virtual LRESULT SendMsg(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

  protected:
    HWND window_ = nullptr;  // we don't own it
};
