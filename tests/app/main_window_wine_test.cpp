// The main window as the form creates it: windows, styles, places, fonts, keys, drag and events.
#include "app/event_handlers.h"
#include "app/main_form.h"
#include "app/main_window_skin.h"
#include "app/program_texts.h"
#include "app/start_program.h"
#include "gui/message_loop.h"
#include "skin/graphics_startup.h"
#include "skin/window_properties.h"
#include "tests/app/app_test_support.h"
#include "tests/gui/drop_data_support.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

RECT ClientRectOf(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The form without its created event, so that the system draws it and nothing else touches it.
class MainWindowTest : public testing::Test {
protected:
    void SetUp() override {
        description_ = MainWindowForm();
        description_.onCreated = nullptr;
        ASSERT_TRUE(MainForm().Create(description_, 232, 176));
    }
    void TearDown() override {
        if (IsWindow(MainWindow())) DestroyWindow(MainWindow());
    }
    FormDescription description_;
};

TEST(MainWindowPlacementTest, CentredFromTheScreenSize) {
    struct {
        int screenWidth, screenHeight;
        LONG left, top;
    } cases[] = {
        {1024, 768, 232, 176},
        {1366, 768, 403, 176},
        {1920, 1080, 680, 332},
        {561, 417, 0, 0},  // halves are truncated toward zero
        {500, 400, -30, -8},
    };
    for (const auto& c : cases) {
        const POINT position = CentredPosition(c.screenWidth, c.screenHeight);
        EXPECT_EQ(position.x, c.left) << c.screenWidth << "x" << c.screenHeight;
        EXPECT_EQ(position.y, c.top) << c.screenWidth << "x" << c.screenHeight;
    }
}

TEST_F(MainWindowTest, WindowHasNoFrameAndItsStoredStyles) {
    HWND window = MainWindow();
    EXPECT_EQ(TextOf(window), "Kestrune [Beta0.0.1]");
    // The system adds WS_CLIPSIBLINGS to every top-level window.
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & ~WS_CLIPSIBLINGS,
              static_cast<LONG>(WS_CLIPCHILDREN | WS_VISIBLE));
    EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE), 0);
    RECT windowRect, clientRect;
    GetWindowRect(window, &windowRect);
    GetClientRect(window, &clientRect);
    EXPECT_EQ(windowRect.left, 232);
    EXPECT_EQ(windowRect.top, 176);
    EXPECT_EQ(windowRect.right - windowRect.left, 560);
    EXPECT_EQ(windowRect.bottom - windowRect.top, 416);
    EXPECT_EQ(clientRect.right, 560) << "window rectangle and client area coincide";
    EXPECT_EQ(clientRect.bottom, 416);
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr) << "an unowned window has a taskbar button";
}

