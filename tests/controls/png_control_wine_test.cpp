// Tests of the control base on real windows: attaching, the parent hook, subclassing and styles,
// the repaint from the cache, bounds and tooltips.
#include "controls/png_control.h"

#include "tests/controls/controls_support.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

namespace {

using namespace controls_test;

constexpr COLORREF kParentColor = RGB(0x20, 0x40, 0x60);

class ControlTest : public testing::Test {
  protected:
    void SetUp() override {
        parent_ = CreateParentWindow(parentRecorder_, kParentColor);
        ASSERT_TRUE(parent_);
        PumpMessages();
    }

    // A recording child whose procedure stands for the control's own one.
    HWND RecordingChild(MessageRecorder& recorder, int x = 10, int y = 10, int width = 40,
                        int height = 30, DWORD style = WS_CHILD | WS_VISIBLE) {
        return CreateRecordingWindow(recorder, parent_.get(), x, y, width, height, style);
    }

    MessageRecorder parentRecorder_;
    ScopedWindow parent_;
};

// Attach

using PngControlAttachTest = ControlTest;

TEST_F(PngControlAttachTest, HooksTheParentOnceAndKeepsItsOwnProcedure) {
    HWND first = CreateChild(parent_.get(), "STATIC", 10, 10, 40, 20);
    HWND second = CreateChild(parent_.get(), "STATIC", 60, 10, 40, 20);
    PngControl firstControl;
    PngControl secondControl;
    ASSERT_TRUE(firstControl.Attach(first));
    ASSERT_TRUE(secondControl.Attach(second));

    EXPECT_EQ(WindowProcedure(parent_.get()), ParentHookProc);
    EXPECT_EQ(ReadHandleProperty<WNDPROC>(parent_.get(), kSavedProcKey), RecordingProc);
    // Hooked twice, the chain would reach the parent's procedure twice (or never end).
    parentRecorder_.messages.clear();
    SendMessageA(parent_.get(), WM_USER + 7, 1, 2);
    EXPECT_EQ(parentRecorder_.Count(WM_USER + 7), 1);
    // Attach does not mark the control as skinned: the derived classes do.
    EXPECT_EQ(ReadProperty(first, kTypeKey), 0);
}

TEST_F(PngControlAttachTest, SkinnedParentIsNotHookedButStopsClippingChildren) {
    MessageRecorder innerRecorder;
    HWND inner =
        RecordingChild(innerRecorder, 10, 10, 150, 100, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN);
    for (const std::intptr_t type : {1, 2, 3, 4, 9}) {
        WriteProperty(inner, kTypeKey, type);
        ChangeStyle(inner, 0, WS_CLIPCHILDREN);
        HWND child = CreateChild(inner, "STATIC", 5, 5, 20, 20);
        PngControl control;
        ASSERT_TRUE(control.Attach(child));
        EXPECT_EQ(WindowProcedure(inner), RecordingProc) << "type " << type;
        EXPECT_EQ(ReadProperty(inner, kSavedProcKey), 0) << "type " << type;
        EXPECT_EQ(GetWindowLongA(inner, GWL_STYLE) & WS_CLIPCHILDREN, 0) << "type " << type;
        DestroyWindow(child);
    }
}

TEST_F(PngControlAttachTest, ChangesOnlyTheThreeStyleBits) {
    HWND child = CreateChild(parent_.get(), "STATIC", 10, 10, 40, 20,
                             WS_CLIPSIBLINGS | WS_TABSTOP | WS_DISABLED | SS_NOTIFY,
                             WS_EX_CLIENTEDGE | WS_EX_NOPARENTNOTIFY);
    const auto childStyle = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
    const auto childExStyle = static_cast<DWORD>(GetWindowLongA(child, GWL_EXSTYLE));
    const auto parentStyle = static_cast<DWORD>(GetWindowLongA(parent_.get(), GWL_STYLE));
    const auto parentExStyle = static_cast<DWORD>(GetWindowLongA(parent_.get(), GWL_EXSTYLE));
    ASSERT_NE(childStyle & WS_CLIPSIBLINGS, 0u);
    ASSERT_NE(parentStyle & WS_CLIPCHILDREN, 0u);

    PngControl control;
    ASSERT_TRUE(control.Attach(child));

    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE)), childStyle & ~WS_CLIPSIBLINGS);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(child, GWL_EXSTYLE)),
              childExStyle | WS_EX_TRANSPARENT);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(parent_.get(), GWL_STYLE)),
              parentStyle & ~WS_CLIPCHILDREN);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(parent_.get(), GWL_EXSTYLE)), parentExStyle);

    // Attaching again changes nothing more.
    ASSERT_TRUE(control.Attach(child));
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE)), childStyle & ~WS_CLIPSIBLINGS);
    EXPECT_EQ(WindowProcedure(parent_.get()), ParentHookProc);
    EXPECT_EQ(ReadHandleProperty<WNDPROC>(parent_.get(), kSavedProcKey), RecordingProc);
}

