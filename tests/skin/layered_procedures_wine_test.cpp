// Tests of the layered-mode procedures and of the switch into layered mode: what each message does
// to the draw state, the focus state and the parent's composition, and in which order.
#include "skin/layered_procedures.h"

#include "skin/layered_window.h"
#include "skin/window_properties.h"
#include "tests/skin/layered_test_support.h"
#include "tests/skin/skin_core_support.h"

#include <string>
#include <vector>

namespace {

using layered_test::CreateChild;
using layered_test::CreatePopupWindow;
using layered_test::PumpPending;
using layered_test::PushedFrame;
using layered_test::PushRecorder;
using layered_test::ScopedWindow;
using layered_test::SkinAsTextBox;

// What the procedure beneath a layered-mode procedure saw when a message reached it.
struct Arrival {
    HWND window;
    UINT message;
    int pushesSoFar;
    DrawState state;
    HWND focusWindowThen;
    HWND focusEditThen;
    std::int32_t caretPhaseThen;
};

std::vector<Arrival> arrivals;
const PushRecorder* arrivalPushes = nullptr;
constexpr const char* kOriginalProcKey = "LayeredTest_OriginalProc";

// Stands beneath the layered-mode procedure (it is what ApplySkin finds and keeps), records each
// arrival and hands the message to the control's own procedure.
LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    arrivals.push_back({window, message, arrivalPushes ? arrivalPushes->Count() : -1,
                        ReadCodeProperty<DrawState>(window, kDrawStateKey), focusWindow, focusEdit,
                        caretPhase});
    auto original = ReadHandleProperty<WNDPROC>(window, kOriginalProcKey);
    return CallWindowProcA(original, window, message, wParam, lParam);
}

void PutRecorderBeneath(HWND child) {
    WriteProperty(
        child, kOriginalProcKey,
        SetWindowLongPtrA(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc)));
}

// The last arrival of that message at that window, or none.
const Arrival* LastArrival(HWND window, UINT message) {
    for (auto it = arrivals.rbegin(); it != arrivals.rend(); ++it) {
        if (it->window == window && it->message == message) return &*it;
    }
    return nullptr;
}

WNDPROC ProcedureOf(HWND window) {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
}

// The state images are solid colours, so a composite shows which state a button was drawn in.
constexpr ARGB kStateColors[] = {0xFF101010, 0xFF2020F0, 0xFFF02020, 0xFF20F020};

ARGB StateColor(DrawState state) {
    return kStateColors[static_cast<int>(state)];
}

