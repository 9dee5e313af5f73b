// The image button: a push button shown as one of four images over its parent's pixels.
#include "controls/image_button.h"

#include "skin/image_loading.h"
#include "skin/scoped_handles.h"

#include <utility>

namespace {

constexpr DWORD kOwnerDrawBits = BS_OWNERDRAW;

DrawState CurrentState(HWND button) noexcept {
    return ReadCodeProperty<DrawState>(button, kDrawStateKey);
}

void OnMouseMove(HWND button) noexcept {
    const DrawState state = CurrentState(button);
    // Hot and Pressed ignore moves: leave tracking is already running for them.
    if (state == DrawState::Hot || state == DrawState::Pressed) return;
    TRACKMOUSEEVENT tracking{sizeof(tracking), TME_LEAVE, button, 0};
    TrackMouseEvent(&tracking);
    SetDrawState(button, DrawState::Hot, true);
}

void OnLeftButtonUp(HWND button) noexcept {
    // Read after the button's own procedure: its BM_SETSTATE 0 has already left Pressed on a
    // click, so a click ends in Normal.
    const bool pressed = CurrentState(button) == DrawState::Pressed;
    SetDrawState(button, pressed ? DrawState::Hot : DrawState::Normal, true);
}

void OnSetState(HWND button, WPARAM pushed) noexcept {
    if (pushed == 1) {
        SetDrawState(button, DrawState::Pressed, false);
    } else {
        const bool focused = ReadProperty(button, kHasFocusKey) != 0;
        SetDrawState(button, focused ? DrawState::Hot : DrawState::Normal, false);
    }
    RepaintFromCache(button);
}

void OnFocusChange(HWND button, bool gained) noexcept {
    WriteProperty(button, kHasFocusKey, gained ? 1 : 0);
    const DrawState state = CurrentState(button);
    if (gained && state == DrawState::Pressed) SetDrawState(button, DrawState::Hot, true);
    if (!gained && state == DrawState::Hot) SetDrawState(button, DrawState::Normal, true);
}

void OnPaint(HWND button) noexcept {
    ScopedPaint paint(button);
    CaptureBackground(button, paint.get());
    RepaintFromCache(button, paint.get());
}

void ForgetCache(HWND button) noexcept {
    DeleteObject(ReadHandleProperty<HBITMAP>(button, kCacheBitmapKey));
    WriteHandleProperty<HBITMAP>(button, kCacheBitmapKey, nullptr);
}

}  // namespace

void SetDrawState(HWND button, DrawState state, bool force) noexcept {
    if (state != CurrentState(button)) {
        WriteCodeProperty(button, kDrawStateKey, state);
        RepaintFromCache(button);
    } else if (force) {
        RepaintFromCache(button);
    }
}

void CaptureBackground(HWND button, HDC paintDc) noexcept {
    RECT bounds{};
    GetWindowRect(button, &bounds);
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    ForgetCache(button);
    ScopedDc memory(CreateCompatibleDC(paintDc));
    HBITMAP cache = CreateCompatibleBitmap(paintDc, width, height);
    {
        ScopedSelection selection(memory.get(), cache);
        BitBlt(memory.get(), 0, 0, width, height, paintDc, 0, 0, SRCCOPY);
    }
    WriteHandleProperty(button, kCacheBitmapKey, cache);
}

void InvalidateButtonArea(HWND button) noexcept {
    const HWND parent = GetParent(button);
    RECT area{};
    GetWindowRect(button, &area);
    POINT corner{area.left, area.top};
    ScreenToClient(parent, &corner);
    OffsetRect(&area, corner.x - area.left, corner.y - area.top);
    InvalidateRect(parent, &area, FALSE);
    InvalidateRect(button, nullptr, FALSE);
}

