// Tests of the skinned layered window: attaching, its methods, composition, the push, the software
// caret and its blink timer, on real windows of the virtual display.
#include "skin/layered_window.h"

#include "skin/layered_procedures.h"
#include "skin/window_properties.h"
#include "tests/skin/layered_test_support.h"
#include "tests/skin/skin_core_support.h"

#include <optional>
#include <string>
#include <utility>

namespace {

using layered_test::CaretLine;
using layered_test::CreateChild;
using layered_test::CreatePopupWindow;
using layered_test::ExpectedCaretLine;
using layered_test::PumpPending;
using layered_test::PumpUntil;
using layered_test::PushedFrame;
using layered_test::PushRecorder;
using layered_test::ScopedWindow;
using layered_test::SkinAsFilledPanel;
using layered_test::SkinAsTextBox;

constexpr std::uint32_t kOpaqueRed = 0xFFFF0000;
constexpr std::uint32_t kOpaqueBlue = 0xFF0000FF;
constexpr std::uint32_t kOpaqueGreen = 0xFF00FF00;
constexpr std::uint32_t kOpaqueWhite = 0xFFFFFFFF;
constexpr std::uint32_t kTransparent = 0x00000000;
// Panel colours are stored as 0x00BBGGRR.
constexpr std::int32_t kRedColor = 0x000000FF;
constexpr std::int32_t kBlueColor = 0x00FF0000;
constexpr std::int32_t kGreenColor = 0x0000FF00;

HWND CaretOwner() {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetCurrentThreadId(), &info);
    return info.hwndCaret;
}

// An image whose left half is red and right half blue, both opaque.
ScopedGpImage HalfRedHalfBlue(int width, int height) {
    return skin_core_test::MakeImage(
        width, height, [width](int x, int) { return x < width / 2 ? kOpaqueRed : kOpaqueBlue; });
}

using SkinWindowAttachTest = layered_test::LayeredWindowTest;

TEST_F(SkinWindowAttachTest, ExtendedStyleBecomesLayeredAloneWithCaretAndTimer) {
    ScopedWindow window = CreatePopupWindow(100, 100, 200, 100);
    const LONG_PTR before = WS_EX_TOOLWINDOW | WS_EX_ACCEPTFILES | WS_EX_TRANSPARENT;
    SetWindowLongPtrA(window.get(), GWL_EXSTYLE, before);
    ASSERT_EQ(GetWindowLongPtrA(window.get(), GWL_EXSTYLE) & before, before);
    SkinWindow skin;
    ASSERT_TRUE(skin.Attach(window.get()));
    EXPECT_EQ(GetWindowLongPtrA(window.get(), GWL_EXSTYLE), WS_EX_LAYERED);
    EXPECT_EQ(skin.GetHandle(), window.get());
    EXPECT_EQ(ReadProperty(window.get(), kTimerKey), 64);
    EXPECT_EQ(CaretOwner(), window.get());
    EXPECT_TRUE(KillTimer(window.get(), 64)) << "the blink timer has id 64";
}

TEST_F(SkinWindowAttachTest, SecondAttachMakesTheCaretAgainButStartsNoSecondTimer) {
    ScopedWindow window = CreatePopupWindow(100, 100, 200, 100);
    SkinWindow skin;
    ASSERT_TRUE(skin.Attach(window.get()));
    ASSERT_TRUE(KillTimer(window.get(), 64));
    DestroyCaret();
    ASSERT_EQ(CaretOwner(), nullptr);

    SkinWindow again;
    EXPECT_TRUE(again.Attach(window.get()));
    EXPECT_EQ(CaretOwner(), window.get());
    EXPECT_FALSE(KillTimer(window.get(), 64)) << "the window already has its timer property";
}