// A shown layered window with one image button and two text boxes, all in layered mode, with a
// recorder beneath each of their procedures.
class LayeredProceduresTest : public layered_test::LayeredWindowTest {
  protected:
    void SetUp() override {
        LayeredWindowTest::SetUp();
        arrivals.clear();
        window_ = CreatePopupWindow(150, 120, 320, 200, layered_test::Showing::Shown);
        background_ = skin_core_test::MakeSolidImage(4, 4, 0xFF808080);
        button_ = CreateChild(window_.get(), "BUTTON", 20, 20, 80, 30, BS_PUSHBUTTON, "Button");
        WriteCodeProperty(button_, kTypeKey, ControlType::ImageButton);
        const char* keys[] = {kNormalImageKey, kHotImageKey, kPressedImageKey, kDisabledImageKey};
        for (int state = 0; state < 4; ++state) {
            images_[state] = skin_core_test::MakeSolidImage(80, 30, kStateColors[state]);
            WriteHandleProperty(button_, keys[state], images_[state].get());
        }
        font_.reset(
            CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "SimSun"));
        box_ = CreateTextBox(80);
        secondBox_ = CreateTextBox(130);
        for (HWND child : {button_, box_, secondBox_}) PutRecorderBeneath(child);
        ASSERT_TRUE(skin_.Attach(window_.get()));
        ASSERT_TRUE(skin_.SetBackImage(background_.get()));
        skin_.ApplySkin();
        PumpPending();
        arrivals.clear();
    }
    void TearDown() override {
        window_.reset();
        arrivalPushes = nullptr;
        LayeredWindowTest::TearDown();
    }

    HWND CreateTextBox(int y) {
        HWND box = CreateChild(window_.get(), "EDIT", 20, y, 200, 27, ES_AUTOHSCROLL);
        SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        SkinAsTextBox(box);
        return box;
    }

    // Pixels inside the box's border that are not its white fill: its text.
    int TextPixels(const PushedFrame& frame, HWND box) {
        RECT bounds{};
        GetWindowRect(box, &bounds);
        MapWindowPoints(nullptr, window_.get(), reinterpret_cast<POINT*>(&bounds), 2);
        int ink = 0;
        for (int y = bounds.top + 1; y < bounds.bottom - 1; ++y) {
            for (int x = bounds.left + 1; x < bounds.right - 1; ++x) {
                ink += frame.At(x, y) != 0xFFFFFFFF;
            }
        }
        return ink;
    }

    bool TracksLeave(HWND window) {
        TRACKMOUSEEVENT query{};
        query.cbSize = sizeof(query);
        query.dwFlags = TME_QUERY;
        TrackMouseEvent(&query);
        return (query.dwFlags & TME_LEAVE) && query.hwndTrack == window;
    }

    void CancelTracking() {
        TRACKMOUSEEVENT cancel{};
        cancel.cbSize = sizeof(cancel);
        cancel.dwFlags = TME_CANCEL | TME_LEAVE;
        cancel.hwndTrack = button_;
        TrackMouseEvent(&cancel);
    }

    ScopedGpImage background_;
    ScopedGpImage images_[4];
    ScopedFont font_;
    ScopedWindow window_;
    HWND button_ = nullptr;
    HWND box_ = nullptr;
    HWND secondBox_ = nullptr;
    SkinWindow skin_;
};

TEST_F(LayeredProceduresTest, ApplySkinInstallsEachTypesProcedureKeepingTheReplacedOne) {
    EXPECT_EQ(ProcedureOf(button_), LayeredButtonProc);
    EXPECT_EQ(ProcedureOf(box_), LayeredPanelProc);
    EXPECT_EQ(ReadHandleProperty<WNDPROC>(button_, kSavedChildProcKey), RecordingProc);
    EXPECT_EQ(ReadHandleProperty<WNDPROC>(box_, kSavedChildProcKey), RecordingProc);
}

TEST_F(LayeredProceduresTest, ApplySkinAgainLeavesLayeredChildrenAloneAndComposes) {
    PushRecorder pushes;
    skin_.ApplySkin();
    EXPECT_EQ(ProcedureOf(button_), LayeredButtonProc);
    EXPECT_EQ(ReadHandleProperty<WNDPROC>(button_, kSavedChildProcKey), RecordingProc);
    EXPECT_EQ(ReadHandleProperty<WNDPROC>(box_, kSavedChildProcKey), RecordingProc);
    ASSERT_EQ(pushes.Count(), 1);
    EXPECT_EQ(pushes.Last().At(60, 35), StateColor(DrawState::Normal));
}

// A stand-in for an ordinary-mode procedure that was installed over the control's own.
LRESULT CALLBACK OrdinaryModeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto saved = ReadHandleProperty<WNDPROC>(window, kSavedProcKey);
    return CallWindowProcA(saved, window, message, wParam, lParam);
}

