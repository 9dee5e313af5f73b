// Tests of the image button on real windows: taking a button over, its state images, its draw
// states and their repaint from the parent's pixels, and a real click.
#include "controls/image_button.h"

#include "tests/controls/controls_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace controls_test;

constexpr COLORREF kParentColor = RGB(0x33, 0x66, 0x99);
constexpr ARGB kNormal = 0xFF0000FF;
constexpr ARGB kHot = 0xFF00C000;
constexpr ARGB kPressed = 0xFFE00000;
constexpr ARGB kDisabled = 0xFFE0E000;
constexpr COLORREF kMarker = RGB(0, 0, 0);

// Button at (20, 20) of the parent's client area, 40 x 30; the images are 12 x 10, so (5, 5)
// shows the state image and (30, 20) the parent's pixels.
constexpr POINT kInImage{5, 5};
constexpr POINT kBesideImage{30, 20};

class ImageButtonTest : public testing::Test {
  protected:
    void SetUp() override {
        StartGraphics();
        // Nothing of the pointer may reach the windows unless a test moves it there.
        SetCursorPos(1000, 740);
        parent_ = CreateParentWindow(parentRecorder_, kParentColor);
        ASSERT_TRUE(parent_);
        PumpMessages();
    }

    // Attaches the button and lets the first paint capture the parent's pixels under it.
    void AttachAndPaint(PngImageButton& button, HWND window, GpImage* normal) {
        button.AttachButton(window, normal);
        ASSERT_TRUE(PumpUntil([&] { return ReadProperty(window, kCacheBitmapKey) != 0; }));
        PumpMessages();
    }

    void GiveAllImages(PngImageButton& button) {
        button.SetStateImages(normal_.get(), hot_.get(), pressed_.get(), disabled_.get());
    }

    static DrawState StateOf(HWND button) {
        return ReadCodeProperty<DrawState>(button, kDrawStateKey);
    }

    MessageRecorder parentRecorder_;
    ScopedWindow parent_;
    ScopedGpImage normal_ = MakeSolidImage(12, 10, kNormal);
    ScopedGpImage hot_ = MakeSolidImage(12, 10, kHot);
    ScopedGpImage pressed_ = MakeSolidImage(12, 10, kPressed);
    ScopedGpImage disabled_ = MakeSolidImage(12, 10, kDisabled);
};

COLORREF StateColor(DrawState state) {
    switch (state) {
        case DrawState::Hot:
            return ColorOf(kHot);
        case DrawState::Pressed:
            return ColorOf(kPressed);
        case DrawState::Disabled:
            return ColorOf(kDisabled);
        default:
            return ColorOf(kNormal);
    }
}

// Taking a button over

using AttachButtonTest = ImageButtonTest;

TEST_F(AttachButtonTest, MakesAnOwnerDrawnImageButtonAndRepaintsItsArea) {
    for (const DWORD type : {BS_PUSHBUTTON, BS_DEFPUSHBUTTON}) {
        HWND window = CreateChild(parent_.get(), "BUTTON", 20, 20, 40, 30,
                                  type | WS_TABSTOP | WS_CLIPSIBLINGS);
        const WNDPROC own = WindowProcedure(window);
        const auto style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
        PumpMessages();
        ValidateRect(parent_.get(), nullptr);
        ValidateRect(window, nullptr);

        PngImageButton button;
        button.AttachButton(window, normal_.get());
        EXPECT_EQ(button.GetHandle(), window);
        EXPECT_EQ(ReadProperty(window, kTypeKey), 3);
        EXPECT_EQ(ReadHandleProperty<GpImage*>(window, kNormalImageKey), normal_.get());
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)),
                  (style & ~WS_CLIPSIBLINGS) | BS_OWNERDRAW)
            << "type " << type;
        EXPECT_EQ(WindowProcedure(window), ImageButtonProc);
        EXPECT_EQ(ReadHandleProperty<WNDPROC>(window, kSavedProcKey), own);
        RECT parentUpdate{};
        ASSERT_TRUE(GetUpdateRect(parent_.get(), &parentUpdate, FALSE));
        EXPECT_LE(parentUpdate.left, 20);
        EXPECT_LE(parentUpdate.top, 20);
        EXPECT_GE(parentUpdate.right, 60);
        EXPECT_GE(parentUpdate.bottom, 50);
        EXPECT_TRUE(GetUpdateRect(window, nullptr, FALSE));
        DestroyWindow(window);
    }
}

