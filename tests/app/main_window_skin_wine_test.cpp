// The main window after start-up's skinning: the window properties of every window, the images, and
// the composed surface with the buttons' states.
#include "app/main_form.h"
#include "app/main_window_skin.h"
#include "controls/png_control.h"
#include "gui/form.h"
#include "skin/graphics_startup.h"
#include "skin/layered_procedures.h"
#include "skin/layered_window.h"
#include "skin/scoped_handles.h"
#include "skin/window_properties.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

std::intptr_t Property(HWND window, const char* key) { return ReadProperty(window, key); }

WNDPROC ProcedureOf(HWND window) {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
}

WNDPROC ClassProcedureOf(HWND window) {
    return reinterpret_cast<WNDPROC>(GetClassLongPtrA(window, GCLP_WNDPROC));
}

struct Size {
    UINT width, height;
};

Size ImageSize(std::intptr_t image) {
    Size size{0, 0};
    GdipGetImageWidth(reinterpret_cast<GpImage*>(image), &size.width);
    GdipGetImageHeight(reinterpret_cast<GpImage*>(image), &size.height);
    return size;
}

// The ARGB colour of one pixel of a GDI+ image.
ARGB PixelOf(GpImage* image, int x, int y) {
    ARGB colour = 0;
    GdipBitmapGetPixel(reinterpret_cast<GpBitmap*>(image), x, y, &colour);
    return colour;
}

class SkinnedMainWindowTest : public testing::Test {
protected:
    void SetUp() override {
        InitSkinModule();
        CreateSkinObjects();
        ASSERT_TRUE(MainForm().Create(MainWindowForm(), 0, 0));
    }
    void TearDown() override {
        if (IsWindow(MainWindow())) DestroyWindow(MainWindow());
        ReleaseSkin();
    }
    // A composite of the window as the next push would show it (without the caret).
    ScopedGpImage Composite() {
        GpImage* composite = nullptr;
        ComposeSkin(MainWindow(), &composite, true);
        return ScopedGpImage(composite);
    }
};

TEST_F(SkinnedMainWindowTest, MainWindowCarriesTheSkinOfATopLevelWindow) {
    HWND window = MainWindow();
    EXPECT_EQ(Property(window, "PngControl_Time"), 64);
    const Size background = ImageSize(Property(window, "PngControl_BackImage"));
    EXPECT_EQ(background.width, 567u);
    EXPECT_EQ(background.height, 425u);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(Property(window, "PngControl_WndProc")), FormWindowProc);
    EXPECT_EQ(ProcedureOf(window), ParentHookProc);
    EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE), WS_EX_LAYERED);
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & WS_CLIPCHILDREN, 0);
    EXPECT_EQ(Property(window, "PngControl_Type"), 0);
    EXPECT_EQ(focusWindow, nullptr);
    EXPECT_EQ(focusEdit, nullptr);
}

TEST_F(SkinnedMainWindowTest, ButtonsAreLayeredImageButtons) {
    struct {
        HWND button;
        Size size;
    } cases[] = {{CloseButton(), {61, 35}}, {ModifyButton(), {134, 57}}};
    for (const auto& c : cases) {
        EXPECT_EQ(Property(c.button, "PngControl_Type"), 3);
        for (const char* key : {"PngControl_NormalImage", "PngControl_OverlImage", "PngControl_DownImage"}) {
            const Size size = ImageSize(Property(c.button, key));
            EXPECT_EQ(size.width, c.size.width) << key;
            EXPECT_EQ(size.height, c.size.height) << key;
        }
        EXPECT_NE(Property(c.button, "PngControl_OverlImage"), Property(c.button, "PngControl_DownImage"))
            << "each state has an image of its own";
        EXPECT_EQ(reinterpret_cast<WNDPROC>(Property(c.button, "PngControl_ChildWndProc")),
                  ClassProcedureOf(c.button));
        EXPECT_EQ(ProcedureOf(c.button), LayeredButtonProc);
        for (const char* absent : {"PngControl_WndProc", "Nimbo_DrawState", "PngControl_DisableImage",
                                   "PngControl_BackType", "PngControl_CacheBitmap"}) {
            EXPECT_EQ(Property(c.button, absent), 0) << absent;
        }
        const LONG style = GetWindowLongA(c.button, GWL_STYLE);
        EXPECT_EQ(style & 0x0B, 0x0B);
        EXPECT_EQ(style & WS_CLIPSIBLINGS, 0);
        EXPECT_NE(GetWindowLongA(c.button, GWL_EXSTYLE) & WS_EX_TRANSPARENT, 0);
    }
}

TEST_F(SkinnedMainWindowTest, TextBoxesAreLayeredPanels) {
    for (HWND box : {PathBox(), PatternBox(), ReplacementBox()}) {
        EXPECT_EQ(Property(box, "PngControl_Type"), 4);
        EXPECT_EQ(Property(box, "PngControl_BackColor"), 0x00FFFFFF);
        EXPECT_EQ(Property(box, "PngControl_BackAlpha"), 255);
        EXPECT_EQ(Property(box, "PngControl_OrderColor"), 0x007B8084);
        EXPECT_EQ(Property(box, "PngControl_OrderAlpha"), 255);
        EXPECT_EQ(Property(box, "PngControl_TextColor"), 0);
        EXPECT_EQ(reinterpret_cast<WNDPROC>(Property(box, "PngControl_ChildWndProc")),
                  ClassProcedureOf(box));
        EXPECT_EQ(ProcedureOf(box), LayeredPanelProc);
        EXPECT_EQ(Property(box, "PngControl_WndProc"), 0);
        EXPECT_EQ(Property(box, "PngControl_CacheBitmap"), 0);
        EXPECT_EQ(GetWindowLongA(box, GWL_STYLE) & WS_CLIPSIBLINGS, 0);
        EXPECT_NE(GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TRANSPARENT, 0);
    }
}