TEST_F(PngControlAttachTest, RefusesWhatIsNotAWindowAndKeepsItsHandle) {
    HWND child = CreateChild(parent_.get(), "STATIC", 10, 10, 40, 20);
    HWND gone = CreateChild(parent_.get(), "STATIC", 10, 40, 40, 20);
    DestroyWindow(gone);
    PngControl control;
    EXPECT_FALSE(control.Attach(nullptr));
    EXPECT_EQ(control.GetHandle(), nullptr);
    EXPECT_FALSE(control.IsValid());
    // Invalidating the null window would invalidate every window.
    PumpMessages();
    ValidateRect(parent_.get(), nullptr);
    control.Invalidate();
    EXPECT_FALSE(GetUpdateRect(parent_.get(), nullptr, FALSE));
    ASSERT_TRUE(control.Attach(child));
    EXPECT_FALSE(control.Attach(gone));
    EXPECT_EQ(control.GetHandle(), child);
}

TEST_F(PngControlAttachTest, MethodsActOnTheAttachedWindow) {
    MessageRecorder childRecorder;
    childRecorder.handler = [](HWND, UINT message, WPARAM wParam,
                               LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_USER + 1) return static_cast<LRESULT>(wParam + lParam);
        return std::nullopt;
    };
    HWND child = RecordingChild(childRecorder);
    PngControl control;
    ASSERT_TRUE(control.Attach(child));
    EXPECT_EQ(control.GetHwnd(), child);
    EXPECT_TRUE(control.IsValid());
    EXPECT_TRUE(control.SetProperty("KestruneTest_Value", 1234));
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(GetPropA(child, "KestruneTest_Value")), 1234);
    EXPECT_EQ(control.GetProperty("KestruneTest_Value"), 1234);
    EXPECT_EQ(control.SendMessage(WM_USER + 1, 40, 2), 42);
    EXPECT_EQ(control.SendMsg(WM_USER + 1, 5, 6), 11);

    const PngControl copy(control);
    EXPECT_EQ(copy.GetHandle(), child);

    PumpMessages();
    EXPECT_FALSE(GetUpdateRect(child, nullptr, FALSE));
    control.Invalidate();
    RECT update{};
    EXPECT_TRUE(GetUpdateRect(child, &update, FALSE));
    EXPECT_EQ(update.right - update.left, 40);
    EXPECT_EQ(update.bottom - update.top, 30);
    const int erasesBefore = childRecorder.Count(WM_ERASEBKGND);
    UpdateWindow(child);
    EXPECT_EQ(childRecorder.Count(WM_ERASEBKGND), erasesBefore) << "invalidated without erase";

    DestroyWindow(child);
    EXPECT_FALSE(control.IsValid());
}

// HookWindowProc, CallSavedProc, ChangeStyle and ChangeExStyle

LRESULT CALLBACK FirstHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallSavedProc(window, message, wParam, lParam);
}

LRESULT CALLBACK SecondHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallSavedProc(window, message, wParam, lParam);
}

using PngControlSubclassTest = ControlTest;