TEST_F(AttachButtonTest, WithoutAnImageKeepsTheStoredOneAndRefusesNonWindows) {
    HWND window = CreateChild(parent_.get(), "BUTTON", 20, 20, 40, 30);
    WriteHandleProperty<GpImage*>(window, kNormalImageKey, hot_.get());
    PngImageButton button;
    button.AttachButton(window);
    EXPECT_EQ(ReadHandleProperty<GpImage*>(window, kNormalImageKey), hot_.get());

    PngImageButton nothing;
    nothing.AttachButton(nullptr, normal_.get());
    EXPECT_EQ(nothing.GetHandle(), nullptr);
}

TEST_F(AttachButtonTest, CreateMakesAVisibleTransparentButton) {
    PngImageButton button;
    const HWND window = button.Create(parent_.get(), 15, 25, 50, 35, "press");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(button.GetHandle(), window);
    char className[32] = {};
    GetClassNameA(window, className, sizeof(className));
    EXPECT_STRCASEEQ(className, "Button");
    char caption[32] = {};
    GetWindowTextA(window, caption, sizeof(caption));
    EXPECT_STREQ(caption, "press");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)),
              static_cast<DWORD>(WS_CHILD | WS_VISIBLE | BS_OWNERDRAW));
    EXPECT_NE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TRANSPARENT, 0);
    EXPECT_EQ(ReadProperty(window, kTypeKey), 3);
    EXPECT_EQ(WindowProcedure(window), ImageButtonProc);
    RECT bounds{};
    GetWindowRect(window, &bounds);
    MapWindowPoints(nullptr, parent_.get(), reinterpret_cast<POINT*>(&bounds), 2);
    EXPECT_EQ(bounds.left, 15);
    EXPECT_EQ(bounds.top, 25);
    EXPECT_EQ(bounds.right - bounds.left, 50);

    // A child needs a parent: creation fails, and so does the take-over.
    PngImageButton orphan;
    EXPECT_EQ(orphan.Create(nullptr, 0, 0, 10, 10), nullptr);
    EXPECT_EQ(orphan.GetHandle(), nullptr);
}

// State images and back type

using StateImagesTest = ImageButtonTest;

TEST_F(StateImagesTest, OmittedImagesStayAndGivenNullsClear) {
    HWND window = CreateChild(parent_.get(), "BUTTON", 20, 20, 40, 30);
    PngImageButton button;
    button.AttachButton(window);
    GiveAllImages(button);
    EXPECT_EQ(ReadHandleProperty<GpImage*>(window, kNormalImageKey), normal_.get());
    EXPECT_EQ(ReadHandleProperty<GpImage*>(window, kHotImageKey), hot_.get());
    EXPECT_EQ(ReadHandleProperty<GpImage*>(window, kPressedImageKey), pressed_.get());
    EXPECT_EQ(ReadHandleProperty<GpImage*>(window, kDisabledImageKey), disabled_.get());

    button.SetStateImages();
    EXPECT_EQ(ReadHandleProperty<GpImage*>(window, kHotImageKey), hot_.get());

    button.SetStateImages(std::nullopt, nullptr);
    EXPECT_EQ(ReadHandleProperty<GpImage*>(window, kNormalImageKey), normal_.get());
    EXPECT_EQ(ReadHandleProperty<GpImage*>(window, kHotImageKey), nullptr);
    EXPECT_EQ(ReadHandleProperty<GpImage*>(window, kPressedImageKey), pressed_.get());
    EXPECT_EQ(ReadHandleProperty<GpImage*>(window, kDisabledImageKey), disabled_.get());

    // One image may serve several states.
    button.SetStateImages(std::nullopt, std::nullopt, normal_.get(), normal_.get());
    EXPECT_EQ(ReadHandleProperty<GpImage*>(window, kPressedImageKey), normal_.get());
    EXPECT_EQ(ReadHandleProperty<GpImage*>(window, kDisabledImageKey), normal_.get());
}