TEST(ApplySkinTest, RestoresOrdinaryModeProceduresAndSwitchesOnlyButtonsAndPanels) {
    skin_core_test::EnsureSkinModule();
    ScopedWindow window = CreatePopupWindow(100, 100, 200, 100);
    struct {
        ControlType type;
        WNDPROC layered;  // none: no layered-mode procedure
    } cases[] = {
        {ControlType::ImageButton, LayeredButtonProc},
        {ControlType::Panel, LayeredPanelProc},
        {ControlType::Picture, nullptr},
        {ControlType::LayeredHost, nullptr},
    };
    std::vector<HWND> children;
    std::vector<WNDPROC> own;
    for (const auto& c : cases) {
        HWND child = CreateChild(window.get(), "STATIC", 0, 0, 10, 10);
        WriteCodeProperty(child, kTypeKey, c.type);
        own.push_back(ProcedureOf(child));
        WriteProperty(
            child, kSavedProcKey,
            SetWindowLongPtrA(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OrdinaryModeProc)));
        children.push_back(child);
    }
    // Not skinned: left exactly as it is, its saved procedure included.
    HWND plain = CreateChild(window.get(), "STATIC", 0, 0, 10, 10);
    WriteProperty(
        plain, kSavedProcKey,
        SetWindowLongPtrA(plain, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OrdinaryModeProc)));
    SkinWindow skin;
    ASSERT_TRUE(skin.Attach(window.get()));
    PushRecorder pushes;

    skin.ApplySkin();
    for (std::size_t i = 0; i < children.size(); ++i) {
        SCOPED_TRACE("type " + std::to_string(static_cast<int>(cases[i].type)));
        HWND child = children[i];
        EXPECT_EQ(GetPropA(child, kSavedProcKey), nullptr);
        if (cases[i].layered) {
            EXPECT_EQ(ProcedureOf(child), cases[i].layered);
            EXPECT_EQ(ReadHandleProperty<WNDPROC>(child, kSavedChildProcKey), own[i]);
        } else {
            EXPECT_EQ(ProcedureOf(child), own[i]);
            EXPECT_EQ(GetPropA(child, kSavedChildProcKey), nullptr);
        }
    }
    EXPECT_EQ(ProcedureOf(plain), OrdinaryModeProc);
    EXPECT_NE(GetPropA(plain, kSavedProcKey), nullptr);
    EXPECT_EQ(pushes.Count(), 1) << "one composition at the end";
}

TEST(ApplySkinTest, WithoutWindowDoesNothing) {
    PushRecorder pushes;
    SkinWindow skin;
    skin.ApplySkin();
    EXPECT_EQ(pushes.Count(), 0);
}

TEST_F(LayeredProceduresTest, ButtonMessagesChangeTheStateAndComposeBeforeTheButtonSeesThem) {
    // The pointer rests on the button, so leave tracking can be granted.
    POINT centre{60, 35};
    ClientToScreen(window_.get(), &centre);
    SetCursorPos(centre.x, centre.y);
    PumpPending();

    constexpr auto Normal = DrawState::Normal, Hot = DrawState::Hot, Pressed = DrawState::Pressed,
                   Disabled = DrawState::Disabled;
    struct {
        UINT message;
        WPARAM wParam;
        DrawState before, after;
        bool composes, tracks;
    } cases[] = {
        {WM_MOUSEMOVE, 0, Normal, Hot, true, true},
        {WM_MOUSEMOVE, 0, Disabled, Hot, true, true},
        {WM_MOUSEMOVE, 0, Hot, Hot, false, false},
        {WM_MOUSEMOVE, 0, Pressed, Pressed, false, false},
        {WM_MOUSELEAVE, 0, Hot, Normal, true, false},
        {WM_MOUSELEAVE, 0, Pressed, Normal, true, false},
        {WM_LBUTTONDOWN, MK_LBUTTON, Normal, Pressed, true, false},
        {WM_LBUTTONDOWN, MK_LBUTTON, Hot, Pressed, true, false},
        {WM_LBUTTONUP, 0, Pressed, Hot, true, false},
        {WM_LBUTTONUP, 0, Hot, Normal, true, false},
        {WM_LBUTTONUP, 0, Normal, Normal, true, false},
        {WM_ENABLE, TRUE, Disabled, Normal, true, false},
        {WM_ENABLE, FALSE, Normal, Disabled, true, false},
        {WM_ENABLE, FALSE, Hot, Disabled, true, false},
        {WM_KEYDOWN, VK_SPACE, Hot, Hot, false, false},
        {WM_TIMER, 99, Pressed, Pressed, false, false},
        {WM_NULL, 0, Normal, Normal, false, false},
    };
    PushRecorder pushes;
    arrivalPushes = &pushes;
    for (const auto& c : cases) {
        SCOPED_TRACE("message " + std::to_string(c.message) + " from state " +
                     std::to_string(static_cast<int>(c.before)));
        CancelTracking();
        ASSERT_FALSE(TracksLeave(button_));
        WriteCodeProperty(button_, kDrawStateKey, c.before);
        arrivals.clear();
        const int pushesBefore = pushes.Count();

        SendMessageA(button_, c.message, c.wParam, MAKELPARAM(40, 15));
        ReleaseCapture();

        EXPECT_EQ(ReadCodeProperty<DrawState>(button_, kDrawStateKey), c.after);
        EXPECT_EQ(pushes.Count(), pushesBefore + (c.composes ? 1 : 0));
        EXPECT_EQ(TracksLeave(button_), c.tracks);
        const Arrival* arrival = LastArrival(button_, c.message);
        ASSERT_NE(arrival, nullptr) << "every message reaches the button's own procedure";
        EXPECT_EQ(arrival->state, c.after) << "the state changes before the message is passed on";
        EXPECT_EQ(arrival->pushesSoFar, pushes.Count()) << "composed before it is passed on";
        if (c.composes) {
            EXPECT_EQ(pushes.Last().At(60, 35), StateColor(c.after));
        }
    }
}

