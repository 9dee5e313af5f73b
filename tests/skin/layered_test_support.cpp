// Helpers for the layered window tests: a fixture that resets the focus state, borderless test
// windows, skinned children, a recorder of pushed frames and message pumping.
#include "tests/skin/layered_test_support.h"

#include "skin/layered_window.h"
#include "skin/window_properties.h"
#include "tests/skin/skin_core_support.h"

namespace layered_test {

void LayeredWindowTest::SetUpTestSuite() {
    skin_core_test::EnsureSkinModule();
}

namespace {

void ResetFocusState() {
    focusWindow = nullptr;
    focusEdit = nullptr;
    if (focusComposite) GdipDisposeImage(focusComposite);
    focusComposite = nullptr;
    caretPhase = 0;
    pushObserver = nullptr;
}

const char* PopupClass() {
    static const char* name = [] {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.lpszClassName = "KestruneLayeredTestWindow";
        RegisterClassExA(&windowClass);
        return windowClass.lpszClassName;
    }();
    return name;
}

}  // namespace

void LayeredWindowTest::SetUp() {
    ResetFocusState();
}

void LayeredWindowTest::TearDown() {
    PumpPending();
    ResetFocusState();
}

ScopedWindow CreatePopupWindow(int x, int y, int width, int height, Showing showing) {
    HWND window = CreateWindowExA(0, PopupClass(), "layered test", WS_POPUP, x, y, width, height,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window) return ScopedWindow();
    if (showing == Showing::Shown) ShowWindow(window, SW_SHOWNOACTIVATE);
    if (showing == Showing::ShownActive) ShowWindow(window, SW_SHOW);
    return ScopedWindow(window);
}

HWND CreateChild(HWND parent, const char* className, int x, int y, int width, int height,
                 DWORD extraStyle, const char* text) {
    return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | extraStyle, x, y, width,
                           height, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void SkinAsFilledPanel(HWND child, std::int32_t color) {
    WriteCodeProperty(child, kTypeKey, ControlType::Panel);
    WriteProperty(child, kBackColorKey, color);
    WriteProperty(child, kBackAlphaKey, 255);
    WriteProperty(child, kBorderColorKey, kNoColor);
    WriteProperty(child, kTextColorKey, 0);
}

void SkinAsTextBox(HWND child) {
    SkinAsFilledPanel(child, 0x00FFFFFF);
    WriteProperty(child, kBorderColorKey, 0x007B8084);
    WriteProperty(child, kBorderAlphaKey, 255);
}

std::uint32_t PushedFrame::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    return pixels[static_cast<std::size_t>(height - 1 - y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
}

int PushedFrame::DarkPixelsInColumn(int x, int top, int bottom) const {
    int dark = 0;
    for (int y = top; y < bottom; ++y) {
        const std::uint32_t pixel = At(x, y);
        const bool opaque = (pixel >> 24) == 0xFF;
        const bool blackish =
            ((pixel >> 16) & 0xFF) < 0x40 && ((pixel >> 8) & 0xFF) < 0x40 && (pixel & 0xFF) < 0x40;
        if (opaque && blackish) ++dark;
    }
    return dark;
}

PushRecorder* PushRecorder::current_ = nullptr;

PushRecorder::PushRecorder() {
    current_ = this;
    pushObserver = &PushRecorder::Observe;
}

PushRecorder::~PushRecorder() {
    pushObserver = nullptr;
    current_ = nullptr;
}

void PushRecorder::Observe(HWND window, const std::uint32_t* pixels, std::int32_t width,
                           std::int32_t height) {
    if (!current_) return;
    PushedFrame frame;
    frame.window = window;
    frame.width = width;
    frame.height = height;
    frame.pixels.assign(pixels, pixels + static_cast<std::size_t>(width) * height);
    current_->frames_.push_back(std::move(frame));
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMilliseconds) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMilliseconds;
    for (;;) {
        PumpPending();
        if (done()) return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE,
                                  static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 50)),
                                  QS_ALLINPUT);
    }
}

void PumpPending() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

COLORREF ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF color = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return color;
}

CaretLine ExpectedCaretLine(HWND window, HWND textBox) {
    RECT box{};
    GetWindowRect(textBox, &box);
    POINT corner{box.left, box.top};
    ScreenToClient(window, &corner);
    POINT caret{};
    GetCaretPos(&caret);
    const int top = corner.y + (box.bottom - box.top - 12) / 2;
    return {corner.x + caret.x + 5, top, top + 12};
}

}  // namespace layered_test