TEST_F(StateImagesTest, BytesThatDoNotLoadClearTheirState) {
    HWND window = CreateChild(parent_.get(), "BUTTON", 20, 20, 40, 30);
    PngImageButton button;
    button.AttachButton(window);
    GiveAllImages(button);
    ScopedGpImage source = MakeSolidImage(7, 5, kHot);
    const ByteBuffer png = EncodePng(source.get());
    ASSERT_FALSE(png.IsEmpty());
    const ByteBuffer garbage = ByteBuffer::FromText("not an image");
    const ByteBuffer empty;

    button.SetStateImagesFromBytes(png, std::nullopt, garbage, empty);
    auto* loaded = ReadHandleProperty<GpImage*>(window, kNormalImageKey);
    ASSERT_NE(loaded, nullptr);
    EXPECT_NE(loaded, normal_.get());
    REAL width = 0;
    REAL height = 0;
    GdipGetImageDimension(loaded, &width, &height);
    EXPECT_EQ(width, 7);
    EXPECT_EQ(height, 5);
    EXPECT_EQ(ReadHandleProperty<GpImage*>(window, kHotImageKey), hot_.get());
    EXPECT_EQ(ReadHandleProperty<GpImage*>(window, kPressedImageKey), nullptr);
    EXPECT_EQ(ReadHandleProperty<GpImage*>(window, kDisabledImageKey), nullptr);
}

TEST_F(StateImagesTest, SettersShowNothingUntilTheNextRepaint) {
    HWND window = CreateChild(parent_.get(), "BUTTON", 20, 20, 40, 30);
    PngImageButton button;
    AttachAndPaint(button, window, normal_.get());
    ASSERT_EQ(WindowPixel(window, kInImage.x, kInImage.y), ColorOf(kNormal));

    button.SetStateImages(hot_.get());
    button.SetBackType(BackType::Stretch);
    EXPECT_EQ(ReadProperty(window, kBackTypeKey), 1);
    ScopedGpImage source = MakeSolidImage(7, 5, kPressed);
    const ByteBuffer png = EncodePng(source.get());
    button.SetStateImagesFromBytes(png);
    EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE));
    PumpMessages();
    EXPECT_EQ(WindowPixel(window, kInImage.x, kInImage.y), ColorOf(kNormal));
    EXPECT_EQ(WindowPixel(window, kBesideImage.x, kBesideImage.y), kParentColor);

    // The next state change shows them: the loaded image, stretched over the whole button.
    SetDrawState(window, DrawState::Normal, true);
    EXPECT_EQ(WindowPixel(window, kInImage.x, kInImage.y), ColorOf(kPressed));
    EXPECT_EQ(WindowPixel(window, kBesideImage.x, kBesideImage.y), ColorOf(kPressed));
}

// Painting and the repaint from the cache

using ButtonPaintTest = ImageButtonTest;

TEST_F(ButtonPaintTest, ShowsTheParentsPixelsAndTheStateImage) {
    HWND window = CreateChild(parent_.get(), "BUTTON", 20, 20, 40, 30);
    PngImageButton button;
    AttachAndPaint(button, window, normal_.get());

    EXPECT_EQ(WindowPixel(window, kInImage.x, kInImage.y), ColorOf(kNormal));
    EXPECT_EQ(WindowPixel(window, kBesideImage.x, kBesideImage.y), kParentColor);
    EXPECT_EQ(WindowPixel(window, 39, 29), kParentColor);
    // The cache holds the parent's pixels only, at the button's size.
    const auto cache = ReadHandleProperty<HBITMAP>(window, kCacheBitmapKey);
    EXPECT_EQ(BitmapSize(cache).cx, 40);
    EXPECT_EQ(BitmapSize(cache).cy, 30);
    EXPECT_EQ(BitmapPixel(cache, kInImage.x, kInImage.y), kParentColor);
    EXPECT_EQ(BitmapPixel(cache, kBesideImage.x, kBesideImage.y), kParentColor);
}

