// The window-property keys that carry all skin state, the codes stored under them and the blink
// timer.
#pragma once

#include <windows.h>
// winuser.h maps DrawState to DrawStateA/W; the skin's DrawState is the code below, and the skin
// never calls that GDI function.
#undef DrawState

#include <cstdint>
#include <type_traits>

// Keys. Other code in the process may read and write these same keys on its own windows, so they
// are spelled exactly as that code expects, including the historical misspellings noted below. A
// property does not own what it holds.

// Every skinned child control (and tested on a parent): a ControlType code.
constexpr const char* kTypeKey = "PngControl_Type";
// The skinned top-level window, panels and pictures: a GDI+ image (nobody disposes it).
constexpr const char* kBackImageKey = "PngControl_BackImage";
// Image buttons, panels, pictures: a BackType code.
constexpr const char* kBackTypeKey = "PngControl_BackType";
// Panels: the back colour (0x00BBGGRR or kNoColor) and its alpha 0-255.
constexpr const char* kBackColorKey = "PngControl_BackColor";
constexpr const char* kBackAlphaKey = "PngControl_BackAlpha";
// Panels: the border colour (0x00BBGGRR or kNoColor) and its alpha. "Order" stands for "Border".
constexpr const char* kBorderColorKey = "PngControl_OrderColor";
constexpr const char* kBorderAlphaKey = "PngControl_OrderAlpha";
// Panels: the text colour, always drawn opaque; no value means "none".
constexpr const char* kTextColorKey = "PngControl_TextColor";
// Image buttons: a DrawState code.
constexpr const char* kDrawStateKey = "Nimbo_DrawState";
// Image buttons: the GDI+ images of the four states ("Overl" is the hot image). Nobody disposes
// them.
constexpr const char* kNormalImageKey = "PngControl_NormalImage";
constexpr const char* kHotImageKey = "PngControl_OverlImage";
constexpr const char* kPressedImageKey = "PngControl_DownImage";
constexpr const char* kDisabledImageKey = "PngControl_DisableImage";
// Image buttons: 1 while the button has the keyboard focus ("Foucs" is "Focus").
constexpr const char* kHasFocusKey = "PngControl_IsFoucs";
// Image buttons and panels: the HBITMAP of the pixels behind the control; the next writer deletes
// it.
constexpr const char* kCacheBitmapKey = "PngControl_CacheBitmap";
// Subclassed windows: the ordinary-mode window procedure that was replaced.
constexpr const char* kSavedProcKey = "PngControl_WndProc";
// Children running a layered-mode procedure: the window procedure that was replaced.
constexpr const char* kSavedChildProcKey = "PngControl_ChildWndProc";
// The skinned top-level window: the blink timer's id once the timer runs.
constexpr const char* kTimerKey = "PngControl_Time";
// Controls given a tooltip: 1.
constexpr const char* kToolTipsKey = "Nimbo_ToolTips";
// Loading-dialog windows: a thread handle, a GDI+ image and the HGLOBAL behind it, released on
// WM_DESTROY; and 1 to let the user drag the window by its surface.
constexpr const char* kThreadKey = "Nimbo_Thread";
constexpr const char* kImageKey = "Nimbo_Image";
constexpr const char* kStreamKey = "Nimbo_Stream";
constexpr const char* kHitMoveKey = "NimboHitMove";

// Codes. A stored value may be any integer: readers treat values they do not list as the default
// named by each reader, so these enums are scoped and carry the full pointer-sized value.

// Value of kTypeKey; 0 (absent) means not skinned.
enum class ControlType : std::intptr_t {
    None = 0,
    LayeredHost = 1,  // tested only on a parent
    Picture = 2,
    ImageButton = 3,
    Panel = 4,
};

// Value of kDrawStateKey; absent is Normal.
enum class DrawState : std::intptr_t {
    Normal = 0,
    Hot = 1,
    Pressed = 2,
    Disabled = 3,
};

// Value of kBackTypeKey; absent (and any unlisted value) is Natural.
enum class BackType : std::intptr_t {
    Natural = 0,
    Stretch = 1,
    Fit = 2,
};

// A back or border colour of -1 draws nothing.
constexpr std::int32_t kNoColor = -1;

// The blink timer of each skinned top-level window.
constexpr UINT_PTR kBlinkTimerId = 64;
constexpr UINT kBlinkTimerPeriodMs = 500;

// Typed access. An absent key reads as 0, exactly like a stored 0.

inline std::intptr_t ReadProperty(HWND window, const char* key) noexcept {
    return reinterpret_cast<std::intptr_t>(GetPropA(window, key));
}

inline bool WriteProperty(HWND window, const char* key, std::intptr_t value) noexcept {
    return SetPropA(window, key, reinterpret_cast<HANDLE>(value)) != FALSE;
}

// Colours and alphas are 32-bit values: only the low 32 bits count, so a -1 stored as a 32-bit
// 0xFFFFFFFF and a -1 stored pointer-wide read the same on 64-bit Windows.
inline std::int32_t ReadInt32Property(HWND window, const char* key) noexcept {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(ReadProperty(window, key)));
}

// Handles: GDI+ images, HBITMAPs, window procedures, thread handles, HGLOBALs.
template <typename Handle>
requires std::is_pointer_v<Handle> Handle ReadHandleProperty(HWND window, const char* key)
noexcept {
    return reinterpret_cast<Handle>(GetPropA(window, key));
}

template <typename Handle>
requires std::is_pointer_v<Handle>
bool WriteHandleProperty(HWND window, const char* key, Handle handle) noexcept {
    return SetPropA(window, key, reinterpret_cast<HANDLE>(handle)) != FALSE;
}

// The codes above.
template <typename Code>
requires std::is_enum_v<Code> Code ReadCodeProperty(HWND window, const char* key)
noexcept {
    return static_cast<Code>(ReadProperty(window, key));
}

template <typename Code>
requires std::is_enum_v<Code>
bool WriteCodeProperty(HWND window, const char* key, Code code) noexcept {
    return WriteProperty(window, key, static_cast<std::intptr_t>(code));
}