TEST_F(SkinWindowAttachTest, NonWindowHandleChangesNothing) {
    ScopedWindow window = CreatePopupWindow(100, 100, 200, 100);
    HWND gone = CreatePopupWindow(0, 0, 10, 10).get();  // destroyed at once
    SkinWindow skin;
    EXPECT_FALSE(skin.Attach(nullptr));
    EXPECT_FALSE(skin.Attach(gone));
    EXPECT_EQ(skin.GetHandle(), nullptr);
    EXPECT_FALSE(skin.IsValid());

    ASSERT_TRUE(skin.Attach(window.get()));
    EXPECT_FALSE(skin.Attach(gone));
    EXPECT_EQ(skin.GetHandle(), window.get());
    EXPECT_TRUE(skin.IsValid());
}

using SkinWindowMethodsTest = layered_test::LayeredWindowTest;

TEST_F(SkinWindowMethodsTest, SetBackImageStoresAndComposesOnlyWithWindowAndImage) {
    ScopedWindow window = CreatePopupWindow(100, 100, 200, 100);
    ScopedGpImage first = skin_core_test::MakeSolidImage(8, 8, kOpaqueRed);
    ScopedGpImage second = skin_core_test::MakeSolidImage(8, 8, kOpaqueBlue);
    PushRecorder pushes;
    SkinWindow skin;

    EXPECT_FALSE(skin.SetBackImage(first.get())) << "no window attached";
    ASSERT_TRUE(skin.Attach(window.get()));
    EXPECT_EQ(pushes.Count(), 0) << "attaching composes nothing";
    EXPECT_FALSE(skin.SetBackImage(nullptr));
    EXPECT_EQ(ReadProperty(window.get(), kBackImageKey), 0);
    EXPECT_EQ(pushes.Count(), 0);

    EXPECT_TRUE(skin.SetBackImage(first.get()));
    EXPECT_EQ(ReadHandleProperty<GpImage*>(window.get(), kBackImageKey), first.get());
    ASSERT_EQ(pushes.Count(), 1);
    EXPECT_EQ(pushes.Last().At(100, 50), kOpaqueRed);

    EXPECT_TRUE(skin.SetBackImage(second.get()));
    ASSERT_EQ(pushes.Count(), 2);
    EXPECT_EQ(pushes.Last().At(100, 50), kOpaqueBlue);
    // The image it replaced is still alive: it is not the skin's to dispose.
    UINT width = 0;
    EXPECT_EQ(GdipGetImageWidth(first.get(), &width), Ok);
    EXPECT_EQ(width, 8u);
}

// Records what reaches SetBackImage through the method table.
class RecordingSkinWindow : public SkinWindow {
  public:
    bool SetBackImage(GpImage* image) noexcept override {
        received = image;
        return SkinWindow::SetBackImage(image);
    }
    GpImage* received = nullptr;
};

TEST_F(SkinWindowMethodsTest, SetBackImageFromBytesGoesThroughTheOverridingSetBackImage) {
    ScopedWindow window = CreatePopupWindow(100, 100, 200, 100);
    RecordingSkinWindow recording;
    SkinWindow& skin = recording;
    ASSERT_TRUE(skin.Attach(window.get()));
    PushRecorder pushes;

    EXPECT_FALSE(skin.SetBackImageFromBytes(ByteBuffer::FromText("not an image")));
    EXPECT_EQ(recording.received, nullptr) << "a failed load never reaches SetBackImage";
    EXPECT_EQ(pushes.Count(), 0);

    const ByteBuffer png =
        skin_core_test::EncodePng(2, 2, {kOpaqueGreen, kOpaqueGreen, kOpaqueGreen, kOpaqueGreen});
    EXPECT_TRUE(skin.SetBackImageFromBytes(png));
    ASSERT_NE(recording.received, nullptr);
    EXPECT_EQ(ReadHandleProperty<GpImage*>(window.get(), kBackImageKey), recording.received);
    ASSERT_EQ(pushes.Count(), 1);
    EXPECT_EQ(pushes.Last().At(100, 50), kOpaqueGreen);
}

