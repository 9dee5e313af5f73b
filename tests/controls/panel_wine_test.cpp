// Tests of the panel on real windows: taking a text box over in both parent modes, its frame and
// cache painting, its setters and its procedure.
#include "controls/panel.h"

#include "skin/layered_procedures.h"
#include "tests/controls/controls_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace controls_test;

constexpr COLORREF kParentColor = RGB(0x33, 0x66, 0x99);
constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kGrey = 0x007B8084;
constexpr COLORREF kMarker = RGB(0, 0, 0);
constexpr ARGB kImageColor = 0xFF2040E0;

// A text box at (20, 20) of the parent's client area, 120 x 30 with a 2-pixel client edge.
constexpr int kLeft = 20;
constexpr int kTop = 20;
constexpr int kWidth = 120;
constexpr int kHeight = 30;

class PanelTest : public testing::Test {
  protected:
    void SetUp() override {
        StartGraphics();
        parent_ = CreateParentWindow(parentRecorder_, kParentColor);
        ASSERT_TRUE(parent_);
        PumpMessages();
    }

    HWND TextBox(DWORD style = ES_AUTOHSCROLL, int height = kHeight) {
        return CreateChild(parent_.get(), "EDIT", kLeft, kTop, kWidth, height, style,
                           WS_EX_CLIENTEDGE);
    }

    // Attaches the panel and lets the first frame painting make the cache.
    void AttachAndPaint(PngPanel& panel, HWND window) {
        panel.AttachPanel(window);
        ASSERT_TRUE(PumpUntil([&] { return ReadProperty(window, kCacheBitmapKey) != 0; }));
        PumpMessages();
    }

    static HBITMAP CacheOf(HWND window) {
        return ReadHandleProperty<HBITMAP>(window, kCacheBitmapKey);
    }

    MessageRecorder parentRecorder_;
    ScopedWindow parent_;
};

// Attaching

using AttachPanelTest = PanelTest;

TEST_F(AttachPanelTest, InAnOrdinaryParentShowsWhiteWithAGreyFrame) {
    HWND window = TextBox();
    const WNDPROC own = WindowProcedure(window);
    PngPanel panel;
    AttachAndPaint(panel, window);

    EXPECT_EQ(panel.GetHandle(), window);
    EXPECT_EQ(ReadProperty(window, kTypeKey), 4);
    EXPECT_EQ(ReadInt32Property(window, kBackColorKey), 0x00FFFFFF);
    EXPECT_EQ(ReadInt32Property(window, kBackAlphaKey), 255);
    EXPECT_EQ(ReadInt32Property(window, kBorderColorKey), 0x007B8084);
    EXPECT_EQ(ReadInt32Property(window, kBorderAlphaKey), 255);
    EXPECT_EQ(ReadInt32Property(window, kTextColorKey), 0);
    EXPECT_EQ(ReadProperty(window, kBackImageKey), 0);
    EXPECT_EQ(WindowProcedure(window), PanelProc);
    EXPECT_EQ(ReadHandleProperty<WNDPROC>(window, kSavedProcKey), own);
    EXPECT_EQ(ReadProperty(window, kSavedChildProcKey), 0);
    EXPECT_EQ(WindowProcedure(parent_.get()), ParentHookProc);

    // The grey frame replaces the system's border on the outer edge; white everywhere inside.
    for (const POINT edge : {POINT{0, 0}, POINT{kWidth - 1, 0}, POINT{0, kHeight - 1},
                             POINT{kWidth - 1, kHeight - 1}, POINT{60, 0}, POINT{0, 15}}) {
        EXPECT_EQ(WindowPixel(window, edge.x, edge.y), kGrey) << edge.x << ", " << edge.y;
    }
    for (const POINT inside :
         {POINT{1, 1}, POINT{2, 2}, POINT{60, 15}, POINT{kWidth - 2, kHeight - 2}}) {
        EXPECT_EQ(WindowPixel(window, inside.x, inside.y), kWhite) << inside.x << ", " << inside.y;
    }
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(BitmapSize(CacheOf(window)).cx, client.right);
    EXPECT_EQ(BitmapSize(CacheOf(window)).cy, client.bottom);
    EXPECT_EQ(BitmapPixel(CacheOf(window), 5, 5), kWhite);
    // The parent's pixels around the panel are untouched.
    EXPECT_EQ(WindowPixel(parent_.get(), 1 + kLeft - 3, 1 + kTop + 10), kParentColor);
}

