// The panel and text box: a control with a back colour and image, a 1-pixel border and a text
// colour, painted with GDI in an ordinary parent and by the composition in a layered one.
#include "controls/panel.h"

#include "controls/image_button.h"
#include "skin/control_painter.h"
#include "skin/image_loading.h"
#include "skin/layered_procedures.h"
#include "skin/scoped_handles.h"

#include <algorithm>

namespace {

constexpr std::int32_t kWhite = 0x00FFFFFF;
constexpr std::int32_t kGreyBorder = 0x007B8084;  // red 132, green 128, blue 123
constexpr std::int32_t kBlack = 0;
constexpr std::int32_t kOpaque = 255;

void StoreColor(HWND window, const char* colorKey, const char* alphaKey, std::int32_t color,
                std::optional<std::int32_t> alpha) noexcept {
    WriteProperty(window, colorKey, color);
    if (alpha) WriteProperty(window, alphaKey, std::clamp(*alpha, 0, kOpaque));
}

}  // namespace

void PanelNcPaint(HWND window) noexcept {
    ScopedWholeWindowDc dc(window);
    RECT windowRect{};
    RECT client{};
    GetWindowRect(window, &windowRect);
    GetClientRect(window, &client);
    const std::int32_t width = windowRect.right - windowRect.left;
    const std::int32_t height = windowRect.bottom - windowRect.top;
    const RECT frame{0, 0, width, height};
    const std::int32_t clientWidth = client.right - client.left;
    const std::int32_t clientHeight = client.bottom - client.top;
    // The client area is taken to sit centred in the window, scroll bars or not.
    const std::int32_t offsetX = (width - clientWidth) / 2;
    const std::int32_t offsetY = (height - clientHeight) / 2;
    OffsetRect(&client, offsetX, offsetY);

    const std::int32_t backColor = ReadInt32Property(window, kBackColorKey);
    if (backColor != kNoColor) {
        ScopedBrush brush(CreateSolidBrush(static_cast<COLORREF>(backColor)));
        FillRect(dc.get(), &frame, brush.get());
    }
    if (auto* image = ReadHandleProperty<GpImage*>(window, kBackImageKey)) {
        ScopedGpGraphics graphics;
        GdipCreateFromHDC(dc.get(), graphics.put());
        DrawImagePlaced(graphics.get(), image, 0, 0, width, height,
                        ReadCodeProperty<BackType>(window, kBackTypeKey));
    }
    const std::int32_t borderColor = ReadInt32Property(window, kBorderColorKey);
    if (borderColor != kNoColor) {
        ScopedBrush brush(CreateSolidBrush(static_cast<COLORREF>(borderColor)));
        FrameRect(dc.get(), &frame, brush.get());
    }

    // Taken after the border, so a client area that reaches the window's edge keeps it.
    DeleteObject(ReadHandleProperty<HBITMAP>(window, kCacheBitmapKey));
    ScopedDc memory(CreateCompatibleDC(dc.get()));
    HBITMAP cache = CreateCompatibleBitmap(dc.get(), clientWidth, clientHeight);
    {
        ScopedSelection selection(memory.get(), cache);
        BitBlt(memory.get(), 0, 0, clientWidth, clientHeight, dc.get(), offsetX, offsetY, SRCCOPY);
    }
    WriteHandleProperty(window, kCacheBitmapKey, cache);
}

void PanelEraseFromCache(HWND window, HDC dc) noexcept {
    if (const auto cache = ReadHandleProperty<HBITMAP>(window, kCacheBitmapKey)) {
        RECT client{};
        GetClientRect(window, &client);
        ScopedDc memory(CreateCompatibleDC(dc));
        ScopedSelection selection(memory.get(), cache);
        BitBlt(dc, 0, 0, client.right - client.left, client.bottom - client.top, memory.get(), 0, 0,
               SRCCOPY);
    }
    InvalidateRect(window, nullptr, FALSE);
}

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
        // The system's own frame is never drawn: the panel's replaces it.
        case WM_NCPAINT:
            PanelNcPaint(window);
            return 1;
        case WM_ERASEBKGND:
            PanelEraseFromCache(window, reinterpret_cast<HDC>(wParam));
            return 1;
        // Input that may move or change the text: the whole client area is repainted, background
        // first.
        case WM_KEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_CUT:
        case WM_PASTE:
        case WM_GETDLGCODE:
            InvalidateRect(window, nullptr, TRUE);
            return CallSavedProc(window, message, wParam, lParam);
        default:
            return CallSavedProc(window, message, wParam, lParam);
    }
}

PngPanel::~PngPanel() = default;

void PngPanel::AttachPanel(HWND control) noexcept {
    if (!Attach(control)) return;
    const auto parentType = ReadCodeProperty<ControlType>(GetParent(control), kTypeKey);
    const bool layeredHost = parentType == ControlType::LayeredHost;
    WriteCodeProperty(control, kTypeKey, ControlType::Panel);
    WriteProperty(control, kBackColorKey, layeredHost ? kNoColor : kWhite);
    WriteProperty(control, kBackAlphaKey, kOpaque);
    WriteProperty(control, kBorderColorKey, kGreyBorder);
    WriteProperty(control, kBorderAlphaKey, kOpaque);
    WriteProperty(control, kTextColorKey, kBlack);
    // The frame is recalculated while the control's own procedure is still in place.
    SetWindowPos(control, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    if (layeredHost) {
        const auto previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LayeredPanelProc)));
        WriteHandleProperty(control, kSavedChildProcKey, previous);
    } else {
        HookWindowProc(control, PanelProc);
        InvalidateButtonArea(control);
    }
}

// Without a window the setters do nothing: invalidating a null window would repaint the whole
// desktop.

void PngPanel::SetBackColor(std::int32_t color, std::optional<std::int32_t> alpha) noexcept {
    if (window_ == nullptr) return;
    StoreColor(window_, kBackColorKey, kBackAlphaKey, color, alpha);
    ::SendMessageA(window_, WM_NCPAINT, 0, 0);
    InvalidateRect(window_, nullptr, TRUE);
}

void PngPanel::SetBorderColor(std::int32_t color, std::optional<std::int32_t> alpha) noexcept {
    if (window_ == nullptr) return;
    StoreColor(window_, kBorderColorKey, kBorderAlphaKey, color, alpha);
    ::SendMessageA(window_, WM_NCPAINT, 0, 0);
    InvalidateRect(window_, nullptr, TRUE);
}

void PngPanel::SetForeColor(std::int32_t color) noexcept {
    if (window_ == nullptr) return;
    WriteProperty(window_, kTextColorKey, color);
    InvalidateRect(window_, nullptr, TRUE);
}

void PngPanel::SetBackImage(GpImage* image) noexcept {
    if (window_ == nullptr) return;
    WriteHandleProperty(window_, kBackImageKey, image);
    ::SendMessageA(window_, WM_NCPAINT, 0, 0);
    InvalidateButtonArea(window_);
}

void PngPanel::SetBackImageFromBytes(const ByteBuffer& bytes) noexcept {
    if (window_ == nullptr) return;  // an image loaded for no window would never be used
    SetBackImage(LoadImageFromBytes(bytes));
}

void PngPanel::SetBackType(BackType type) noexcept {
    if (window_ == nullptr) return;
    WriteCodeProperty(window_, kBackTypeKey, type);
    InvalidateRect(window_, nullptr, TRUE);
}

std::string PngPanel::GetText() const noexcept {
    return ReadWindowText(window_);
}