TEST_F(PngControlSubclassTest, HooksOnceWhateverProcedureComesNext) {
    MessageRecorder childRecorder;
    childRecorder.handler = [](HWND, UINT message, WPARAM wParam,
                               LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_USER + 2) return static_cast<LRESULT>(wParam * 100 + lParam);
        return std::nullopt;
    };
    HWND child = RecordingChild(childRecorder);
    HookWindowProc(child, FirstHook);
    HookWindowProc(child, SecondHook);
    EXPECT_EQ(WindowProcedure(child), FirstHook);
    EXPECT_EQ(ReadHandleProperty<WNDPROC>(child, kSavedProcKey), RecordingProc);

    // Messages reach the saved procedure with their arguments, and its result comes back.
    EXPECT_EQ(SendMessageA(child, WM_USER + 2, 3, 4), 304);
    EXPECT_EQ(CallSavedProc(child, WM_USER + 2, 5, 6), 506);
    ASSERT_TRUE(childRecorder.Last(WM_USER + 2));
    EXPECT_EQ(childRecorder.Last(WM_USER + 2)->wParam, 5u);
    EXPECT_EQ(childRecorder.Count(WM_USER + 2), 2);
}

TEST_F(PngControlSubclassTest, AWindowWithoutASavedProcedureGetsTheDefaultOne) {
    HWND child = CreateChild(parent_.get(), "STATIC", 10, 10, 40, 20, 0, 0, "abcd");
    ASSERT_EQ(ReadProperty(child, kSavedProcKey), 0);
    // The default procedure answers from the window's text; a null procedure would answer 0.
    EXPECT_EQ(CallSavedProc(child, WM_GETTEXTLENGTH, 0, 0), 4);
}

TEST_F(PngControlSubclassTest, ChangesStylesOnlyWhenTheyChange) {
    struct Case {
        const char* name;
        bool extended;
        DWORD clear;
        DWORD set;
        UINT extraFlags;
        bool changed;
        bool framed;  // the frame was recalculated (SetWindowPos ran)
    };
    const Case cases[] = {
        {"clear a set bit", false, WS_TABSTOP, 0, 0, true, false},
        {"set a set bit", false, 0, WS_VISIBLE, 0, false, false},
        {"clear a clear bit", false, WS_BORDER, 0, SWP_FRAMECHANGED, false, false},
        {"set with frame change", false, 0, WS_BORDER, SWP_FRAMECHANGED, true, true},
        {"clear and set the same bit", false, WS_TABSTOP, WS_TABSTOP, 0, false, false},
        {"extended set", true, 0, WS_EX_TRANSPARENT, 0, true, false},
        {"extended unchanged", true, WS_EX_TOPMOST, 0, SWP_FRAMECHANGED, false, false},
        {"extended with frame change", true, 0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED, true, true},
    };
    for (const Case& each : cases) {
        MessageRecorder childRecorder;
        HWND child =
            RecordingChild(childRecorder, 10, 10, 40, 30, WS_CHILD | WS_VISIBLE | WS_TABSTOP);
        const int index = each.extended ? GWL_EXSTYLE : GWL_STYLE;
        const auto before = static_cast<DWORD>(GetWindowLongA(child, index));
        childRecorder.messages.clear();
        const bool changed = each.extended
                                 ? ChangeExStyle(child, each.clear, each.set, each.extraFlags)
                                 : ChangeStyle(child, each.clear, each.set, each.extraFlags);
        EXPECT_EQ(changed, each.changed) << each.name;
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(child, index)),
                  (before & ~each.clear) | each.set)
            << each.name;
        EXPECT_EQ(childRecorder.Count(WM_STYLECHANGING) > 0, each.changed) << each.name;
        EXPECT_EQ(childRecorder.Count(WM_NCCALCSIZE) > 0, each.framed) << each.name;
        DestroyWindow(child);
    }
}

// ParentHookProc

using ParentHookProcTest = ControlTest;

