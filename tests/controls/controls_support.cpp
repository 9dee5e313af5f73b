// Helpers for the skinned-control tests: recording windows, message pumping, pixels and images.
#include "tests/controls/controls_support.h"

#include "skin/graphics_startup.h"

#include <algorithm>

namespace controls_test {

namespace {

constexpr const char* kRecorderClass = "KestruneControlTestRecorder";
constexpr DWORD kPumpTimeoutMs = 5000;

void RegisterRecorderClass() {
    static const bool registered = [] {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = RecordingProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        windowClass.lpszClassName = kRecorderClass;
        return RegisterClassExA(&windowClass) != 0;
    }();
    (void)registered;
}

}  // namespace

void StartGraphics() {
    static const bool started = [] {
        InitSkinModule();
        return true;
    }();
    (void)started;
}

int MessageRecorder::Count(UINT message) const {
    return static_cast<int>(
        std::count_if(messages.begin(), messages.end(),
                      [message](const RecordedMessage& each) { return each.message == message; }));
}

std::optional<RecordedMessage> MessageRecorder::Last(UINT message) const {
    for (auto each = messages.rbegin(); each != messages.rend(); ++each) {
        if (each->message == message) return *each;
    }
    return std::nullopt;
}

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* recorder = reinterpret_cast<MessageRecorder*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (recorder == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    recorder->messages.push_back({message, wParam, lParam});
    if (recorder->handler) {
        if (const auto answer = recorder->handler(window, message, wParam, lParam)) return *answer;
    }
    if (message == WM_ERASEBKGND && recorder->background) {
        RECT client{};
        GetClientRect(window, &client);
        ScopedBrush brush(CreateSolidBrush(*recorder->background));
        FillRect(reinterpret_cast<HDC>(wParam), &client, brush.get());
        return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateRecordingWindow(MessageRecorder& recorder, HWND parent, int x, int y, int width,
                           int height, DWORD style, DWORD exStyle) {
    RegisterRecorderClass();
    return CreateWindowExA(exStyle, kRecorderClass, "", style, x, y, width, height, parent, nullptr,
                           GetModuleHandleA(nullptr), &recorder);
}

ScopedWindow CreateParentWindow(MessageRecorder& recorder, COLORREF background, int x, int y,
                                int width, int height) {
    recorder.background = background;
    ScopedWindow window(CreateRecordingWindow(recorder, nullptr, x, y, width, height,
                                              WS_POPUP | WS_BORDER | WS_CLIPCHILDREN));
    ShowWindow(window.get(), SW_SHOW);
    UpdateWindow(window.get());
    return window;
}

HWND CreateChild(HWND parent, const char* className, int x, int y, int width, int height,
                 DWORD style, DWORD exStyle, const char* text) {
    return CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width,
                           height, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool PumpUntil(const std::function<bool()>& condition) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > kPumpTimeoutMs) return condition();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        PumpMessages();
    }
    return true;
}

bool PumpUntilDispatched(HWND window, UINT message, const std::function<void()>& after) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start <= kPumpTimeoutMs) {
        MSG next;
        if (!PeekMessageA(&next, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            continue;
        }
        TranslateMessage(&next);
        DispatchMessageA(&next);
        if (next.hwnd == window && next.message == message) {
            after();
            return true;
        }
    }
    return false;
}

WNDPROC WindowProcedure(HWND window) {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
}

COLORREF WindowPixel(HWND window, int x, int y) {
    ScopedWholeWindowDc dc(window);
    return GetPixel(dc.get(), x, y);
}

void FillWholeWindow(HWND window, COLORREF color) {
    ScopedWholeWindowDc dc(window);
    RECT bounds{};
    GetWindowRect(window, &bounds);
    const RECT area{0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top};
    ScopedBrush brush(CreateSolidBrush(color));
    FillRect(dc.get(), &area, brush.get());
}

int CountWindowPixels(HWND window, const RECT& area, const std::function<bool(COLORREF)>& match) {
    ScopedWholeWindowDc dc(window);
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (match(GetPixel(dc.get(), x, y))) ++count;
        }
    }
    return count;
}

HBITMAP CreateFilledBitmap(int width, int height, COLORREF color) {
    ScopedWindowDc screen(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen.get(), width, height);
    ScopedDc memory(CreateCompatibleDC(screen.get()));
    ScopedSelection selection(memory.get(), bitmap);
    const RECT area{0, 0, width, height};
    ScopedBrush brush(CreateSolidBrush(color));
    FillRect(memory.get(), &area, brush.get());
    return bitmap;
}

COLORREF BitmapPixel(HBITMAP bitmap, int x, int y) {
    ScopedDc memory(CreateCompatibleDC(nullptr));
    ScopedSelection selection(memory.get(), bitmap);
    return GetPixel(memory.get(), x, y);
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP description{};
    GetObjectA(bitmap, sizeof(description), &description);
    return {description.bmWidth, description.bmHeight};
}

MemorySurface::MemorySurface(int width, int height, COLORREF color)
    : dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    selection_.emplace(dc_.get(), bitmap_.get());
    const RECT area{0, 0, width, height};
    ScopedBrush brush(CreateSolidBrush(color));
    FillRect(dc_.get(), &area, brush.get());
}

ScopedGpImage MakeImage(int width, int height, const std::function<ARGB(int, int)>& colorAt) {
    GpBitmap* bitmap = nullptr;
    GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &bitmap);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) GdipBitmapSetPixel(bitmap, x, y, colorAt(x, y));
    }
    return ScopedGpImage(bitmap);
}

ScopedGpImage MakeSolidImage(int width, int height, ARGB color) {
    return MakeImage(width, height, [color](int, int) { return color; });
}

ByteBuffer EncodePng(GpImage* image) {
    // GDI+'s built-in PNG encoder.
    const CLSID pngEncoder{
        0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    IStream* stream = nullptr;
    ByteBuffer bytes;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream))) return bytes;
    if (GdipSaveImageToStream(image, stream, &pngEncoder, nullptr) == Ok) {
        ULARGE_INTEGER end{};
        stream->Seek({}, STREAM_SEEK_CUR, &end);
        HGLOBAL memory = nullptr;
        GetHGlobalFromStream(stream, &memory);
        if (const void* data = GlobalLock(memory)) {
            bytes.Assign(data, static_cast<std::int32_t>(end.QuadPart));
            GlobalUnlock(memory);
        }
    }
    stream->Release();
    return bytes;
}

}  // namespace controls_test