TEST_F(ButtonPaintTest, StateChangesRepaintAtOnceFromTheSameCache) {
    HWND window = CreateChild(parent_.get(), "BUTTON", 20, 20, 40, 30);
    PngImageButton button;
    AttachAndPaint(button, window, normal_.get());
    GiveAllImages(button);
    const auto cache = ReadHandleProperty<HBITMAP>(window, kCacheBitmapKey);
    for (const DrawState state :
         {DrawState::Hot, DrawState::Pressed, DrawState::Disabled, DrawState::Normal}) {
        FillWholeWindow(window, kMarker);
        SetDrawState(window, state, false);
        EXPECT_EQ(StateOf(window), state);
        EXPECT_EQ(WindowPixel(window, kInImage.x, kInImage.y), StateColor(state));
        EXPECT_EQ(WindowPixel(window, kBesideImage.x, kBesideImage.y), kParentColor);
        // Nothing is invalidated and no paint refreshes the cache.
        EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE));
        EXPECT_FALSE(GetUpdateRect(parent_.get(), nullptr, FALSE));
        EXPECT_EQ(ReadHandleProperty<HBITMAP>(window, kCacheBitmapKey), cache);
    }
    // The same state again repaints only when forced.
    FillWholeWindow(window, kMarker);
    SetDrawState(window, DrawState::Normal, false);
    EXPECT_EQ(WindowPixel(window, kInImage.x, kInImage.y), kMarker);
    SetDrawState(window, DrawState::Normal, true);
    EXPECT_EQ(WindowPixel(window, kInImage.x, kInImage.y), ColorOf(kNormal));
}

TEST_F(ButtonPaintTest, OnlyANormalImageServesEveryStateAndNoImageShowsTheParent) {
    HWND window = CreateChild(parent_.get(), "BUTTON", 20, 20, 40, 30);
    PngImageButton button;
    AttachAndPaint(button, window, normal_.get());
    for (const DrawState state :
         {DrawState::Hot, DrawState::Pressed, DrawState::Disabled, DrawState::Normal}) {
        SetDrawState(window, state, true);
        EXPECT_EQ(WindowPixel(window, kInImage.x, kInImage.y), ColorOf(kNormal));
    }
    button.SetStateImages(nullptr);
    SetDrawState(window, DrawState::Hot, true);
    EXPECT_EQ(WindowPixel(window, kInImage.x, kInImage.y), kParentColor);
}

TEST_F(ButtonPaintTest, BeforeTheFirstPaintStateChangesDrawNothing) {
    HWND window = CreateChild(parent_.get(), "BUTTON", 20, 20, 40, 30);
    PngImageButton button;
    button.AttachButton(window, normal_.get());
    ASSERT_EQ(ReadProperty(window, kCacheBitmapKey), 0);
    FillWholeWindow(window, kMarker);
    SetDrawState(window, DrawState::Hot, true);
    EXPECT_EQ(StateOf(window), DrawState::Hot);
    EXPECT_EQ(WindowPixel(window, kInImage.x, kInImage.y), kMarker);
}

TEST_F(ButtonPaintTest, EachPaintReplacesTheCacheAndDestructionDeletesIt) {
    HWND window = CreateChild(parent_.get(), "BUTTON", 20, 20, 40, 30);
    PngImageButton button;
    AttachAndPaint(button, window, normal_.get());
    const auto first = ReadHandleProperty<HBITMAP>(window, kCacheBitmapKey);
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    const auto second = ReadHandleProperty<HBITMAP>(window, kCacheBitmapKey);
    EXPECT_NE(second, first);
    EXPECT_EQ(GetObjectType(first), 0u);
    EXPECT_EQ(GetObjectType(second), static_cast<DWORD>(OBJ_BITMAP));
    DestroyWindow(window);
    EXPECT_EQ(GetObjectType(second), 0u);
}

// ImageButtonProc, with a recording window standing for the button's own procedure

class ImageButtonProcTest : public ImageButtonTest {
  protected:
    void SetUp() override {
        ImageButtonTest::SetUp();
        ownRecorder_.handler = [this](HWND window, UINT message, WPARAM,
                                      LPARAM) -> std::optional<LRESULT> {
            if (message == probed_) stateSeenByOwn_ = StateOf(window);
            if (message == probed_) return kOwnResult;
            return std::nullopt;
        };
        window_ = CreateRecordingWindow(ownRecorder_, parent_.get(), 20, 20, 40, 30,
                                        WS_CHILD | WS_VISIBLE);
        AttachAndPaint(button_, window_, normal_.get());
        GiveAllImages(button_);
    }

    static constexpr LRESULT kOwnResult = 0x77;
    MessageRecorder ownRecorder_;
    HWND window_ = nullptr;
    PngImageButton button_;
    UINT probed_ = 0;
    std::optional<DrawState> stateSeenByOwn_;
};