TEST_F(ParentHookProcTest, ColourRequestsOfSkinnedControlsGetANullBrush) {
    constexpr LRESULT kParentAnswer = 0x5151;
    constexpr COLORREF kOldText = RGB(1, 2, 3);
    constexpr COLORREF kPanelText = RGB(0x80, 0x10, 0x20);
    parentRecorder_.handler = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) return kParentAnswer;
        return std::nullopt;
    };
    MessageRecorder childRecorder;
    HWND child = RecordingChild(childRecorder);
    PngControl control;
    ASSERT_TRUE(control.Attach(child));
    WriteProperty(child, kTextColorKey, static_cast<std::intptr_t>(kPanelText));

    const UINT messages[] = {WM_CTLCOLORMSGBOX,   WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX,
                             WM_CTLCOLORBTN,      WM_CTLCOLORDLG,  WM_CTLCOLORSTATIC,
                             WM_CTLCOLORSCROLLBAR};
    for (const std::intptr_t type : {0, 2, 3, 4}) {
        WriteProperty(child, kTypeKey, type);
        for (const UINT message : messages) {
            MemorySurface surface(4, 4, RGB(0, 0, 0));
            SetBkMode(surface.dc(), OPAQUE);
            SetTextColor(surface.dc(), kOldText);
            parentRecorder_.messages.clear();
            const LRESULT result =
                SendMessageA(parent_.get(), message, reinterpret_cast<WPARAM>(surface.dc()),
                             reinterpret_cast<LPARAM>(child));
            const bool served = type != 0 && message != WM_CTLCOLORSCROLLBAR;
            const std::string name =
                "type " + std::to_string(type) + ", message 0x" + std::to_string(message);
            if (served) {
                EXPECT_EQ(result, reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH))) << name;
                EXPECT_EQ(parentRecorder_.Count(message), 0) << name;
                EXPECT_EQ(GetBkMode(surface.dc()), TRANSPARENT) << name;
                EXPECT_EQ(GetTextColor(surface.dc()), type == 4 ? kPanelText : kOldText) << name;
            } else {
                EXPECT_EQ(result, kParentAnswer) << name;
                EXPECT_EQ(parentRecorder_.Count(message), 1) << name;
                EXPECT_EQ(GetBkMode(surface.dc()), OPAQUE) << name;
                EXPECT_EQ(GetTextColor(surface.dc()), kOldText) << name;
            }
        }
    }
}

TEST_F(ParentHookProcTest, TextChangesOfPanelsInvalidateThemWithErase) {
    struct Case {
        std::intptr_t type;
        WORD code;
        bool invalidated;
    };
    const Case cases[] = {
        {4, EN_CHANGE, true},    {4, EN_HSCROLL, true},  {4, EN_VSCROLL, true},
        {4, EN_SETFOCUS, false}, {4, EN_UPDATE, false},  {0, EN_CHANGE, false},
        {3, EN_CHANGE, false},   {3, EN_VSCROLL, false},
    };
    MessageRecorder childRecorder;
    HWND child = RecordingChild(childRecorder);
    PngControl control;
    ASSERT_TRUE(control.Attach(child));
    for (const Case& each : cases) {
        WriteProperty(child, kTypeKey, each.type);
        PumpMessages();
        ValidateRect(child, nullptr);
        parentRecorder_.messages.clear();
        childRecorder.messages.clear();
        const WPARAM wParam = MAKEWPARAM(77, each.code);
        SendMessageA(parent_.get(), WM_COMMAND, wParam, reinterpret_cast<LPARAM>(child));
        const std::string name =
            "type " + std::to_string(each.type) + ", code " + std::to_string(each.code);
        EXPECT_EQ(GetUpdateRect(child, nullptr, FALSE) != FALSE, each.invalidated) << name;
        ASSERT_EQ(parentRecorder_.Count(WM_COMMAND), 1) << name;
        EXPECT_EQ(parentRecorder_.Last(WM_COMMAND)->wParam, wParam) << name;
        EXPECT_EQ(parentRecorder_.Last(WM_COMMAND)->lParam, reinterpret_cast<LPARAM>(child))
            << name;
        UpdateWindow(child);
        EXPECT_EQ(childRecorder.Count(WM_ERASEBKGND), each.invalidated ? 1 : 0) << name;
    }
    // Menu commands carry no control.
    parentRecorder_.messages.clear();
    SendMessageA(parent_.get(), WM_COMMAND, MAKEWPARAM(5, 0), 0);
    EXPECT_EQ(parentRecorder_.Count(WM_COMMAND), 1);
}