TEST_F(LayeredProceduresTest, ButtonProcedureReturnsWhatTheButtonReturns) {
    EXPECT_EQ(SendMessageA(button_, WM_GETTEXTLENGTH, 0, 0), 6);
    EXPECT_EQ(SendMessageA(button_, WM_GETDLGCODE, 0, 0),
              CallWindowProcA(ReadHandleProperty<WNDPROC>(button_, kOriginalProcKey), button_,
                              WM_GETDLGCODE, 0, 0));
}

TEST_F(LayeredProceduresTest, PanelMessagesComposeAfterTheTextBoxHandledThem) {
    struct {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool composes;
    } cases[] = {
        {WM_CHAR, 'x', 0, true},
        {WM_IME_CHAR, 'y', 0, true},
        {WM_KEYDOWN, VK_HOME, 0, true},
        {WM_SETTEXT, 0, reinterpret_cast<LPARAM>("text"), true},
        {WM_CUT, 0, 0, true},
        {WM_PASTE, 0, 0, true},
        {WM_LBUTTONUP, 0, MAKELPARAM(5, 5), true},
        {WM_MOUSEMOVE, 0, MAKELPARAM(5, 5), false},
        {WM_PAINT, 0, 0, false},
        {WM_KEYUP, VK_HOME, 0, false},
        {WM_TIMER, 99, 0, false},
        {WM_GETTEXTLENGTH, 0, 0, false},
    };
    PushRecorder pushes;
    arrivalPushes = &pushes;
    for (const auto& c : cases) {
        SCOPED_TRACE("message " + std::to_string(c.message));
        arrivals.clear();
        const int pushesBefore = pushes.Count();
        SendMessageA(box_, c.message, c.wParam, c.lParam);
        const Arrival* arrival = LastArrival(box_, c.message);
        ASSERT_NE(arrival, nullptr) << "every message reaches the text box's own procedure";
        EXPECT_EQ(arrival->pushesSoFar, pushesBefore) << "nothing is composed before";
        EXPECT_EQ(pushes.Count(), pushesBefore + (c.composes ? 1 : 0));
    }
    EXPECT_EQ(focusWindow, nullptr) << "only the focus messages touch the focus state";
}