TEST_F(ImageButtonProcTest, FollowsTheTransitionTable) {
    using enum DrawState;
    struct Case {
        const char* name;
        DrawState from;
        bool focused;
        UINT message;
        WPARAM wParam;
        DrawState to;
        bool repainted;
        bool ownFirst;  // false: the own procedure never sees it, and the result is 0
    };
    const Case cases[] = {
        {"move over Normal", Normal, false, WM_MOUSEMOVE, 0, Hot, true, true},
        {"move over Disabled", Disabled, false, WM_MOUSEMOVE, 0, Hot, true, true},
        {"move over Hot", Hot, false, WM_MOUSEMOVE, 0, Hot, false, true},
        {"move over Pressed", Pressed, false, WM_MOUSEMOVE, 0, Pressed, false, true},
        {"leave Hot", Hot, false, WM_MOUSELEAVE, 0, Normal, true, true},
        {"leave Pressed", Pressed, false, WM_MOUSELEAVE, 0, Normal, true, true},
        {"leave Normal", Normal, false, WM_MOUSELEAVE, 0, Normal, true, true},
        {"down on Normal", Normal, false, WM_LBUTTONDOWN, 0, Pressed, true, true},
        {"down on Hot", Hot, false, WM_LBUTTONDOWN, 0, Pressed, true, true},
        {"down on Disabled", Disabled, false, WM_LBUTTONDOWN, 0, Pressed, true, true},
        {"up on Pressed", Pressed, false, WM_LBUTTONUP, 0, Hot, true, true},
        {"up on Normal", Normal, false, WM_LBUTTONUP, 0, Normal, true, true},
        {"up on Hot", Hot, false, WM_LBUTTONUP, 0, Normal, true, true},
        {"up on Disabled", Disabled, false, WM_LBUTTONUP, 0, Normal, true, true},
        {"pushed from Normal", Normal, false, BM_SETSTATE, 1, Pressed, true, true},
        {"pushed from Hot", Hot, true, BM_SETSTATE, 1, Pressed, true, true},
        {"pushed when Pressed", Pressed, false, BM_SETSTATE, 1, Pressed, true, true},
        {"released, focused", Pressed, true, BM_SETSTATE, 0, Hot, true, true},
        {"released, not focused", Pressed, false, BM_SETSTATE, 0, Normal, true, true},
        {"released from Disabled", Disabled, false, BM_SETSTATE, 0, Normal, true, true},
        {"state 2 is not pushed", Normal, true, BM_SETSTATE, 2, Hot, true, true},
        {"focus on Pressed", Pressed, false, WM_SETFOCUS, 0, Hot, true, false},
        {"focus on Normal", Normal, false, WM_SETFOCUS, 0, Normal, false, false},
        {"focus on Hot", Hot, false, WM_SETFOCUS, 0, Hot, false, false},
        {"focus lost on Hot", Hot, true, WM_KILLFOCUS, 0, Normal, true, false},
        {"focus lost on Pressed", Pressed, true, WM_KILLFOCUS, 0, Pressed, false, false},
        {"focus lost on Disabled", Disabled, true, WM_KILLFOCUS, 0, Disabled, false, false},
        {"enabled from Disabled", Disabled, false, WM_ENABLE, 1, Normal, true, true},
        {"enabled when Hot", Hot, false, WM_ENABLE, 1, Normal, true, true},
        {"disabled from Hot", Hot, false, WM_ENABLE, 0, Disabled, true, true},
        {"disabled from Pressed", Pressed, false, WM_ENABLE, 0, Disabled, true, true},
    };
    for (const Case& each : cases) {
        PumpMessages();
        WriteCodeProperty(window_, kDrawStateKey, each.from);
        WriteProperty(window_, kHasFocusKey, each.focused ? 1 : 0);
        FillWholeWindow(window_, kMarker);
        ownRecorder_.messages.clear();
        probed_ = each.message;
        stateSeenByOwn_.reset();

        const LRESULT result = SendMessageA(window_, each.message, each.wParam, 0);

        EXPECT_EQ(StateOf(window_), each.to) << each.name;
        EXPECT_EQ(WindowPixel(window_, kInImage.x, kInImage.y),
                  each.repainted ? StateColor(each.to) : kMarker)
            << each.name;
        if (each.repainted) {
            EXPECT_EQ(WindowPixel(window_, kBesideImage.x, kBesideImage.y), kParentColor)
                << each.name;
        }
        if (each.ownFirst) {
            EXPECT_EQ(ownRecorder_.Count(each.message), 1) << each.name;
            ASSERT_TRUE(stateSeenByOwn_) << each.name;
            EXPECT_EQ(*stateSeenByOwn_, each.from) << each.name << ": the own procedure first";
            EXPECT_EQ(result, kOwnResult) << each.name;
        } else {
            EXPECT_EQ(ownRecorder_.Count(each.message), 0) << each.name;
            EXPECT_EQ(result, 0) << each.name;
        }
        if (each.message == WM_SETFOCUS || each.message == WM_KILLFOCUS) {
            EXPECT_EQ(ReadProperty(window_, kHasFocusKey), each.message == WM_SETFOCUS ? 1 : 0)
                << each.name;
        }
        probed_ = 0;
    }
}