LRESULT CALLBACK ImageButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
        // Messages the button's own procedure handles first; the new state is read afterwards.
        case WM_MOUSEMOVE:
        case WM_MOUSELEAVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case BM_SETSTATE:
        case WM_ENABLE: {
            const LRESULT result = CallSavedProc(button, message, wParam, lParam);
            switch (message) {
                case WM_MOUSEMOVE:
                    OnMouseMove(button);
                    break;
                case WM_MOUSELEAVE:
                    SetDrawState(button, DrawState::Normal, true);
                    break;
                case WM_LBUTTONDOWN:
                    SetDrawState(button, DrawState::Pressed, true);
                    break;
                case WM_LBUTTONUP:
                    OnLeftButtonUp(button);
                    break;
                case BM_SETSTATE:
                    OnSetState(button, wParam);
                    break;
                default:  // WM_ENABLE
                    SetDrawState(button, wParam != 0 ? DrawState::Normal : DrawState::Disabled,
                                 true);
                    break;
            }
            return result;
        }
        // The button's own procedure would draw a focus rectangle: it never sees focus changes.
        case WM_SETFOCUS:
            OnFocusChange(button, true);
            return 0;
        case WM_KILLFOCUS:
            OnFocusChange(button, false);
            return 0;
        case WM_PAINT:
            OnPaint(button);
            return 0;
        // The parent's pixels under the button are the background: nothing is erased or framed.
        case WM_ERASEBKGND:
            return 1;
        case WM_NCPAINT:
            return 0;
        case WM_NCDESTROY: {
            // The cache belongs to the button's painting and goes with the window.
            const LRESULT result = CallSavedProc(button, message, wParam, lParam);
            ForgetCache(button);
            return result;
        }
        default:
            return CallSavedProc(button, message, wParam, lParam);
    }
}

PngImageButton::~PngImageButton() = default;

HWND PngImageButton::Create(HWND parent, std::int32_t x, std::int32_t y, std::int32_t width,
                            std::int32_t height, const char* caption) noexcept {
    const HWND button = CreateWindowExA(WS_EX_TRANSPARENT, "Button", caption, WS_CHILD | WS_VISIBLE,
                                        x, y, width, height, parent, nullptr, nullptr, nullptr);
    if (button != nullptr) AttachButton(button, nullptr);
    return button;
}

void PngImageButton::AttachButton(HWND button, GpImage* normalImage) noexcept {
    if (!Attach(button)) return;
    WriteCodeProperty(button, kTypeKey, ControlType::ImageButton);
    if (normalImage != nullptr) WriteHandleProperty(button, kNormalImageKey, normalImage);
    // ORed into the type field as it is: a push button (0) or default push button (1) becomes
    // owner-draw (0x0B), so the system draws nothing of it.
    ChangeStyle(button, 0, kOwnerDrawBits);
    HookWindowProc(button, ImageButtonProc);
    InvalidateButtonArea(button);
}

void PngImageButton::SetStateImages(OptionalImage normal, OptionalImage hot, OptionalImage pressed,
                                    OptionalImage disabled) noexcept {
    const std::pair<const char*, const OptionalImage&> images[] = {
        {kNormalImageKey, normal},
        {kHotImageKey, hot},
        {kPressedImageKey, pressed},
        {kDisabledImageKey, disabled},
    };
    for (const auto& [key, image] : images) {
        if (image) SetProperty(key, reinterpret_cast<std::intptr_t>(*image));
    }
}

void PngImageButton::SetStateImagesFromBytes(OptionalBytes normal, OptionalBytes hot,
                                             OptionalBytes pressed,
                                             OptionalBytes disabled) noexcept {
    const std::pair<const char*, const OptionalBytes&> images[] = {
        {kNormalImageKey, normal},
        {kHotImageKey, hot},
        {kPressedImageKey, pressed},
        {kDisabledImageKey, disabled},
    };
    for (const auto& [key, bytes] : images) {
        if (bytes) {
            SetProperty(key, reinterpret_cast<std::intptr_t>(LoadImageFromBytes(bytes->get())));
        }
    }
}

void PngImageButton::SetBackType(BackType type) noexcept {
    SetProperty(kBackTypeKey, static_cast<std::intptr_t>(type));
}