TEST_F(SkinWindowMethodsTest, SetBackImageFromBytesWithoutWindowFails) {
    SkinWindow skin;
    const ByteBuffer png = skin_core_test::EncodePng(1, 1, {kOpaqueGreen});
    EXPECT_FALSE(skin.SetBackImageFromBytes(png));
}

TEST_F(SkinWindowMethodsTest, SetBoundsTellsOmittedArgumentsFromZeros) {
    using Optional = std::optional<std::int32_t>;
    const Optional none;
    struct {
        Optional left, top, width, height;
        RECT expected;  // left, top, right, bottom
    } cases[] = {
        {none, none, none, none, {100, 120, 300, 220}},
        {30, none, none, none, {30, 120, 230, 220}},
        {none, 40, none, none, {100, 40, 300, 140}},
        {0, 0, none, none, {0, 0, 200, 100}},
        {none, none, 50, none, {100, 120, 150, 220}},
        {none, none, none, 60, {100, 120, 300, 180}},
        {none, none, 0, 0, {100, 120, 100, 120}},
        {10, 20, 30, 40, {10, 20, 40, 60}},
    };
    for (const auto& c : cases) {
        ScopedWindow window = CreatePopupWindow(100, 120, 200, 100);
        SkinWindow skin;
        ASSERT_TRUE(skin.Attach(window.get()));
        skin.SetBounds(c.left, c.top, c.width, c.height);
        RECT bounds{};
        GetWindowRect(window.get(), &bounds);
        const auto text = [](const RECT& r) {
            return std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                   std::to_string(r.right) + "," + std::to_string(r.bottom);
        };
        EXPECT_EQ(text(bounds), text(c.expected))
            << "left " << c.left.value_or(-1) << " top " << c.top.value_or(-1) << " width "
            << c.width.value_or(-1) << " height " << c.height.value_or(-1) << " (-1: omitted)";
    }
}

TEST_F(SkinWindowMethodsTest, SetBoundsComposesNothingAndNoRedrawStillMoves) {
    ScopedWindow window = CreatePopupWindow(100, 120, 200, 100);
    SkinWindow skin;
    ASSERT_TRUE(skin.Attach(window.get()));
    PushRecorder pushes;
    skin.SetBounds(5, 6, 70, 80, true);
    RECT bounds{};
    GetWindowRect(window.get(), &bounds);
    EXPECT_EQ(bounds.left, 5);
    EXPECT_EQ(bounds.bottom, 86);
    EXPECT_EQ(pushes.Count(), 0);
}

TEST_F(SkinWindowMethodsTest, HandleValiditySendMessageAndCopy) {
    ScopedWindow window = CreatePopupWindow(100, 100, 200, 100);
    {
        SkinWindow skin;
        ASSERT_TRUE(skin.Attach(window.get()));
        EXPECT_EQ(skin.SendMessage(WM_GETTEXTLENGTH, 0, 0), 12) << "\"layered test\"";
        skin.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("renamed"));
        char text[16] = {};
        GetWindowTextA(window.get(), text, sizeof(text));
        EXPECT_STREQ(text, "renamed");

        const SkinWindow copy(skin);
        EXPECT_EQ(copy.GetHandle(), window.get());
        EXPECT_TRUE(copy.IsValid());
    }
    // Destroying the objects leaves the window as they made it.
    EXPECT_EQ(GetWindowLongPtrA(window.get(), GWL_EXSTYLE), WS_EX_LAYERED);
    EXPECT_EQ(ReadProperty(window.get(), kTimerKey), 64);
    EXPECT_TRUE(KillTimer(window.get(), 64));

    SkinWindow skin;
    skin.Attach(window.get());
    DestroyWindow(window.release());
    EXPECT_FALSE(skin.IsValid());
}

using ComposeSkinTest = layered_test::LayeredWindowTest;