TEST_F(AttachPanelTest, UnderALayeredHostInstallsTheLayeredProcedureAtOnce) {
    WriteProperty(parent_.get(), kTypeKey, 1);
    HWND window = TextBox();
    const WNDPROC own = WindowProcedure(window);
    PngPanel panel;
    panel.AttachPanel(window);

    EXPECT_EQ(WindowProcedure(window), LayeredPanelProc);
    EXPECT_EQ(ReadHandleProperty<WNDPROC>(window, kSavedChildProcKey), own);
    EXPECT_EQ(ReadProperty(window, kSavedProcKey), 0);
    EXPECT_EQ(ReadInt32Property(window, kBackColorKey), -1);
    EXPECT_EQ(ReadInt32Property(window, kBackAlphaKey), 255);
    EXPECT_EQ(ReadInt32Property(window, kBorderColorKey), 0x007B8084);
    EXPECT_EQ(ReadProperty(window, kTypeKey), 4);
    // The parent is skinned: not hooked, but it no longer clips its children.
    EXPECT_EQ(WindowProcedure(parent_.get()), RecordingProc);
    EXPECT_EQ(ReadProperty(parent_.get(), kSavedProcKey), 0);
    EXPECT_EQ(GetWindowLongA(parent_.get(), GWL_STYLE) & WS_CLIPCHILDREN, 0);
    // Messages still reach the text box through the stored procedure.
    EXPECT_EQ(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0), 0);
    PumpMessages();
    EXPECT_EQ(CacheOf(window), nullptr) << "PanelProc never ran";
}

TEST_F(AttachPanelTest, RefusesWhatIsNotAWindow) {
    PngPanel panel;
    panel.AttachPanel(nullptr);
    EXPECT_EQ(panel.GetHandle(), nullptr);
    // Setters without a window do nothing: invalidating the null window would invalidate every
    // window, this parent included.
    PumpMessages();
    ValidateRect(parent_.get(), nullptr);
    panel.SetBackColor(0x123456, 10);
    panel.SetBorderColor(0x123456);
    panel.SetForeColor(0x123456);
    panel.SetBackType(BackType::Fit);
    panel.SetBackImage();
    EXPECT_FALSE(GetUpdateRect(parent_.get(), nullptr, FALSE));
    EXPECT_EQ(panel.GetText(), "");
}

// Text and colours

using PanelColorTest = PanelTest;

TEST_F(PanelColorTest, TextIsDrawnInTheTextColourOverTheCachedBackground) {
    HWND window = TextBox();
    PngPanel panel;
    AttachAndPaint(panel, window);
    parentRecorder_.messages.clear();
    SetWindowTextA(window, "WWWWWW");
    // The change reaches the parent's own procedure too.
    ASSERT_TRUE(PumpUntil([&] {
        const auto command = parentRecorder_.Last(WM_COMMAND);
        return command && HIWORD(command->wParam) == EN_CHANGE;
    }));
    PumpMessages();
    EXPECT_EQ(panel.GetText(), "WWWWWW");
    const RECT textArea{2, 2, kWidth - 2, kHeight - 2};
    auto dark = [](COLORREF color) {
        return GetRValue(color) < 0x60 && GetGValue(color) < 0x60 && GetBValue(color) < 0x60;
    };
    auto red = [](COLORREF color) {
        return GetRValue(color) > 0x90 && GetGValue(color) < 0x60 && GetBValue(color) < 0x60;
    };
    EXPECT_GT(CountWindowPixels(window, textArea, dark), 10);
    EXPECT_EQ(WindowPixel(window, kWidth - 10, 15), kWhite) << "no opaque text background";

    panel.SetForeColor(RGB(0xE0, 0, 0));
    EXPECT_EQ(ReadInt32Property(window, kTextColorKey), static_cast<std::int32_t>(RGB(0xE0, 0, 0)));
    ASSERT_TRUE(PumpUntil([&] { return CountWindowPixels(window, textArea, red) > 10; }));
    EXPECT_EQ(CountWindowPixels(window, textArea, dark), 0);
}