TEST_F(ImageButtonProcTest, TracksTheLeaveOnlyWhenTheMoveMakesItHot) {
    POINT centre{20, 15};
    ClientToScreen(window_, &centre);
    SetCursorPos(centre.x, centre.y);
    ASSERT_TRUE(PumpUntil([&] { return StateOf(window_) == DrawState::Hot; }));
    auto tracked = [&] {
        TRACKMOUSEEVENT query{sizeof(query), TME_QUERY, nullptr, 0};
        TrackMouseEvent(&query);
        return query.hwndTrack == window_ && (query.dwFlags & TME_LEAVE) != 0;
    };
    EXPECT_TRUE(tracked());

    // Hot: a move neither tracks again nor repaints.
    TRACKMOUSEEVENT cancel{sizeof(cancel), TME_LEAVE | TME_CANCEL, window_, 0};
    TrackMouseEvent(&cancel);
    ASSERT_FALSE(tracked());
    FillWholeWindow(window_, kMarker);
    SendMessageA(window_, WM_MOUSEMOVE, 0, MAKELPARAM(21, 15));
    EXPECT_FALSE(tracked());
    EXPECT_EQ(WindowPixel(window_, kInImage.x, kInImage.y), kMarker);

    // Normal again: the next move tracks.
    WriteCodeProperty(window_, kDrawStateKey, DrawState::Normal);
    SendMessageA(window_, WM_MOUSEMOVE, 0, MAKELPARAM(22, 15));
    EXPECT_TRUE(tracked());
    EXPECT_EQ(StateOf(window_), DrawState::Hot);
}

TEST_F(ImageButtonProcTest, PaintsItselfWithoutErasingOrFraming) {
    PumpMessages();
    FillWholeWindow(window_, kMarker);
    ownRecorder_.messages.clear();
    {
        ScopedWholeWindowDc dc(window_);
        EXPECT_EQ(SendMessageA(window_, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0), 1);
    }
    EXPECT_EQ(SendMessageA(window_, WM_NCPAINT, 1, 0), 0);
    EXPECT_EQ(WindowPixel(window_, kInImage.x, kInImage.y), kMarker);
    EXPECT_EQ(WindowPixel(window_, kBesideImage.x, kBesideImage.y), kMarker);

    InvalidateRect(window_, nullptr, FALSE);
    UpdateWindow(window_);
    EXPECT_EQ(WindowPixel(window_, kInImage.x, kInImage.y), ColorOf(kNormal));
    EXPECT_EQ(ownRecorder_.Count(WM_ERASEBKGND), 0);
    EXPECT_EQ(ownRecorder_.Count(WM_NCPAINT), 0);
    EXPECT_EQ(ownRecorder_.Count(WM_PAINT), 0);

    // Everything else reaches the own procedure.
    probed_ = WM_USER + 3;
    EXPECT_EQ(SendMessageA(window_, WM_USER + 3, 0, 0), kOwnResult);
}

// A real button under the real pointer

using ImageButtonClickTest = ImageButtonTest;

void SendMouse(DWORD flags, POINT screen) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | (flags == 0 ? MOUSEEVENTF_MOVE : 0);
    SendInput(1, &input, sizeof(input));
}