TEST_F(ParentHookProcTest, CustomDrawRepaintsAnImageButtonBeforeTheParentSeesIt) {
    StartGraphics();
    constexpr COLORREF kCached = RGB(0xC0, 0x30, 0x90);
    constexpr COLORREF kMarker = RGB(0, 0, 0);
    struct Case {
        std::intptr_t type;
        UINT code;
        bool repainted;
    };
    const Case cases[] = {
        {3, static_cast<UINT>(NM_CUSTOMDRAW), true},
        {3, static_cast<UINT>(NM_CLICK), false},
        {4, static_cast<UINT>(NM_CUSTOMDRAW), false},
        {0, static_cast<UINT>(NM_CUSTOMDRAW), false},
    };
    MessageRecorder childRecorder;
    HWND child = RecordingChild(childRecorder);
    PngControl control;
    ASSERT_TRUE(control.Attach(child));
    WriteHandleProperty(child, kCacheBitmapKey, CreateFilledBitmap(40, 30, kCached));
    std::optional<COLORREF> seenByParent;
    parentRecorder_.handler = [&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_NOTIFY) seenByParent = WindowPixel(child, 20, 15);
        return std::nullopt;
    };
    for (const Case& each : cases) {
        WriteProperty(child, kTypeKey, each.type);
        PumpMessages();
        FillWholeWindow(child, kMarker);
        seenByParent.reset();
        NMHDR header{child, 77, each.code};
        SendMessageA(parent_.get(), WM_NOTIFY, 77, reinterpret_cast<LPARAM>(&header));
        const std::string name =
            "type " + std::to_string(each.type) + ", code " + std::to_string(each.code);
        ASSERT_TRUE(seenByParent) << name;
        EXPECT_EQ(*seenByParent, each.repainted ? kCached : kMarker) << name;
    }
}

// RepaintFromCache, into a given DC so that every pixel is known

class RepaintFromCacheTest : public ControlTest {
  protected:
    static constexpr ARGB kNormal = 0xFF0000FF;
    static constexpr ARGB kHot = 0xFF00FF00;
    static constexpr COLORREF kCached = RGB(0x40, 0x50, 0x60);
    static constexpr COLORREF kOutside = RGB(0xFF, 0xFF, 0xFF);

    void SetUp() override {
        ControlTest::SetUp();
        StartGraphics();
        control_ = RecordingChild(controlRecorder_, 10, 10, 40, 30);
    }

    MessageRecorder controlRecorder_;
    HWND control_ = nullptr;
};

TEST_F(RepaintFromCacheTest, PlacesTheStateImageOverTheCache) {
    struct Probe {
        int x;
        int y;
        COLORREF expected;
    };
    struct Case {
        const char* name;
        int imageWidth;
        int imageHeight;
        BackType backType;
        std::vector<Probe> probes;
    };
    const COLORREF image = ColorOf(kNormal);
    const Case cases[] = {
        {"natural, smaller",
         12,
         10,
         BackType::Natural,
         {{1, 1, image}, {10, 8, image}, {13, 5, kCached}, {5, 11, kCached}, {39, 29, kCached}}},
        {"natural, larger is cut at the control",
         60,
         50,
         BackType::Natural,
         {{1, 1, image}, {38, 28, image}, {41, 5, kOutside}, {5, 31, kOutside}}},
        {"unknown type draws natural",
         12,
         10,
         static_cast<BackType>(7),
         {{1, 1, image}, {14, 12, kCached}}},
        {"stretch",
         12,
         10,
         BackType::Stretch,
         {{4, 4, image}, {20, 15, image}, {33, 24, image}, {41, 15, kOutside}}},
        // 80 x 40 into 40 x 30 gives 40 x 20 at (0, 5).
        {"fit, larger",
         80,
         40,
         BackType::Fit,
         {{20, 2, kCached}, {20, 8, image}, {20, 22, image}, {20, 27, kCached}}},
        // 10 x 8 keeps its size, centred at (15, 11).
        {"fit, smaller",
         10,
         8,
         BackType::Fit,
         {{13, 14, kCached},
          {17, 13, image},
          {23, 17, image},
          {26, 14, kCached},
          {20, 9, kCached},
          {20, 20, kCached}}},
    };
    for (const Case& each : cases) {
        ScopedGpImage normal = MakeSolidImage(each.imageWidth, each.imageHeight, kNormal);
        HBITMAP cache = CreateFilledBitmap(40, 30, kCached);
        WriteHandleProperty(control_, kCacheBitmapKey, cache);
        WriteHandleProperty<GpImage*>(control_, kNormalImageKey, normal.get());
        WriteCodeProperty(control_, kBackTypeKey, each.backType);
        MemorySurface surface(60, 50, kOutside);
        RepaintFromCache(control_, surface.dc());
        for (const Probe& probe : each.probes) {
            EXPECT_EQ(surface.Pixel(probe.x, probe.y), probe.expected)
                << each.name << " at (" << probe.x << ", " << probe.y << ")";
        }
        WriteHandleProperty<HBITMAP>(control_, kCacheBitmapKey, nullptr);
        DeleteObject(cache);
    }
}