// Wine's GDI+ fades the right and bottom edges of an enlarged image over about one source
// pixel, so an enlarged image is checked inside that margin, a reduced one to the last pixel.
TEST_F(ComposeSkinTest, BackgroundIsStretchedToTheWindowWhateverItsSize) {
    struct {
        SIZE image;
        int margin;
    } cases[] = {{{40, 20}, 5}, {{600, 300}, 0}};
    for (const auto& c : cases) {
        ScopedWindow window = CreatePopupWindow(100, 100, 200, 100);
        ScopedGpImage background = HalfRedHalfBlue(c.image.cx, c.image.cy);
        SkinWindow skin;
        ASSERT_TRUE(skin.Attach(window.get()));
        PushRecorder pushes;
        ASSERT_TRUE(skin.SetBackImage(background.get()));
        ASSERT_EQ(pushes.Count(), 1);
        const PushedFrame& frame = pushes.Last();
        EXPECT_EQ(frame.width, 200);
        EXPECT_EQ(frame.height, 100);
        const int right = 199 - c.margin, bottom = 99 - c.margin;
        // The halves split at the window's middle, and the image reaches every edge.
        for (const POINT red : {POINT{0, 0}, POINT{90, 50}, POINT{0, bottom}}) {
            EXPECT_EQ(frame.At(red.x, red.y), kOpaqueRed)
                << c.image.cx << "x" << c.image.cy << " at " << red.x << "," << red.y;
        }
        for (const POINT blue : {POINT{110, 50}, POINT{right, 0}, POINT{right, bottom}}) {
            EXPECT_EQ(frame.At(blue.x, blue.y), kOpaqueBlue)
                << c.image.cx << "x" << c.image.cy << " at " << blue.x << "," << blue.y;
        }
    }
}

TEST_F(ComposeSkinTest, PixelsCoveredByNothingStayFullyTransparent) {
    ScopedWindow window = CreatePopupWindow(100, 100, 200, 100);
    // The background's top half is transparent.
    ScopedGpImage background = skin_core_test::MakeImage(
        200, 100, [](int, int y) { return y < 50 ? kTransparent : kOpaqueWhite; });
    SkinAsFilledPanel(CreateChild(window.get(), "STATIC", 20, 10, 30, 20), kGreenColor);
    SkinWindow skin;
    ASSERT_TRUE(skin.Attach(window.get()));
    PushRecorder pushes;

    ComposeSkin(window.get());
    ASSERT_EQ(pushes.Count(), 1);
    EXPECT_EQ(pushes.Last().At(30, 20), kOpaqueGreen);
    EXPECT_EQ(pushes.Last().At(100, 20), kTransparent) << "no background yet";
    EXPECT_EQ(pushes.Last().At(100, 80), kTransparent);

    ASSERT_TRUE(skin.SetBackImage(background.get()));
    ASSERT_EQ(pushes.Count(), 2);
    EXPECT_EQ(pushes.Last().At(30, 20), kOpaqueGreen);
    EXPECT_EQ(pushes.Last().At(100, 20), kTransparent) << "transparent part of the background";
    EXPECT_EQ(pushes.Last().At(100, 80), kOpaqueWhite);
}

