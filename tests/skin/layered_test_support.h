// Helpers for the layered window tests: a fixture that resets the focus state, borderless test
// windows, skinned children, a recorder of pushed frames and message pumping.
#pragma once

#include "skin/gdiplus_flat.h"
#include "skin/scoped_handles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace layered_test {

using ScopedWindow = ScopedHandle<NullIsNoneTraits<HWND, &DestroyWindow>>;

// GDI+ started once per process; the focus state and the push observer empty before and after
// every test.
class LayeredWindowTest : public testing::Test {
  protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;
};

// Shown is enough for what the screen shows, and for a focus that no message pump needs to keep.
// Under Wine a shown window that is not activated stays unmanaged: the focus it gets is lost again
// once X events are dispatched. An activated window keeps its focus, but on the virtual display,
// which has no window manager, destroying it waits about 2 s for one.
enum class Showing { Hidden, Shown, ShownActive };

// A borderless top-level window (window rectangle = client area) at (x, y) of the screen.
ScopedWindow CreatePopupWindow(int x, int y, int width, int height,
                               Showing showing = Showing::Hidden);

// A child at (x, y) of the parent's client area.
HWND CreateChild(HWND parent, const char* className, int x, int y, int width, int height,
                 DWORD extraStyle = 0, const char* text = "");

// Makes the child a panel (ControlType 4) that is drawn as an opaque fill of the colour
// (0x00BBGGRR), with no border; its text, if any, is drawn in black.
void SkinAsFilledPanel(HWND child, std::int32_t color);
// As above with the grey border of the program's text boxes.
void SkinAsTextBox(HWND child);

// One frame as PushLayered handed it to UpdateLayeredWindow.
struct PushedFrame {
    HWND window = nullptr;
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // rows bottom-up, as pushed

    // The premultiplied 0xAARRGGBB pixel at (x, y) counted from the top-left corner.
    std::uint32_t At(int x, int y) const;
    // Pixels of column x, rows top .. bottom - 1, that are opaque and dark (the caret line).
    int DarkPixelsInColumn(int x, int top, int bottom) const;
};

// Records every push while it lives.
class PushRecorder {
  public:
    PushRecorder();
    ~PushRecorder();
    PushRecorder(const PushRecorder&) = delete;
    PushRecorder& operator=(const PushRecorder&) = delete;

    int Count() const { return static_cast<int>(frames_.size()); }
    const PushedFrame& Last() const { return frames_.back(); }
    const PushedFrame& Frame(int index) const { return frames_[static_cast<std::size_t>(index)]; }

  private:
    static void Observe(HWND window, const std::uint32_t* pixels, std::int32_t width,
                        std::int32_t height);
    static PushRecorder* current_;
    std::vector<PushedFrame> frames_;
};

// Dispatches messages until `done` holds or the time runs out; true if it held.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMilliseconds = 5000);
void PumpPending();

// The colour (0x00BBGGRR) the virtual display shows at a screen point.
COLORREF ScreenPixel(int x, int y);

// The caret line's column and rows in the window, by the rule of the software caret, computed
// from the box's place and the system caret's position now.
struct CaretLine {
    int x = 0;
    int top = 0;
    int bottom = 0;  // exclusive
};
CaretLine ExpectedCaretLine(HWND window, HWND textBox);

}  // namespace layered_test