TEST_F(RepaintFromCacheTest, ShowsTheImageOfTheDrawStateOrTheNormalOne) {
    ScopedGpImage normal = MakeSolidImage(12, 10, kNormal);
    ScopedGpImage hot = MakeSolidImage(12, 10, kHot);
    WriteHandleProperty(control_, kCacheBitmapKey, CreateFilledBitmap(40, 30, kCached));
    WriteHandleProperty<GpImage*>(control_, kNormalImageKey, normal.get());
    WriteHandleProperty<GpImage*>(control_, kHotImageKey, hot.get());
    struct Case {
        std::intptr_t state;
        COLORREF expected;
    };
    const Case cases[] = {{0, ColorOf(kNormal)},
                          {1, ColorOf(kHot)},
                          {2, ColorOf(kNormal)},
                          {3, ColorOf(kNormal)},
                          {8, ColorOf(kNormal)}};
    for (const Case& each : cases) {
        WriteProperty(control_, kDrawStateKey, each.state);
        MemorySurface surface(60, 50, kOutside);
        RepaintFromCache(control_, surface.dc());
        EXPECT_EQ(surface.Pixel(5, 5), each.expected) << "state " << each.state;
        EXPECT_EQ(surface.Pixel(30, 20), kCached) << "state " << each.state;
    }
}

TEST_F(RepaintFromCacheTest, NeedsACacheButNotAnImage) {
    ScopedGpImage normal = MakeSolidImage(12, 10, kNormal);
    WriteHandleProperty<GpImage*>(control_, kNormalImageKey, normal.get());
    {
        MemorySurface surface(60, 50, kOutside);
        RepaintFromCache(control_, surface.dc());
        EXPECT_EQ(surface.Pixel(5, 5), kOutside) << "no cache: not even the image";
    }
    WriteHandleProperty<GpImage*>(control_, kNormalImageKey, nullptr);
    WriteHandleProperty(control_, kCacheBitmapKey, CreateFilledBitmap(40, 30, kCached));
    MemorySurface surface(60, 50, kOutside);
    RepaintFromCache(control_, surface.dc());
    EXPECT_EQ(surface.Pixel(5, 5), kCached);
    EXPECT_EQ(surface.Pixel(39, 29), kCached);
    EXPECT_EQ(surface.Pixel(40, 30), kOutside);
}

TEST_F(RepaintFromCacheTest, WithoutADcPaintsTheWindow) {
    ScopedGpImage normal = MakeSolidImage(12, 10, kNormal);
    WriteHandleProperty<GpImage*>(control_, kNormalImageKey, normal.get());
    WriteHandleProperty(control_, kCacheBitmapKey, CreateFilledBitmap(40, 30, kCached));
    PumpMessages();
    FillWholeWindow(control_, RGB(0, 0, 0));
    RepaintFromCache(control_);
    EXPECT_EQ(WindowPixel(control_, 5, 5), ColorOf(kNormal));
    EXPECT_EQ(WindowPixel(control_, 30, 20), kCached);
}

// SetBounds

using PngControlSetBoundsTest = ControlTest;