TEST_F(ComposeSkinTest, ChildLowerInTheZOrderEndsOnTop) {
    struct {
        bool redOnTopOfZOrder;
        std::uint32_t overlap;
    } cases[] = {{true, kOpaqueBlue}, {false, kOpaqueRed}};
    for (const auto& c : cases) {
        ScopedWindow window = CreatePopupWindow(100, 100, 200, 100);
        HWND red = CreateChild(window.get(), "STATIC", 10, 10, 60, 60);
        HWND blue = CreateChild(window.get(), "STATIC", 40, 30, 60, 60);
        SkinAsFilledPanel(red, kRedColor);
        SkinAsFilledPanel(blue, kBlueColor);
        HWND top = c.redOnTopOfZOrder ? red : blue;
        SetWindowPos(top, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ASSERT_EQ(GetWindow(window.get(), GW_CHILD), top);
        SkinWindow skin;
        ASSERT_TRUE(skin.Attach(window.get()));
        PushRecorder pushes;
        ComposeSkin(window.get());
        ASSERT_EQ(pushes.Count(), 1);
        EXPECT_EQ(pushes.Last().At(20, 20), kOpaqueRed);
        EXPECT_EQ(pushes.Last().At(90, 80), kOpaqueBlue);
        EXPECT_EQ(pushes.Last().At(55, 50), c.overlap)
            << "red on top of the Z order " << c.redOnTopOfZOrder;
    }
}

TEST_F(ComposeSkinTest, HiddenSkinnedChildIsDrawnAndUnskinnedChildIsNot) {
    ScopedWindow window = CreatePopupWindow(100, 100, 200, 100);
    HWND hidden = CreateChild(window.get(), "STATIC", 10, 10, 40, 40);
    ShowWindow(hidden, SW_HIDE);
    SkinAsFilledPanel(hidden, kRedColor);
    HWND unskinned = CreateChild(window.get(), "STATIC", 100, 10, 40, 40);
    SkinAsFilledPanel(unskinned, kBlueColor);
    RemovePropA(unskinned, kTypeKey);
    SkinWindow skin;
    ASSERT_TRUE(skin.Attach(window.get()));
    PushRecorder pushes;
    ComposeSkin(window.get());
    ASSERT_EQ(pushes.Count(), 1);
    EXPECT_EQ(pushes.Last().At(30, 30), kOpaqueRed);
    EXPECT_EQ(pushes.Last().At(120, 30), kTransparent);
}

TEST_F(ComposeSkinTest, ReturnedCompositeIsNotPushedAndLeavesTheFocusStateAlone) {
    ScopedWindow window = CreatePopupWindow(100, 100, 120, 80);
    SkinAsFilledPanel(CreateChild(window.get(), "STATIC", 10, 10, 20, 20), kGreenColor);
    SkinWindow skin;
    ASSERT_TRUE(skin.Attach(window.get()));
    focusWindow = window.get();
    PushRecorder pushes;

    GpImage* composite = nullptr;
    ComposeSkin(window.get(), &composite, true);
    ScopedGpImage owned(composite);
    ASSERT_NE(composite, nullptr);
    EXPECT_EQ(pushes.Count(), 0);
    EXPECT_EQ(focusComposite, nullptr);
    UINT width = 0, height = 0;
    GdipGetImageWidth(composite, &width);
    GdipGetImageHeight(composite, &height);
    EXPECT_EQ(width, 120u);
    EXPECT_EQ(height, 80u);
    EXPECT_EQ(skin_core_test::ImagePixel(composite, 15, 15), kOpaqueGreen);
    EXPECT_EQ(skin_core_test::ImagePixel(composite, 50, 50), kTransparent);
}

TEST_F(ComposeSkinTest, FocusWindowKeepsItsLatestCompositeOthersKeepNone) {
    ScopedWindow focused = CreatePopupWindow(100, 100, 120, 80);
    ScopedWindow other = CreatePopupWindow(300, 100, 120, 80);
    HWND box = CreateChild(focused.get(), "STATIC", 10, 10, 20, 20);
    SkinAsFilledPanel(box, kGreenColor);
    focusWindow = focused.get();

    ComposeSkin(other.get());
    EXPECT_EQ(focusComposite, nullptr);
    ComposeSkin(focused.get());
    ASSERT_NE(focusComposite, nullptr);
    EXPECT_EQ(skin_core_test::ImagePixel(focusComposite, 15, 15), kOpaqueGreen);
    GpImage* first = focusComposite;
    WriteProperty(box, kBackColorKey, kRedColor);
    ComposeSkin(focused.get());
    EXPECT_NE(focusComposite, first);
    EXPECT_EQ(skin_core_test::ImagePixel(focusComposite, 15, 15), kOpaqueRed);
    ComposeSkin(other.get());
    EXPECT_EQ(skin_core_test::ImagePixel(focusComposite, 15, 15), kOpaqueRed)
        << "another window's composition does not touch the kept one";
}

// Committed memory of the process, summed over its address space.
std::uint64_t CommittedBytes() {
    std::uint64_t committed = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (auto* address = static_cast<const char*>(nullptr);
         VirtualQuery(address, &region, sizeof(region)) == sizeof(region);
         address = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT) committed += region.RegionSize;
        if (region.RegionSize == 0) break;
    }
    return committed;
}