TEST_F(ImageButtonClickTest, AClickEndsInNormalAndTheNextMoveMakesItHot) {
    HWND window = CreateChild(parent_.get(), "BUTTON", 20, 20, 40, 30, 0, 0, "go");
    SetWindowLongPtrA(window, GWLP_ID, 41);
    PngImageButton button;
    AttachAndPaint(button, window, normal_.get());
    GiveAllImages(button);
    SetForegroundWindow(parent_.get());
    PumpMessages();
    parentRecorder_.messages.clear();
    POINT centre{20, 15};
    ClientToScreen(window, &centre);

    SendMouse(0, centre);
    ASSERT_TRUE(PumpUntil([&] { return StateOf(window) == DrawState::Hot; }));
    EXPECT_EQ(WindowPixel(window, kInImage.x, kInImage.y), ColorOf(kHot));

    SendMouse(MOUSEEVENTF_LEFTDOWN, centre);
    ASSERT_TRUE(PumpUntil([&] { return StateOf(window) == DrawState::Pressed; }));
    EXPECT_EQ(WindowPixel(window, kInImage.x, kInImage.y), ColorOf(kPressed));
    EXPECT_EQ(GetFocus(), window);
    EXPECT_EQ(ReadProperty(window, kHasFocusKey), 1);

    // Between the button's own handling of the release and the final one, the click reaches
    // the parent: by then BM_SETSTATE 0 has made the focused button Hot.
    std::optional<DrawState> stateAtClick;
    parentRecorder_.handler = [&](HWND, UINT message, WPARAM wParam,
                                  LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED &&
            reinterpret_cast<HWND>(lParam) == window) {
            stateAtClick = StateOf(window);
        }
        return std::nullopt;
    };
    std::optional<DrawState> stateAfterRelease;
    COLORREF pixelAfterRelease = 0;
    SendMouse(MOUSEEVENTF_LEFTUP, centre);
    ASSERT_TRUE(PumpUntilDispatched(window, WM_LBUTTONUP, [&] {
        stateAfterRelease = StateOf(window);
        pixelAfterRelease = WindowPixel(window, kInImage.x, kInImage.y);
    }));
    ASSERT_TRUE(stateAtClick);
    EXPECT_EQ(*stateAtClick, DrawState::Hot);
    EXPECT_EQ(stateAfterRelease, DrawState::Normal);
    EXPECT_EQ(pixelAfterRelease, ColorOf(kNormal));

    // The next pointer move makes it Hot again. The system makes one itself: releasing the
    // capture at the button's release is followed by a synthesized WM_MOUSEMOVE.
    EXPECT_TRUE(PumpUntil([&] { return StateOf(window) == DrawState::Hot; }));
    EXPECT_EQ(WindowPixel(window, kInImage.x, kInImage.y), ColorOf(kHot));
    SendMouse(0, {centre.x + 2, centre.y + 1});
    PumpMessages();
    EXPECT_EQ(StateOf(window), DrawState::Hot);

    // Leaving the button turns it Normal through the tracked leave.
    SendMouse(0, {centre.x + 200, centre.y + 200});
    EXPECT_TRUE(PumpUntil([&] { return StateOf(window) == DrawState::Normal; }));
}

TEST_F(ImageButtonClickTest, DisablingShowsTheDisabledImageAndEnablingTheNormalOne) {
    HWND window = CreateChild(parent_.get(), "BUTTON", 20, 20, 40, 30);
    PngImageButton button;
    AttachAndPaint(button, window, normal_.get());
    GiveAllImages(button);
    EnableWindow(window, FALSE);
    EXPECT_EQ(StateOf(window), DrawState::Disabled);
    EXPECT_EQ(WindowPixel(window, kInImage.x, kInImage.y), ColorOf(kDisabled));
    EnableWindow(window, TRUE);
    EXPECT_EQ(StateOf(window), DrawState::Normal);
    EXPECT_EQ(WindowPixel(window, kInImage.x, kInImage.y), ColorOf(kNormal));

    // Without a disabled image the normal one shows.
    button.SetStateImages(std::nullopt, std::nullopt, std::nullopt, nullptr);
    EnableWindow(window, FALSE);
    EXPECT_EQ(WindowPixel(window, kInImage.x, kInImage.y), ColorOf(kNormal));
}

}  // namespace