TEST_F(PngControlSetBoundsTest, OmittedValuesKeepTheCurrentOnesAndZeroIsReal) {
    using std::nullopt;
    struct Case {
        const char* name;
        std::optional<std::int32_t> x, y, width, height;
        bool noRedraw;
        RECT expected;  // left, top, width, height in the parent's client area
        UINT flags;     // of the move, among SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW
    };
    const Case cases[] = {
        {"nothing",
         nullopt,
         nullopt,
         nullopt,
         nullopt,
         false,
         {10, 20, 50, 40},
         SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE},
        {"only x",
         30,
         nullopt,
         nullopt,
         nullopt,
         false,
         {30, 20, 50, 40},
         SWP_NOZORDER | SWP_NOSIZE},
        {"only y, zero",
         nullopt,
         0,
         nullopt,
         nullopt,
         false,
         {10, 0, 50, 40},
         SWP_NOZORDER | SWP_NOSIZE},
        {"only width, zero",
         nullopt,
         nullopt,
         0,
         nullopt,
         false,
         {10, 20, 0, 40},
         SWP_NOZORDER | SWP_NOMOVE},
        {"only height",
         nullopt,
         nullopt,
         nullopt,
         15,
         false,
         {10, 20, 50, 15},
         SWP_NOZORDER | SWP_NOMOVE},
        {"all zero", 0, 0, 0, 0, false, {0, 0, 0, 0}, SWP_NOZORDER},
        {"all given", 5, 6, 70, 35, false, {5, 6, 70, 35}, SWP_NOZORDER},
        {"no redraw",
         12,
         nullopt,
         nullopt,
         nullopt,
         true,
         {12, 20, 50, 40},
         SWP_NOZORDER | SWP_NOSIZE | SWP_NOREDRAW},
    };
    constexpr UINT kObserved = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW;
    for (const Case& each : cases) {
        MessageRecorder childRecorder;
        std::optional<UINT> flags;
        childRecorder.handler = [&flags](HWND, UINT message, WPARAM,
                                         LPARAM lParam) -> std::optional<LRESULT> {
            if (message == WM_WINDOWPOSCHANGING) {
                flags = reinterpret_cast<const WINDOWPOS*>(lParam)->flags;
            }
            return std::nullopt;
        };
        HWND child = RecordingChild(childRecorder, 10, 20, 50, 40);
        PngControl control;
        ASSERT_TRUE(control.Attach(child));
        control.SetBounds(each.x, each.y, each.width, each.height, each.noRedraw);
        RECT bounds{};
        GetWindowRect(child, &bounds);
        MapWindowPoints(nullptr, parent_.get(), reinterpret_cast<POINT*>(&bounds), 2);
        EXPECT_EQ(bounds.left, each.expected.left) << each.name;
        EXPECT_EQ(bounds.top, each.expected.top) << each.name;
        EXPECT_EQ(bounds.right - bounds.left, each.expected.right) << each.name;
        EXPECT_EQ(bounds.bottom - bounds.top, each.expected.bottom) << each.name;
        ASSERT_TRUE(flags) << each.name;
        EXPECT_EQ(*flags & kObserved, each.flags) << each.name;
        DestroyWindow(child);
    }
}

TEST_F(PngControlSetBoundsTest, AWindowThatIsNoChildStaysInScreenCoordinates) {
    MessageRecorder popupRecorder;
    ScopedWindow popup(CreateRecordingWindow(popupRecorder, parent_.get(), 300, 250, 50, 40,
                                             WS_POPUP | WS_VISIBLE));
    PngControl control;
    ASSERT_TRUE(control.Attach(popup.get()));
    control.SetBounds(std::nullopt, 260);
    RECT bounds{};
    GetWindowRect(popup.get(), &bounds);
    EXPECT_EQ(bounds.left, 300);
    EXPECT_EQ(bounds.top, 260);
    EXPECT_EQ(bounds.right - bounds.left, 50);
}

// SetToolTip

class PngControlSetToolTipTest : public ControlTest {
  protected:
    static int ToolCount() {
        return static_cast<int>(SendMessageA(toolTipWindow, TTM_GETTOOLCOUNT, 0, 0));
    }

    static std::optional<TTTOOLINFOA> ToolOf(HWND control) {
        TTTOOLINFOA tool{};
        tool.cbSize = sizeof(tool);
        tool.hwnd = control;
        tool.uId = 0;
        if (!SendMessageA(toolTipWindow, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool))) {
            return std::nullopt;
        }
        return tool;
    }

    static std::string TextOf(HWND control) {
        char buffer[1024] = {};
        TTTOOLINFOA tool{};
        tool.cbSize = sizeof(tool);
        tool.hwnd = control;
        tool.lpszText = buffer;
        SendMessageA(toolTipWindow, TTM_GETTEXTA, sizeof(buffer), reinterpret_cast<LPARAM>(&tool));
        return buffer;
    }
};