TEST_F(LayeredProceduresTest, TypedCharacterIsInTheVeryNextComposite) {
    PushRecorder pushes;
    SetFocus(box_);
    ASSERT_GE(pushes.Count(), 1);
    EXPECT_EQ(TextPixels(pushes.Last(), box_), 0) << "empty box";
    SendMessageA(box_, WM_CHAR, 'W', 0);
    const int afterOne = TextPixels(pushes.Last(), box_);
    EXPECT_GT(afterOne, 0);
    SendMessageA(box_, WM_CHAR, 'W', 0);
    EXPECT_GT(TextPixels(pushes.Last(), box_), afterOne);
    SendMessageA(box_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    EXPECT_EQ(TextPixels(pushes.Last(), box_), 0);
    SendMessageA(box_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("path"));
    EXPECT_GT(TextPixels(pushes.Last(), box_), 0);
    EXPECT_EQ(TextPixels(pushes.Last(), secondBox_), 0);
}

TEST_F(LayeredProceduresTest, GainingFocusSetsTheFocusStateBeforeAndComposesAfter) {
    caretPhase = 1;
    PushRecorder pushes;
    arrivalPushes = &pushes;
    SetFocus(box_);
    const Arrival* arrival = LastArrival(box_, WM_SETFOCUS);
    ASSERT_NE(arrival, nullptr);
    EXPECT_EQ(arrival->focusWindowThen, window_.get());
    EXPECT_EQ(arrival->focusEditThen, box_);
    EXPECT_EQ(arrival->caretPhaseThen, 0);
    EXPECT_EQ(arrival->pushesSoFar, 0);
    EXPECT_EQ(pushes.Count(), 1);
    EXPECT_NE(focusComposite, nullptr) << "the composition after the focus is kept";
}

TEST_F(LayeredProceduresTest, LosingFocusClearsTheFocusStateBeforeComposing) {
    SetFocus(box_);
    GpImage* kept = focusComposite;
    PushRecorder pushes;
    arrivalPushes = &pushes;
    SetFocus(button_);
    const Arrival* arrival = LastArrival(box_, WM_KILLFOCUS);
    ASSERT_NE(arrival, nullptr);
    EXPECT_EQ(arrival->focusWindowThen, nullptr);
    EXPECT_EQ(arrival->focusEditThen, nullptr);
    EXPECT_EQ(arrival->pushesSoFar, 0);
    EXPECT_EQ(pushes.Count(), 1);
    EXPECT_EQ(focusComposite, kept) << "the composition after the loss is not kept";
}

TEST_F(LayeredProceduresTest, FocusMovingBetweenTextBoxesEndsOnTheSecond) {
    SetFocus(box_);
    SetFocus(secondBox_);
    const Arrival* lost = LastArrival(box_, WM_KILLFOCUS);
    const Arrival* gained = LastArrival(secondBox_, WM_SETFOCUS);
    ASSERT_NE(lost, nullptr);
    ASSERT_NE(gained, nullptr);
    EXPECT_LT(lost - arrivals.data(), gained - arrivals.data()) << "the loss comes first";
    EXPECT_EQ(lost->focusEditThen, nullptr);
    EXPECT_EQ(gained->focusEditThen, secondBox_);
    EXPECT_EQ(focusWindow, window_.get());
    EXPECT_EQ(focusEdit, secondBox_);
}

TEST_F(LayeredProceduresTest, PanelProcedureReturnsWhatTheTextBoxReturns) {
    SendMessageA(box_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("abcd"));
    EXPECT_EQ(SendMessageA(box_, WM_GETTEXTLENGTH, 0, 0), 4);
    char text[8] = {};
    EXPECT_EQ(SendMessageA(box_, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text)), 4);
    EXPECT_STREQ(text, "abcd");
}

TEST(LayeredProcedureWithoutSavedProcedureTest, MessagesGetTheDefaultHandling) {
    skin_core_test::EnsureSkinModule();
    ScopedWindow window = CreatePopupWindow(100, 100, 200, 100);
    HWND child = CreateChild(window.get(), "STATIC", 0, 0, 10, 10);
    for (WNDPROC procedure : {LayeredPanelProc, LayeredButtonProc}) {
        SetWindowLongPtrA(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
        EXPECT_TRUE(SendMessageA(child, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("set")));
        EXPECT_EQ(SendMessageA(child, WM_GETTEXTLENGTH, 0, 0), 3);
    }
}

}  // namespace
