// Helpers for the skinned-control tests: recording windows, message pumping, pixels and images.
#pragma once

#include "skin/byte_buffer.h"
#include "skin/gdiplus_flat.h"
#include "skin/scoped_handles.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace controls_test {

// Runs InitSkinModule (GDI+) the first time it is called in this process.
void StartGraphics();

struct RecordedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// What a recording window does with its messages: it keeps each one, lets the handler answer it
// (no answer: the default procedure), and fills its client area with the background colour on
// WM_ERASEBKGND when it has one.
struct MessageRecorder {
    using Handler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;
    std::vector<RecordedMessage> messages;
    Handler handler;
    std::optional<COLORREF> background;

    int Count(UINT message) const;
    // The last recorded message of that kind, if any.
    std::optional<RecordedMessage> Last(UINT message) const;
};

// The window procedure of recording windows: the recorder is the window's GWLP_USERDATA.
LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Windows destroyed at the end of the scope.
using ScopedWindow = ScopedHandle<NullIsNoneTraits<HWND, &DestroyWindow>>;

// A recording window: a top-level window at screen (x, y) without a parent, else a child at
// (x, y) of the parent's client area. The recorder must outlive the window.
HWND CreateRecordingWindow(MessageRecorder& recorder, HWND parent, int x, int y, int width,
                           int height, DWORD style, DWORD exStyle = 0);
// A visible top-level recording window with a plain border, filled with the background colour.
ScopedWindow CreateParentWindow(MessageRecorder& recorder, COLORREF background, int x = 100,
                                int y = 100, int width = 240, int height = 160);
// A visible child window of a system class.
HWND CreateChild(HWND parent, const char* className, int x, int y, int width, int height,
                 DWORD style = 0, DWORD exStyle = 0, const char* text = "");

// Dispatches every queued message (paints included) until the queue is empty.
void PumpMessages();
// Dispatches messages until the condition holds or five seconds have passed; whether it held.
bool PumpUntil(const std::function<bool()>& condition);

// Dispatches messages until one of that kind for the window has been dispatched, then runs
// `after` at once (before anything else is dispatched); whether that happened within five seconds.
bool PumpUntilDispatched(HWND window, UINT message, const std::function<void()>& after);

WNDPROC WindowProcedure(HWND window);

// Pixels of the whole window (its non-client area included) as GetPixel reads them.
COLORREF WindowPixel(HWND window, int x, int y);
void FillWholeWindow(HWND window, COLORREF color);
// Pixels of the rectangle (right and bottom exclusive) of the window that match the predicate.
int CountWindowPixels(HWND window, const RECT& area, const std::function<bool(COLORREF)>& match);

// A bitmap compatible with the screen, filled with one colour; the caller owns it.
HBITMAP CreateFilledBitmap(int width, int height, COLORREF color);
// The pixel of a bitmap (selected into a memory DC for the read).
COLORREF BitmapPixel(HBITMAP bitmap, int x, int y);
SIZE BitmapSize(HBITMAP bitmap);

// A memory DC over a width x height DIB section filled with one colour.
class MemorySurface {
  public:
    MemorySurface(int width, int height, COLORREF color);
    HDC dc() const { return dc_.get(); }
    COLORREF Pixel(int x, int y) const { return GetPixel(dc_.get(), x, y); }

  private:
    ScopedDc dc_;
    ScopedBitmap bitmap_;
    std::optional<ScopedSelection> selection_;
};

// A 32bpp ARGB GDI+ bitmap whose pixel (x, y) is colorAt(x, y), and one of a single colour.
ScopedGpImage MakeImage(int width, int height, const std::function<ARGB(int, int)>& colorAt);
ScopedGpImage MakeSolidImage(int width, int height, ARGB color);
// The image encoded as PNG file bytes by GDI+.
ByteBuffer EncodePng(GpImage* image);

// The COLORREF (0x00BBGGRR) of an opaque ARGB colour.
constexpr COLORREF ColorOf(ARGB color) {
    return RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
}

}  // namespace controls_test