TEST_F(MainWindowTest, ControlsAreRealWindowsOfTheirKinds) {
    struct {
        HWND window;
        const char* className;
        RECT place;
        const char* text;
        LONG style;
        LONG extendedStyle;
    } cases[] = {
        {PathBox(), "Edit", {201, 187, 416, 217}, "", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
        {PatternBox(), "Edit", {201, 227, 416, 257}, "", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
        {ReplacementBox(), "Edit", {201, 267, 416, 297}, "", WS_TABSTOP | ES_AUTOHSCROLL,
         WS_EX_CLIENTEDGE},
        {ModifyButton(), "Button", {296, 294, 437, 352}, modifyButtonCaption,
         WS_TABSTOP | BS_CENTER | BS_VCENTER | BS_PUSHBUTTON, 0},
        {CloseButton(), "Button", {458, 33, 519, 68}, closeButtonCaption,
         WS_TABSTOP | BS_CENTER | BS_VCENTER | BS_PUSHBUTTON, 0},
        {CornerCheckBox(), "Button", {544, 400, 560, 432}, "", WS_TABSTOP | BS_AUTOCHECKBOX, 0},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(IsWindow(c.window));
        EXPECT_EQ(GetParent(c.window), MainWindow());
        EXPECT_STRCASEEQ(ClassOf(c.window).c_str(), c.className);
        const RECT place = ClientRectOf(c.window);
        EXPECT_EQ(place.left, c.place.left) << c.className << " " << c.text;
        EXPECT_EQ(place.top, c.place.top) << c.className << " " << c.text;
        EXPECT_EQ(place.right, c.place.right) << c.className << " " << c.text;
        EXPECT_EQ(place.bottom, c.place.bottom) << c.className << " " << c.text;
        EXPECT_EQ(TextOf(c.window), c.text);
        EXPECT_EQ(GetWindowLongA(c.window, GWL_STYLE),
                  static_cast<LONG>(WS_CHILD | WS_VISIBLE) | c.style)
            << c.className << " " << c.text;
        EXPECT_EQ(GetWindowLongA(c.window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, c.extendedStyle);
        EXPECT_TRUE(IsWindowEnabled(c.window));
    }
    EXPECT_EQ(SendMessageA(CornerCheckBox(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(GetWindow(MainWindow(), GW_CHILD), PathBox()) << "form order is Z order";
}

TEST_F(MainWindowTest, FontsAreTheStoredOnes) {
    for (HWND box : {PathBox(), PatternBox(), ReplacementBox()}) {
        LOGFONTA font{};
        auto handle = reinterpret_cast<HFONT>(SendMessageA(box, WM_GETFONT, 0, 0));
        ASSERT_NE(handle, nullptr);
        ASSERT_EQ(GetObjectA(handle, sizeof font, &font), static_cast<int>(sizeof font));
        EXPECT_STREQ(font.lfFaceName, "\xCB\xCE\xCC\xE5");  // 宋体
        EXPECT_EQ(font.lfHeight, -14);
        EXPECT_EQ(font.lfWidth, 0);
        EXPECT_EQ(font.lfWeight, 700);
        EXPECT_FALSE(font.lfItalic || font.lfUnderline || font.lfStrikeOut);
        EXPECT_EQ(font.lfCharSet, 134);
        EXPECT_EQ(font.lfOutPrecision, 3);
        EXPECT_EQ(font.lfClipPrecision, 2);
        EXPECT_EQ(font.lfQuality, 1);
        EXPECT_EQ(font.lfPitchAndFamily, 2);
    }
    for (HWND control : {ModifyButton(), CloseButton(), CornerCheckBox()}) {
        EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)),
                  GetStockObject(DEFAULT_GUI_FONT));
    }
}

TEST_F(MainWindowTest, TextBoxesDrawBlackOnWhite) {
    HDC dc = GetDC(PathBox());
    const LRESULT brush = SendMessageA(MainWindow(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(PathBox()));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
    EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
    LOGBRUSH logBrush{};
    GetObjectA(reinterpret_cast<HBRUSH>(brush), sizeof logBrush, &logBrush);
    EXPECT_EQ(logBrush.lbColor, RGB(255, 255, 255));
    ReleaseDC(PathBox(), dc);
}

MSG KeyDown(HWND window, WPARAM key) {
    MSG message{};
    message.hwnd = window;
    message.message = WM_KEYDOWN;
    message.wParam = key;
    return message;
}

TEST_F(MainWindowTest, EscapeFromATextBoxClosesTheWindow) {
    SetFocus(PatternBox());
    EXPECT_TRUE(PreTranslateFormMessage(KeyDown(PatternBox(), VK_ESCAPE)));
    EXPECT_FALSE(IsWindow(MainWindow()));
    EXPECT_EQ(LiveFormCount(), 0);
}

TEST_F(MainWindowTest, OtherKeysReachTheControl) {
    SetFocus(PatternBox());
    EXPECT_FALSE(PreTranslateFormMessage(KeyDown(PatternBox(), 'A')));
    EXPECT_FALSE(PreTranslateFormMessage(KeyDown(PatternBox(), VK_RETURN)));
    EXPECT_TRUE(IsWindow(MainWindow()));
}

TEST_F(MainWindowTest, TabMovesTheFocusThroughTheTabStops) {
    SetFocus(PathBox());
    HWND order[] = {PatternBox(), ReplacementBox(), ModifyButton(), CloseButton(), CornerCheckBox(),
                    PathBox()};
    for (HWND expected : order) {
        EXPECT_TRUE(PreTranslateFormMessage(KeyDown(GetFocus(), VK_TAB)));
        EXPECT_EQ(GetFocus(), expected);
    }
}

TEST_F(MainWindowTest, PressOnTheSurfaceDragsButNotOnAControl) {
    MSG pending;
    while (PeekMessageA(&pending, nullptr, 0, 0, PM_REMOVE)) {
    }
    SendMessageA(PathBox(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(PathBox(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(PeekMessageA(&pending, MainWindow(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));

    SendMessageA(MainWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    ASSERT_TRUE(PeekMessageA(&pending, MainWindow(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
    EXPECT_EQ(pending.wParam, static_cast<WPARAM>(HTCAPTION));
    EXPECT_EQ(pending.lParam, 0);
}

TEST_F(MainWindowTest, CloseButtonEndsTheWindowAfterItsHandler) {
    SendMessageA(CloseButton(), BM_CLICK, 0, 0);
    EXPECT_TRUE(IsWindow(MainWindow())) << "the close is posted, not done inside the click";
    EXPECT_TRUE(PumpMessagesUntil([] { return !IsWindow(MainWindow()); }));
}

TEST_F(MainWindowTest, CloseRequestIsAcceptedWithoutQuery) {
    SendMessageA(MainWindow(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(MainWindow()));
}

// The real created event: PathBox alone becomes the drop target, and stays one once skinned.
class MainWindowCreatedTest : public testing::Test {
protected:
    void SetUp() override {
        OleInitialize(nullptr);
        InitSkinModule();
        CreateSkinObjects();
        ASSERT_TRUE(MainForm().Create(MainWindowForm(), 0, 0));
        ASSERT_EQ(ReadProperty(PathBox(), kTypeKey), 4) << "the box is skinned";
    }
    void TearDown() override {
        if (IsWindow(MainWindow())) DestroyWindow(MainWindow());
        ReleaseSkin();
    }
};

TEST_F(MainWindowCreatedTest, OnlyPathBoxIsADropTarget) {
    EXPECT_EQ(MainFileDropTarget().RegisteredWindow(), PathBox());
    TestDropTarget other;
    EXPECT_EQ(RegisterDragDrop(PathBox(), &other), DRAGDROP_E_ALREADYREGISTERED);
    for (HWND window : {MainWindow(), PatternBox(), ReplacementBox(), ModifyButton()}) {
        EXPECT_EQ(RegisterDragDrop(window, &other), S_OK) << "not a drop target yet";
        RevokeDragDrop(window);
    }
}

TEST_F(MainWindowCreatedTest, DroppedFilesReplaceThePathBoxText) {
    SetWindowTextA(PathBox(), "old text");
    struct {
        std::vector<std::string> paths;
        std::string text;
    } cases[] = {
        {{"C:\\data\\one.bin"}, "C:\\data\\one.bin"},
        {{"C:\\a.txt", "D:\\b c\\d.exe"}, "C:\\a.txt\r\nD:\\b c\\d.exe\r\n"},
    };
    for (const auto& c : cases) {
        DropFileList(MainFileDropTarget(), c.paths);
        EXPECT_EQ(TextOf(PathBox()), c.text);
    }
    EXPECT_EQ(TextOf(PatternBox()), "");
}

// Once the loop runs, Esc arrives in the pattern box as a user would press it.
void CALLBACK PressEscapeInPatternBox(HWND, UINT, UINT_PTR timer, DWORD) {
    if (!PatternBox()) return;
    KillTimer(nullptr, timer);
    SetFocus(PatternBox());
    PostMessageA(PatternBox(), WM_KEYDOWN, VK_ESCAPE, 0);
}

TEST(StartProgramTest, EscapeEndsTheProgramAndReleaseRunsOnce) {
    SetTimer(nullptr, 0, 50, PressEscapeInPatternBox);
    EXPECT_EQ(StartProgram(), 0);
    EXPECT_EQ(MainWindow(), nullptr);
    EXPECT_EQ(LiveFormCount(), 0);
    EXPECT_EQ(ReleaseAtExitRuns(), 0) << "it runs when the program ends, after StartProgram";
    ReleaseAtExit();
    ReleaseAtExit();
    EXPECT_EQ(ReleaseAtExitRuns(), 1);
}

}  // namespace