TEST_F(PanelColorTest, AlphasAreClampedAndAnOmittedAlphaIsKept) {
    HWND window = TextBox();
    PngPanel panel;
    AttachAndPaint(panel, window);
    struct Case {
        std::int32_t color;
        std::optional<std::int32_t> alpha;
        std::int32_t storedAlpha;
    };
    const Case cases[] = {
        {0x00102030, std::nullopt, 255}, {0x00102030, 300, 255},          {0x00102030, -5, 0},
        {0x00102030, 128, 128},          {0x00405060, std::nullopt, 128}, {0x00405060, 0, 0},
        {0x00405060, 255, 255},          {-1, std::nullopt, 255},
    };
    for (const Case& each : cases) {
        panel.SetBackColor(each.color, each.alpha);
        EXPECT_EQ(ReadInt32Property(window, kBackColorKey), each.color);
        EXPECT_EQ(ReadInt32Property(window, kBackAlphaKey), each.storedAlpha)
            << "back alpha " << each.alpha.value_or(999);
        panel.SetBorderColor(each.color, each.alpha);
        EXPECT_EQ(ReadInt32Property(window, kBorderColorKey), each.color);
        EXPECT_EQ(ReadInt32Property(window, kBorderAlphaKey), each.storedAlpha)
            << "border alpha " << each.alpha.value_or(999);
    }
}

TEST_F(PanelColorTest, NoColourLeavesTheFrameUnfilledOrUnframed) {
    HWND window = TextBox();
    PngPanel panel;
    AttachAndPaint(panel, window);

    // No fill: what was under the frame stays, the border is drawn, and the cache takes the
    // unfilled pixels for the client area.
    FillWholeWindow(window, kMarker);
    panel.SetBackColor(-1);
    PumpMessages();
    EXPECT_EQ(WindowPixel(window, 0, 0), kGrey);
    EXPECT_EQ(WindowPixel(window, 1, 1), kMarker);
    EXPECT_EQ(WindowPixel(window, 60, 15), kMarker);

    // No border: the fill reaches the outer edge.
    panel.SetBackColor(0x00FFFFFF);
    panel.SetBorderColor(-1);
    PumpMessages();
    EXPECT_EQ(WindowPixel(window, 0, 0), kWhite);
    EXPECT_EQ(WindowPixel(window, kWidth - 1, kHeight - 1), kWhite);
    EXPECT_EQ(WindowPixel(window, 60, 15), kWhite);

    // Painting is opaque in an ordinary parent: the alpha does not show.
    panel.SetBackColor(0x00FF0000, 0);
    PumpMessages();
    EXPECT_EQ(WindowPixel(window, 1, 1), RGB(0, 0, 0xFF));
}

// Frame painting and the cache

using PanelNcPaintTest = PanelTest;

TEST_F(PanelNcPaintTest, EachFramePaintingReplacesTheOneCachedBitmap) {
    HWND window = TextBox();
    PngPanel panel;
    AttachAndPaint(panel, window);
    HBITMAP previous = CacheOf(window);
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(SendMessageA(window, WM_NCPAINT, 1, 0), 1);
        HBITMAP current = CacheOf(window);
        ASSERT_NE(current, nullptr);
        EXPECT_NE(current, previous);
        EXPECT_EQ(GetObjectType(previous), 0u) << "the replaced cache is deleted";
        EXPECT_EQ(GetObjectType(current), static_cast<DWORD>(OBJ_BITMAP));
        previous = current;
    }
}