TEST_F(SkinnedMainWindowTest, CornerCheckBoxIsLeftAlone) {
    for (const char* key : {"PngControl_Type", "PngControl_WndProc", "PngControl_ChildWndProc",
                            "PngControl_BackImage", "Nimbo_DrawState"}) {
        EXPECT_EQ(Property(CornerCheckBox(), key), 0) << key;
    }
    EXPECT_EQ(ProcedureOf(CornerCheckBox()), ClassProcedureOf(CornerCheckBox()));
}

TEST_F(SkinnedMainWindowTest, CompositeShowsTransparentMarginAndWhiteFramedBoxes) {
    ScopedGpImage composite = Composite();
    ASSERT_TRUE(composite);
    EXPECT_EQ(PixelOf(composite.get(), 0, 0) >> 24, 0u) << "transparent margin";
    EXPECT_EQ(PixelOf(composite.get(), 559, 415) >> 24, 0u) << "transparent corner";
    EXPECT_EQ(PixelOf(composite.get(), 552, 408) >> 24, 0u) << "where the check box sits";
    EXPECT_GT(PixelOf(composite.get(), 100, 120) >> 24, 100u) << "the translucent body";
    for (int top : {187, 227, 267}) {
        EXPECT_EQ(PixelOf(composite.get(), 300, top + 15), 0xFFFFFFFFu) << top;
        EXPECT_EQ(PixelOf(composite.get(), 201, top + 10), 0xFF84807Bu) << "left frame " << top;
        EXPECT_EQ(PixelOf(composite.get(), 300, top), 0xFF84807Bu) << "top frame " << top;
        EXPECT_EQ(PixelOf(composite.get(), 416, top + 10), 0xFF84807Bu) << "right frame " << top;
        EXPECT_EQ(PixelOf(composite.get(), 300, top + 30), 0xFF84807Bu) << "bottom frame " << top;
    }
}

// An opaque pixel of the state image where it differs from the normal image, and the composite
// must show exactly that colour there.
void ExpectStateShown(GpImage* composite, HWND button, const char* stateKey, const char* what) {
    auto* normal = reinterpret_cast<GpImage*>(ReadProperty(button, "PngControl_NormalImage"));
    auto* state = reinterpret_cast<GpImage*>(ReadProperty(button, stateKey));
    RECT rect;
    GetWindowRect(button, &rect);
    MapWindowPoints(nullptr, GetParent(button), reinterpret_cast<POINT*>(&rect), 2);
    const Size size = ImageSize(reinterpret_cast<std::intptr_t>(state));
    int checked = 0;
    for (UINT y = 0; y < size.height && checked < 20; y += 3) {
        for (UINT x = 0; x < size.width && checked < 20; x += 3) {
            const ARGB wanted = PixelOf(state, x, y);
            if (wanted >> 24 != 255 || wanted == PixelOf(normal, x, y)) continue;
            EXPECT_EQ(PixelOf(composite, rect.left + x, rect.top + y), wanted)
                << what << " at " << x << "," << y;
            ++checked;
        }
    }
    EXPECT_GT(checked, 0) << what << ": no opaque pixel that tells the state apart";
}

TEST_F(SkinnedMainWindowTest, ButtonsShowNormalHotAndPressedImages) {
    for (HWND button : {CloseButton(), ModifyButton()}) {
        {
            // The normal images are translucent: where they cover, the composite differs from one
            // in which the button is not drawn at all.
            ScopedGpImage withButton = Composite();
            WriteProperty(button, "PngControl_Type", 0);
            ScopedGpImage withoutButton = Composite();
            WriteProperty(button, "PngControl_Type", 3);
            auto* normal = reinterpret_cast<GpImage*>(ReadProperty(button, "PngControl_NormalImage"));
            RECT rect;
            GetWindowRect(button, &rect);
            MapWindowPoints(nullptr, MainWindow(), reinterpret_cast<POINT*>(&rect), 2);
            int covered = 0, differing = 0;
            const Size size = ImageSize(reinterpret_cast<std::intptr_t>(normal));
            for (UINT y = 0; y < size.height; y += 2) {
                for (UINT x = 0; x < size.width; x += 2) {
                    const ARGB colour = PixelOf(withButton.get(), rect.left + x, rect.top + y);
                    const ARGB under = PixelOf(withoutButton.get(), rect.left + x, rect.top + y);
                    if (PixelOf(normal, x, y) >> 24 >= 128) {
                        ++covered;
                        differing += colour != under;
                    } else if (PixelOf(normal, x, y) >> 24 == 0) {
                        EXPECT_EQ(colour, under) << "a transparent pixel shows the background";
                    }
                }
            }
            EXPECT_GT(covered, 0);
            EXPECT_GT(differing, covered * 9 / 10) << "the normal image is drawn";
        }
        SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
        EXPECT_EQ(ReadProperty(button, "Nimbo_DrawState"), 1);
        ExpectStateShown(Composite().get(), button, "PngControl_OverlImage", "hot");
        SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        EXPECT_EQ(ReadProperty(button, "Nimbo_DrawState"), 2);
        ExpectStateShown(Composite().get(), button, "PngControl_DownImage", "pressed");
        ReleaseCapture();
        SendMessageA(button, WM_MOUSELEAVE, 0, 0);
        EXPECT_EQ(ReadProperty(button, "Nimbo_DrawState"), 0);
    }
}

}  // namespace