TEST_F(PngControlSetToolTipTest, AddsOneToolPerControlThenUpdatesItsText) {
    HWND first = CreateChild(parent_.get(), "STATIC", 10, 10, 40, 20);
    HWND second = CreateChild(parent_.get(), "STATIC", 60, 10, 30, 25);
    PngControl firstControl;
    PngControl secondControl;
    ASSERT_TRUE(firstControl.Attach(first));
    ASSERT_TRUE(secondControl.Attach(second));

    firstControl.SetToolTip("first tip");
    ASSERT_NE(toolTipWindow, nullptr);
    const HWND shared = toolTipWindow;
    char className[64] = {};
    GetClassNameA(toolTipWindow, className, sizeof(className));
    EXPECT_STREQ(className, "tooltips_class32");
    EXPECT_NE(GetWindowLongA(toolTipWindow, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(SendMessageA(toolTipWindow, TTM_GETMAXTIPWIDTH, 0, 0), 1024);
    const int countAfterFirst = ToolCount();
    EXPECT_GE(countAfterFirst, 1);
    EXPECT_EQ(ReadProperty(first, kToolTipsKey), 1);
    EXPECT_EQ(TextOf(first), "first tip");
    const auto added = ToolOf(first);
    ASSERT_TRUE(added);
    EXPECT_EQ(added->uFlags, static_cast<UINT>(TTF_SUBCLASS));
    EXPECT_EQ(added->rect.right - added->rect.left, 40);
    EXPECT_EQ(added->rect.bottom - added->rect.top, 20);

    // Later calls only change the text: the flags and the rectangle stay as they were added.
    SetWindowPos(first, nullptr, 0, 0, 80, 50, SWP_NOMOVE | SWP_NOZORDER);
    firstControl.SetToolTip("second tip", 0);
    EXPECT_EQ(toolTipWindow, shared);
    EXPECT_EQ(ToolCount(), countAfterFirst);
    EXPECT_EQ(TextOf(first), "second tip");
    const auto updated = ToolOf(first);
    ASSERT_TRUE(updated);
    EXPECT_EQ(updated->uFlags, static_cast<UINT>(TTF_SUBCLASS));
    EXPECT_EQ(updated->rect.right - updated->rect.left, 40);

    // Another control gets a tool of its own in the same window.
    secondControl.SetToolTip("other tip", 0);
    EXPECT_EQ(toolTipWindow, shared);
    EXPECT_EQ(ToolCount(), countAfterFirst + 1);
    EXPECT_EQ(TextOf(second), "other tip");
    EXPECT_EQ(TextOf(first), "second tip");
}

TEST_F(PngControlSetToolTipTest, BitZeroOfTheFlagChoosesWhereTheTipShows) {
    struct Case {
        std::optional<std::int32_t> nearPointer;
        UINT flags;
    };
    const Case cases[] = {
        {std::nullopt, TTF_SUBCLASS},
        {1, TTF_SUBCLASS},
        {3, TTF_SUBCLASS},
        {-1, TTF_SUBCLASS},
        {0, TTF_SUBCLASS | TTF_CENTERTIP},
        {2, TTF_SUBCLASS | TTF_CENTERTIP},
    };
    for (const Case& each : cases) {
        HWND child = CreateChild(parent_.get(), "STATIC", 10, 10, 40, 20);
        PngControl control;
        ASSERT_TRUE(control.Attach(child));
        control.SetToolTip("tip", each.nearPointer);
        const auto tool = ToolOf(child);
        ASSERT_TRUE(tool);
        EXPECT_EQ(tool->uFlags, each.flags) << "flag " << each.nearPointer.value_or(999);
    }
}

TEST_F(PngControlSetToolTipTest, ANullTextIsAnEmptyTip) {
    HWND child = CreateChild(parent_.get(), "STATIC", 10, 10, 40, 20);
    PngControl control;
    ASSERT_TRUE(control.Attach(child));
    control.SetToolTip(nullptr);
    ASSERT_TRUE(ToolOf(child));
    EXPECT_EQ(TextOf(child), "");
    control.SetToolTip("now a text");
    EXPECT_EQ(TextOf(child), "now a text");
}

}  // namespace