TEST_F(PanelNcPaintTest, TheCacheComesFromTheCentredClientPosition) {
    // A vertical scroll bar puts the client area off centre; the cache is taken centred anyway.
    constexpr int kTall = 60;
    HWND window = TextBox(ES_MULTILINE | WS_VSCROLL, kTall);
    ScopedGpImage image = MakeImage(kWidth, kTall, [](int x, int y) -> ARGB {
        return 0xFF000080 | static_cast<ARGB>(x * 2) << 16 | static_cast<ARGB>(y * 4) << 8;
    });
    PngPanel panel;
    AttachAndPaint(panel, window);
    panel.SetBackImage(image.get());
    PumpMessages();

    RECT client{};
    GetClientRect(window, &client);
    ASSERT_LT(client.right, kWidth - 4) << "the scroll bar takes room";
    const int offsetX = (kWidth - client.right) / 2;
    const int offsetY = (kTall - client.bottom) / 2;
    HBITMAP cache = CacheOf(window);
    EXPECT_EQ(BitmapSize(cache).cx, client.right);
    EXPECT_EQ(BitmapSize(cache).cy, client.bottom);
    for (const POINT at : {POINT{3, 4}, POINT{20, 10}, POINT{50, 30}}) {
        EXPECT_EQ(BitmapPixel(cache, at.x, at.y),
                  RGB((at.x + offsetX) * 2, (at.y + offsetY) * 4, 0x80))
            << at.x << ", " << at.y;
    }
}

TEST_F(PanelNcPaintTest, TheBackImageFollowsTheBackTypeAtTheNextFramePainting) {
    HWND window = TextBox();
    PngPanel panel;
    AttachAndPaint(panel, window);
    const COLORREF image = ColorOf(kImageColor);
    ScopedGpImage small = MakeSolidImage(20, 10, kImageColor);

    panel.SetBackImage(small.get());
    EXPECT_EQ(ReadHandleProperty<GpImage*>(window, kBackImageKey), small.get());
    PumpMessages();
    EXPECT_EQ(WindowPixel(window, 5, 5), image);
    EXPECT_EQ(WindowPixel(window, 0, 0), kGrey) << "the border goes over the image";
    EXPECT_EQ(WindowPixel(window, 30, 15), kWhite);

    // The new placement waits for the next frame painting.
    panel.SetBackType(BackType::Stretch);
    EXPECT_EQ(ReadProperty(window, kBackTypeKey), 1);
    PumpMessages();
    EXPECT_EQ(WindowPixel(window, 30, 15), kWhite);
    panel.SetBackColor(0x00FFFFFF);
    PumpMessages();
    // (Away from the edges, where the stretched image is blended with its surroundings.)
    EXPECT_EQ(WindowPixel(window, 30, 15), image);
    EXPECT_EQ(WindowPixel(window, kWidth - 15, kHeight - 10), image);

    // Fit keeps a smaller image's size and centres it: 20 x 10 at (50, 10).
    panel.SetBackType(BackType::Fit);
    panel.SetBackImage(small.get());
    PumpMessages();
    EXPECT_EQ(WindowPixel(window, 60, 15), image);
    EXPECT_EQ(WindowPixel(window, 45, 15), kWhite);
    EXPECT_EQ(WindowPixel(window, 60, 7), kWhite);

    // Natural cuts a larger image at the window's size.
    ScopedGpImage large = MakeSolidImage(300, 80, kImageColor);
    panel.SetBackType(BackType::Natural);
    panel.SetBackImage(large.get());
    PumpMessages();
    EXPECT_EQ(WindowPixel(window, 5, 5), image);
    EXPECT_EQ(WindowPixel(window, kWidth - 5, kHeight - 5), image);

    // No image: the plain fill again.
    panel.SetBackImage();
    PumpMessages();
    EXPECT_EQ(WindowPixel(window, 5, 5), kWhite);
}

TEST_F(PanelNcPaintTest, BackImageBytesAreLoaded) {
    HWND window = TextBox();
    PngPanel panel;
    AttachAndPaint(panel, window);
    ScopedGpImage source = MakeSolidImage(9, 4, kImageColor);
    panel.SetBackImageFromBytes(EncodePng(source.get()));
    auto* loaded = ReadHandleProperty<GpImage*>(window, kBackImageKey);
    ASSERT_NE(loaded, nullptr);
    REAL width = 0;
    REAL height = 0;
    GdipGetImageDimension(loaded, &width, &height);
    EXPECT_EQ(width, 9);
    EXPECT_EQ(height, 4);
    PumpMessages();
    EXPECT_EQ(WindowPixel(window, 4, 2), ColorOf(kImageColor));
    panel.SetBackImageFromBytes(ByteBuffer::FromText("no image"));
    EXPECT_EQ(ReadProperty(window, kBackImageKey), 0);
}