// A 1000 x 1000 composite is 4 MB: 25 of them kept by mistake would be 100 MB.
TEST_F(ComposeSkinTest, CompositesThatAreReplacedOrNotKeptAreDisposed) {
    ScopedWindow focused = CreatePopupWindow(0, 0, 1000, 1000);
    ScopedWindow other = CreatePopupWindow(0, 0, 1000, 1000);
    focusWindow = focused.get();
    for (HWND window : {focused.get(), other.get()}) {
        ComposeSkin(window);
        const std::uint64_t before = CommittedBytes();
        for (int i = 0; i < 25; ++i) ComposeSkin(window);
        const std::uint64_t after = CommittedBytes();
        EXPECT_LT(after, before + 40u * 1024 * 1024)
            << (window == focusWindow ? "focus window" : "other window") << ": grew by "
            << (after - before) / 1024 << " KiB";
    }
    EXPECT_NE(focusComposite, nullptr);
}

TEST_F(ComposeSkinTest, PushSurfaceHasTheWindowSizeAndPushedPixelsReachTheScreen) {
    const COLORREF desktopInside = layered_test::ScreenPixel(450, 250);
    const COLORREF desktopOutside = layered_test::ScreenPixel(299, 250);
    ScopedWindow window = CreatePopupWindow(300, 200, 200, 100, layered_test::Showing::Shown);
    // Left half opaque red, right half transparent.
    ScopedGpImage background = skin_core_test::MakeImage(
        200, 100, [](int x, int) { return x < 100 ? kOpaqueRed : kTransparent; });
    SkinWindow skin;
    ASSERT_TRUE(skin.Attach(window.get()));
    ASSERT_TRUE(skin.SetBackImage(background.get()));
    PumpPending();
    EXPECT_TRUE(
        PumpUntil([&] { return layered_test::ScreenPixel(350, 250) == RGB(255, 0, 0); }, 3000))
        << std::hex << layered_test::ScreenPixel(350, 250);
    EXPECT_EQ(layered_test::ScreenPixel(450, 250), desktopInside) << "transparent part";
    EXPECT_EQ(layered_test::ScreenPixel(299, 250), desktopOutside) << "outside the window";
}

// A shown window with one skinned text box, in layered mode.
class SoftCaretTest : public layered_test::LayeredWindowTest {
  protected:
    void SetUp() override {
        LayeredWindowTest::SetUp();
        window_ = CreatePopupWindow(200, 150, 300, 120, layered_test::Showing::ShownActive);
        ScopedGpImage background = skin_core_test::MakeSolidImage(4, 4, 0xFF808080);
        background_ = std::move(background);
        box_ = CreateChild(window_.get(), "EDIT", 40, 30, 200, 27, ES_AUTOHSCROLL);
        SkinAsTextBox(box_);
        other_ = CreateChild(window_.get(), "EDIT", 40, 80, 200, 27, ES_AUTOHSCROLL);
        ASSERT_TRUE(skin_.Attach(window_.get()));
        ASSERT_TRUE(skin_.SetBackImage(background_.get()));
        skin_.ApplySkin();
        SetForegroundWindow(window_.get());
    }
    void TearDown() override {
        window_.reset();
        LayeredWindowTest::TearDown();
    }

    // Waits for the next push of the blink timer.
    bool NextTick(PushRecorder& pushes) {
        const int count = pushes.Count();
        return PumpUntil([&] { return pushes.Count() > count; }, 4000);
    }

