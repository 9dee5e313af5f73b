// The skinned layered top-level window: composition of its surface, the push to the screen, the
// software caret and its blink timer, and the focus state they share with the layered procedures.
#include "skin/layered_window.h"

#include "skin/color_and_placement.h"
#include "skin/control_painter.h"
#include "skin/image_loading.h"
#include "skin/layered_procedures.h"
#include "skin/scoped_handles.h"
#include "skin/window_bounds.h"
#include "skin/window_properties.h"

HWND focusWindow = nullptr;
HWND focusEdit = nullptr;
GpImage* focusComposite = nullptr;
std::int32_t caretPhase = 0;

PushObserver pushObserver = nullptr;

namespace {

// The caret line: 1 pixel wide, 12 high, opaque black.
constexpr std::int32_t kCaretHeight = 12;
constexpr std::int32_t kCaretOffsetX = 5;

struct WindowSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

WindowSize WindowRectangleSize(HWND window) noexcept {
    RECT bounds{};
    if (!GetWindowRect(window, &bounds)) return {};
    return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

// The push surface's header: a top-level 32-bit DIB, rows bottom-up, followed by one zero colour
// entry (BITMAPINFO holds exactly one).
BITMAPINFO PushSurfaceHeader(WindowSize size) noexcept {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = size.width;
    info.bmiHeader.biHeight = size.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage =
        static_cast<DWORD>(size.width) * static_cast<DWORD>(size.height) * 32 / 8;
    return info;
}

// The window takes each pixel's opacity from the surface (premultiplied) and adds none of its own.
constexpr BLENDFUNCTION kPushBlend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};

void DrawChildren(HWND window, GpGraphics* graphics) noexcept {
    // From the top of the Z order down, each over what is already drawn: where two overlap, the
    // lower one ends on top. Hidden children are drawn too.
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ReadProperty(child, kTypeKey) != 0) DrawSkinnedChild(window, child, graphics);
    }
}

// The composite keeps the focus window's latest look for the blink timer; any other is done with.
void KeepOrDispose(HWND window, GpImage* composite) noexcept {
    if (window != focusWindow) {
        GdipDisposeImage(composite);
        return;
    }
    if (focusComposite && focusComposite != composite) GdipDisposeImage(focusComposite);
    focusComposite = composite;
}

}  // namespace

SkinWindow::~SkinWindow() = default;

bool SkinWindow::Attach(HWND window) noexcept {
    if (!IsWindow(window)) return false;
    window_ = window;
    SetWindowLongPtrA(window, GWL_EXSTYLE, WS_EX_LAYERED);
    // The caret is never shown (a layered window would not show it); the focused text box's own
    // caret position is what the software caret follows.
    CreateCaret(window, nullptr, 1, kCaretHeight);
    if (ReadProperty(window, kTimerKey) != 0) return true;
    SetTimer(window, kBlinkTimerId, kBlinkTimerPeriodMs, BlinkTimerProc);
    WriteProperty(window, kTimerKey, static_cast<std::intptr_t>(kBlinkTimerId));
    return true;
}

bool SkinWindow::SetBackImage(GpImage* image) noexcept {
    if (!IsWindow(window_) || !image) return false;
    // An image stored before stays alive: others may still hold it.
    WriteHandleProperty(window_, kBackImageKey, image);
    ComposeSkin(window_);
    return true;
}

bool SkinWindow::SetBackImageFromBytes(const ByteBuffer& bytes) noexcept {
    GpImage* image = LoadImageFromBytes(bytes);
    if (!image) return false;
    if (SetBackImage(image)) return true;
    // Refused (no window): nobody else will ever see this image.
    GdipDisposeImage(image);
    return false;
}

void SkinWindow::ApplySkin() noexcept {
    if (!IsWindow(window_)) return;
    PutChildrenInLayeredMode(window_);
    ComposeSkin(window_);
}

void SkinWindow::SetBounds(std::optional<std::int32_t> left, std::optional<std::int32_t> top,
                           std::optional<std::int32_t> width, std::optional<std::int32_t> height,
                           bool noRedraw) noexcept {
    RECT bounds{};
    GetWindowRect(window_, &bounds);
    const UINT flags = SetBoundsFlags(left, top, width, height, noRedraw);
    SetWindowPos(window_, nullptr, left.value_or(bounds.left), top.value_or(bounds.top),
                 width.value_or(bounds.right - bounds.left),
                 height.value_or(bounds.bottom - bounds.top), flags);
}

HWND SkinWindow::GetHandle() const noexcept {
    return window_;
}

bool SkinWindow::IsValid() const noexcept {
    return IsWindow(window_) == TRUE;
}