// PanelProc, with a recording window standing for the control's own procedure

class PanelProcTest : public PanelTest {
  protected:
    void SetUp() override {
        PanelTest::SetUp();
        ownRecorder_.handler = [this](HWND, UINT message, WPARAM,
                                      LPARAM) -> std::optional<LRESULT> {
            if (message == probed_ && probed_ != 0) return kOwnResult;
            return std::nullopt;
        };
        window_ = CreateRecordingWindow(ownRecorder_, parent_.get(), kLeft, kTop, kWidth, kHeight,
                                        WS_CHILD | WS_VISIBLE);
        AttachAndPaint(panel_, window_);
    }

    static constexpr LRESULT kOwnResult = 0x66;
    MessageRecorder ownRecorder_;
    HWND window_ = nullptr;
    PngPanel panel_;
    UINT probed_ = 0;
};

TEST_F(PanelProcTest, InputThatMovesTheTextRepaintsTheWholeClientArea) {
    struct Case {
        UINT message;
        bool repainted;
    };
    const Case cases[] = {
        {WM_KEYDOWN, true},    {WM_LBUTTONDOWN, true}, {WM_HSCROLL, true},    {WM_VSCROLL, true},
        {WM_CUT, true},        {WM_PASTE, true},       {WM_GETDLGCODE, true}, {WM_CHAR, false},
        {WM_MOUSEMOVE, false}, {WM_LBUTTONUP, false},  {WM_USER + 9, false},
    };
    for (const Case& each : cases) {
        PumpMessages();
        ValidateRect(window_, nullptr);
        FillWholeWindow(window_, kMarker);
        ownRecorder_.messages.clear();
        probed_ = each.message;
        const LRESULT result = SendMessageA(window_, each.message, 0, 0);
        const std::string name = "message 0x" + std::to_string(each.message);
        EXPECT_EQ(result, kOwnResult) << name;
        EXPECT_EQ(ownRecorder_.Count(each.message), 1) << name;
        EXPECT_EQ(GetUpdateRect(window_, nullptr, FALSE) != FALSE, each.repainted) << name;
        probed_ = 0;
        UpdateWindow(window_);
        // The erase restores the cache: white inside, and the border the cache took along.
        EXPECT_EQ(WindowPixel(window_, 40, 15), each.repainted ? kWhite : kMarker) << name;
        EXPECT_EQ(WindowPixel(window_, 0, 0), each.repainted ? kGrey : kMarker) << name;
    }
}

TEST_F(PanelProcTest, FramePaintingAndErasingAreItsOwn) {
    PumpMessages();
    ownRecorder_.messages.clear();
    FillWholeWindow(window_, kMarker);
    EXPECT_EQ(SendMessageA(window_, WM_NCPAINT, 1, 0), 1);
    EXPECT_EQ(WindowPixel(window_, 0, 0), kGrey);
    EXPECT_EQ(WindowPixel(window_, 40, 15), kWhite);

    FillWholeWindow(window_, kMarker);
    ValidateRect(window_, nullptr);
    {
        ScopedWindowDc dc(window_);
        EXPECT_EQ(SendMessageA(window_, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0), 1);
    }
    EXPECT_EQ(WindowPixel(window_, 40, 15), kWhite);
    EXPECT_TRUE(GetUpdateRect(window_, nullptr, FALSE)) << "the control's painting follows";
    EXPECT_EQ(ownRecorder_.Count(WM_NCPAINT), 0);
    EXPECT_EQ(ownRecorder_.Count(WM_ERASEBKGND), 0);
}

TEST_F(PanelProcTest, ErasingWithoutACacheDrawsNothingButStillInvalidates) {
    DeleteObject(CacheOf(window_));
    WriteHandleProperty<HBITMAP>(window_, kCacheBitmapKey, nullptr);
    PumpMessages();
    ValidateRect(window_, nullptr);
    MemorySurface surface(kWidth, kHeight, kMarker);
    PanelEraseFromCache(window_, surface.dc());
    EXPECT_EQ(surface.Pixel(40, 15), kMarker);
    EXPECT_TRUE(GetUpdateRect(window_, nullptr, FALSE));
}

}  // namespace