    bool CaretIn(const PushedFrame& frame) {
        const CaretLine line = ExpectedCaretLine(window_.get(), box_);
        return frame.DarkPixelsInColumn(line.x, line.top, line.bottom) >= 11;
    }

    ScopedGpImage background_;
    ScopedWindow window_;
    HWND box_ = nullptr;
    HWND other_ = nullptr;  // an unskinned text box to move the focus to
    SkinWindow skin_;
};

TEST_F(SoftCaretTest, GainingFocusMakesTheParentFocusWindowAndKeepsTheNextComposite) {
    PushRecorder pushes;
    SetFocus(box_);
    ASSERT_EQ(GetFocus(), box_);
    EXPECT_EQ(focusWindow, window_.get());
    EXPECT_EQ(focusEdit, box_);
    EXPECT_EQ(caretPhase, 0);
    ASSERT_EQ(pushes.Count(), 1) << "focus composes once";
    ASSERT_NE(focusComposite, nullptr);
    EXPECT_EQ(skin_core_test::ImagePixel(focusComposite, 100, 40), pushes.Last().At(100, 40));
    EXPECT_EQ(pushes.Last().At(100, 40), kOpaqueWhite);
    EXPECT_FALSE(CaretIn(pushes.Last())) << "a composition pushes without the caret";

    GpImage* kept = focusComposite;
    SendMessageA(box_, WM_CHAR, 'a', 0);
    EXPECT_NE(focusComposite, kept) << "each composition of the focus window replaces it";
}

TEST_F(SoftCaretTest, TicksAlternateTheCaretAtItsPlace) {
    SetFocus(box_);
    for (char c : std::string("abc")) SendMessageA(box_, WM_CHAR, c, 0);
    POINT caret{};
    GetCaretPos(&caret);
    EXPECT_GT(caret.x, 0) << "the caret follows the typed text";
    PushRecorder pushes;
    for (int tick = 1; tick <= 4; ++tick) {
        ASSERT_TRUE(NextTick(pushes)) << "tick " << tick;
        const bool shown = tick % 2 == 1;
        EXPECT_EQ(caretPhase, shown ? 1 : 0);
        const PushedFrame& frame = pushes.Last();
        const CaretLine line = ExpectedCaretLine(window_.get(), box_);
        EXPECT_EQ(frame.DarkPixelsInColumn(line.x, line.top, line.bottom) >= 11, shown)
            << "tick " << tick << ", column " << line.x;
        // Exactly one column wide, and nothing above or below the line's 12 rows.
        EXPECT_EQ(frame.DarkPixelsInColumn(line.x - 1, 0, frame.height), 0) << "tick " << tick;
        EXPECT_EQ(frame.DarkPixelsInColumn(line.x + 1, 0, frame.height), 0) << "tick " << tick;
        EXPECT_EQ(frame.DarkPixelsInColumn(line.x, 0, line.top - 1), 0) << "tick " << tick;
        EXPECT_EQ(frame.DarkPixelsInColumn(line.x, line.bottom + 1, frame.height), 0)
            << "tick " << tick;
    }
}

TEST_F(SoftCaretTest, CompositionPushesWithoutTheCaretAndKeepsThePhase) {
    SetFocus(box_);
    PushRecorder pushes;
    ASSERT_TRUE(NextTick(pushes));
    ASSERT_EQ(caretPhase, 1);
    ASSERT_TRUE(CaretIn(pushes.Last()));

    SendMessageA(box_, WM_KEYDOWN, VK_END, 0);
    EXPECT_FALSE(CaretIn(pushes.Last()));
    EXPECT_EQ(caretPhase, 1);
    ASSERT_TRUE(NextTick(pushes));
    EXPECT_EQ(caretPhase, 0);
    EXPECT_FALSE(CaretIn(pushes.Last()));
    ASSERT_TRUE(NextTick(pushes));
    EXPECT_TRUE(CaretIn(pushes.Last())) << "the line comes back at the tick that turns it on";
}