LRESULT SkinWindow::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    return ::SendMessageA(window_, message, wParam, lParam);
}

void ComposeSkin(HWND window, GpImage** composite, bool returnIt) noexcept {
    if (returnIt && composite) *composite = nullptr;
    const WindowSize size = WindowRectangleSize(window);
    GpBitmap* bitmap = nullptr;
    if (size.width <= 0 || size.height <= 0 ||
        GdipCreateBitmapFromScan0(size.width, size.height, 0, PixelFormat32bppARGB, nullptr,
                                  &bitmap) != Ok ||
        !bitmap) {
        return;
    }
    GpImage* image = bitmap;
    {
        // The drawing context goes before the composite is pushed, kept or handed over.
        ScopedGpGraphics graphics;
        GdipGetImageGraphicsContext(image, graphics.put());
        if (graphics) {
            if (auto* background = ReadHandleProperty<GpImage*>(window, kBackImageKey)) {
                REAL width = 0, height = 0;
                GdipGetImageDimension(image, &width, &height);
                GdipDrawImageRect(graphics.get(), background, 0, 0, width, height);
            }
            DrawChildren(window, graphics.get());
        }
    }
    if (returnIt) {
        if (composite) {
            *composite = image;
        } else {
            GdipDisposeImage(image);
        }
        return;
    }
    PushLayered(window, image, false);
    KeepOrDispose(window, image);
}

void PushLayered(HWND window, GpImage* image, bool drawCaret) noexcept {
    if (!IsWindow(window) || !image) return;
    const WindowSize size = WindowRectangleSize(window);
    ScopedWholeWindowDc windowDc(window);
    ScopedDc memoryDc(CreateCompatibleDC(windowDc.get()));
    if (!memoryDc) return;
    const BITMAPINFO header = PushSurfaceHeader(size);
    // The pixels are only asked for when someone watches the push.
    void* pixels = nullptr;
    ScopedBitmap surface(CreateDIBSection(memoryDc.get(), &header, DIB_RGB_COLORS,
                                          pushObserver ? &pixels : nullptr, nullptr, 0));
    // Declared after the surface, so the old bitmap goes back before the surface is deleted.
    ScopedSelection selection(memoryDc.get(), surface.get());
    {
        ScopedGpGraphics graphics;
        GdipCreateFromHDC(memoryDc.get(), graphics.put());
        if (graphics) {
            UINT width = 0, height = 0;
            GdipGetImageWidth(image, &width);
            GdipGetImageHeight(image, &height);
            GdipDrawImageRect(graphics.get(), image, 0, 0, static_cast<REAL>(width),
                              static_cast<REAL>(height));
            if (drawCaret && focusEdit) DrawSoftCaret(window, focusEdit, graphics.get());
        }
    }
    if (pushObserver && pixels) {
        GdiFlush();
        pushObserver(window, static_cast<const std::uint32_t*>(pixels), size.width, size.height);
    }
    SIZE extent{size.width, size.height};
    POINT source{0, 0};
    BLENDFUNCTION blend = kPushBlend;
    UpdateLayeredWindow(window, windowDc.get(), nullptr, &extent, memoryDc.get(), &source, 0,
                        &blend, ULW_ALPHA);
}

void DrawSoftCaret(HWND window, HWND textBox, GpGraphics* graphics) noexcept {
    RECT box{};
    GetWindowRect(textBox, &box);
    const std::int32_t boxHeight = box.bottom - box.top;
    POINT corner{box.left, box.top};
    ScreenToClient(window, &corner);
    POINT caret{};
    GetCaretPos(&caret);
    const auto x =
        static_cast<std::int32_t>(static_cast<double>(corner.x) + caret.x + kCaretOffsetX);
    const auto y = static_cast<std::int32_t>(corner.y + (boxHeight - kCaretHeight) / 2.0);
    ScopedGpPen pen;
    GdipCreatePen1(ToArgb(0, 255), 1.0f, UnitWorld, pen.put());
    if (!pen) return;
    GdipDrawLine(graphics, pen.get(), static_cast<REAL>(x), static_cast<REAL>(y),
                 static_cast<REAL>(x), static_cast<REAL>(y + kCaretHeight));
}

void CALLBACK BlinkTimerProc(HWND window, UINT, UINT_PTR timerId, DWORD) noexcept {
    if (timerId != kBlinkTimerId) return;
    if (window != focusWindow || !focusEdit || !focusComposite) return;
    caretPhase = (caretPhase & 1) ^ 1;
    PushLayered(focusWindow, focusComposite, caretPhase != 0);
}