TEST_F(SoftCaretTest, CaretShowsOnTheScreen) {
    SetFocus(box_);
    PushRecorder pushes;
    ASSERT_TRUE(PumpUntil([&] { return pushes.Count() > 0 && caretPhase == 1; }, 3000));
    const CaretLine line = ExpectedCaretLine(window_.get(), box_);
    POINT onScreen{line.x, line.top + 6};
    ClientToScreen(window_.get(), &onScreen);
    EXPECT_EQ(layered_test::ScreenPixel(onScreen.x, onScreen.y), RGB(0, 0, 0));
    EXPECT_EQ(layered_test::ScreenPixel(onScreen.x + 2, onScreen.y), RGB(255, 255, 255));
    ASSERT_TRUE(NextTick(pushes));
    EXPECT_EQ(layered_test::ScreenPixel(onScreen.x, onScreen.y), RGB(255, 255, 255));
}

TEST_F(SoftCaretTest, LosingFocusStopsTheCaretAndKeepsTheOldComposite) {
    SetFocus(box_);
    GpImage* kept = focusComposite;
    PushRecorder pushes;
    SetFocus(other_);
    EXPECT_EQ(focusWindow, nullptr);
    EXPECT_EQ(focusEdit, nullptr);
    ASSERT_EQ(pushes.Count(), 1) << "losing the focus composes";
    EXPECT_EQ(focusComposite, kept) << "that composition is not kept";
    // No blink pushes follow.
    EXPECT_FALSE(PumpUntil([&] { return pushes.Count() > 1; }, 1300));
}

TEST_F(SoftCaretTest, WindowThatIsNotTheFocusWindowNeverDrawsTheCaret) {
    ScopedWindow second = CreatePopupWindow(200, 400, 300, 120, layered_test::Showing::Shown);
    HWND secondBox = CreateChild(second.get(), "EDIT", 40, 30, 200, 27);
    SkinAsTextBox(secondBox);
    SkinWindow secondSkin;
    ASSERT_TRUE(secondSkin.Attach(second.get()));
    secondSkin.ApplySkin();
    SetFocus(box_);
    ASSERT_EQ(focusWindow, window_.get());

    PushRecorder pushes;
    int firstWindowTicks = 0;
    ASSERT_TRUE(PumpUntil(
        [&] {
            firstWindowTicks = 0;
            for (int i = 0; i < pushes.Count(); ++i) {
                firstWindowTicks += pushes.Frame(i).window == window_.get();
            }
            return firstWindowTicks >= 3;
        },
        6000));
    for (int i = 0; i < pushes.Count(); ++i) {
        EXPECT_EQ(pushes.Frame(i).window, window_.get()) << "push " << i;
    }
    // Direct calls: another window, another timer id, no kept composite.
    const int count = pushes.Count();
    BlinkTimerProc(second.get(), WM_TIMER, 64, 0);
    BlinkTimerProc(window_.get(), WM_TIMER, 65, 0);
    EXPECT_EQ(pushes.Count(), count);
    GpImage* kept = std::exchange(focusComposite, nullptr);
    BlinkTimerProc(window_.get(), WM_TIMER, 64, 0);
    EXPECT_EQ(pushes.Count(), count);
    focusComposite = kept;
    BlinkTimerProc(window_.get(), WM_TIMER, 64, 0);
    EXPECT_EQ(pushes.Count(), count + 1);
}

TEST_F(SoftCaretTest, PushWithoutWindowOrImageDoesNothing) {
    PushRecorder pushes;
    PushLayered(nullptr, background_.get(), false);
    PushLayered(window_.get(), nullptr, true);
    EXPECT_EQ(pushes.Count(), 0);
    PushLayered(window_.get(), background_.get(), false);
    ASSERT_EQ(pushes.Count(), 1);
    EXPECT_EQ(pushes.Last().At(2, 2), 0xFF808080u) << "drawn at its own size from the corner";
    EXPECT_EQ(pushes.Last().At(5, 5), kTransparent);
}

}  // namespace
