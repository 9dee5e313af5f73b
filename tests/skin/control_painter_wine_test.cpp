// Tests of the control painter on a real off-screen composite: fills, borders, image placement,
// state images and panel text, checked pixel by pixel where GDI+ is exact.
#include "skin/control_painter.h"

#include "skin/window_properties.h"
#include "tests/skin/skin_core_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using skin_core_test::AlphaOf;
using skin_core_test::Composite;
using skin_core_test::CreateChildWindow;
using skin_core_test::CreateTopLevelWindow;
using skin_core_test::MakeImage;
using skin_core_test::MakeSolidImage;
using skin_core_test::ScopedWindow;
using skin_core_test::SkinModuleTest;

constexpr int kSurfaceWidth = 320;
constexpr int kSurfaceHeight = 200;

constexpr ARGB kOpaqueRed = 0xFFFF0000;
constexpr ARGB kOpaqueGreen = 0xFF00FF00;
constexpr ARGB kOpaqueBlue = 0xFF0000FF;
constexpr ARGB kOpaqueWhite = 0xFFFFFFFF;
constexpr ARGB kOpaqueBlack = 0xFF000000;
constexpr ARGB kTransparent = 0x00000000;

// Stored colours are 0x00BBGGRR.
constexpr std::int32_t kStoredRed = 0x000000FF;
constexpr std::int32_t kStoredBlue = 0x00FF0000;
constexpr std::int32_t kStoredWhite = 0x00FFFFFF;

struct Box {
    int x, y, width, height;
};

class ControlPainterTest : public SkinModuleTest {
  protected:
    void SetUp() override {
        top_ = CreateTopLevelWindow(kSurfaceWidth, kSurfaceHeight);
        ASSERT_TRUE(top_);
    }

    HWND AddChild(ControlType type, const Box& box, const char* className = "STATIC",
                  DWORD style = 0, const char* text = "") {
        HWND child = CreateChildWindow(top_.get(), className, box.x, box.y, box.width, box.height,
                                       style, text);
        EXPECT_NE(child, nullptr);
        if (type != ControlType::None) WriteCodeProperty(child, kTypeKey, type);
        return child;
    }

    // A panel as the program attaches it: an edit box with a white fill and an opaque border.
    HWND AddPanel(const Box& box, const char* text = "", DWORD style = 0) {
        HWND panel = AddChild(ControlType::Panel, box, "EDIT", style, text);
        WriteProperty(panel, kBackColorKey, kStoredWhite);
        WriteProperty(panel, kBackAlphaKey, 255);
        WriteProperty(panel, kBorderColorKey, kNoColor);
        WriteProperty(panel, kBorderAlphaKey, 255);
        return panel;
    }

    // The image lives as long as the test; properties never own what they hold.
    GpImage* Keep(ScopedGpImage image) {
        images_.push_back(std::move(image));
        return images_.back().get();
    }

    void SetImage(HWND child, const char* key, GpImage* image) {
        WriteHandleProperty(child, key, image);
    }

    void SetFont(HWND child, LONG height, const char* face = "SimSun") {
        LOGFONTA description{};
        description.lfHeight = height;
        description.lfWeight = FW_NORMAL;
        description.lfCharSet = DEFAULT_CHARSET;
        std::strncpy(description.lfFaceName, face, sizeof(description.lfFaceName) - 1);
        fonts_.emplace_back(CreateFontIndirectA(&description));
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.back().get()), FALSE);
    }

    void Draw(HWND child, const Composite& surface) {
        DrawSkinnedChild(top_.get(), child, surface.graphics());
    }

    ScopedWindow top_;
    std::vector<ScopedGpImage> images_;
    std::vector<ScopedFont> fonts_;
};

// The bounding box of the pixels that differ from the background.
struct Extent {
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;  // right and bottom inclusive
    int count = 0;
};

Extent ExtentOf(const Composite& surface, const Box& area, ARGB background) {
    Extent extent;
    for (int y = area.y; y < area.y + area.height; ++y) {
        for (int x = area.x; x < area.x + area.width; ++x) {
            if (surface.Pixel(x, y) == background) continue;
            extent.left = std::min(extent.left, x);
            extent.top = std::min(extent.top, y);
            extent.right = std::max(extent.right, x);
            extent.bottom = std::max(extent.bottom, y);
            ++extent.count;
        }
    }
    return extent;
}

Box Whole() {
    return {0, 0, kSurfaceWidth, kSurfaceHeight};
}

// --- Panels: fill and border ---

TEST_F(ControlPainterTest, PanelFillKeepsItsAlphaAndTheBorderLiesOnePixelBeyond) {
    const Box box{20, 30, 100, 40};
    HWND panel = AddChild(ControlType::Panel, box, "EDIT", WS_BORDER);
    WriteProperty(panel, kBackColorKey, kStoredRed);
    WriteProperty(panel, kBackAlphaKey, 128);
    WriteProperty(panel, kBorderColorKey, kStoredBlue);
    WriteProperty(panel, kBorderAlphaKey, 255);
    Composite surface(kSurfaceWidth, kSurfaceHeight);
    Draw(panel, surface);

    const ARGB fill = surface.Pixel(70, 50);
    EXPECT_EQ(AlphaOf(fill), 128u) << std::hex << fill;
    EXPECT_GE((fill >> 16) & 0xFF, 254u) << std::hex << fill;
    EXPECT_EQ(fill & 0xFFFF, 0u) << std::hex << fill;

    // The fill covers x .. x + w - 1 and y .. y + h - 1; the outline lies on x, y, x + w, y + h.
    const int right = box.x + box.width, bottom = box.y + box.height;
    EXPECT_EQ(surface.Pixel(box.x, 50), kOpaqueBlue);
    EXPECT_EQ(surface.Pixel(box.x + 1, 50), fill);
    EXPECT_EQ(surface.Pixel(right - 1, 50), fill);
    EXPECT_EQ(surface.Pixel(right, 50), kOpaqueBlue);
    EXPECT_EQ(surface.Pixel(70, box.y), kOpaqueBlue);
    EXPECT_EQ(surface.Pixel(70, box.y + 1), fill);
    EXPECT_EQ(surface.Pixel(70, bottom - 1), fill);
    EXPECT_EQ(surface.Pixel(70, bottom), kOpaqueBlue);
    EXPECT_EQ(surface.Pixel(right, bottom), kOpaqueBlue);
    // Nothing beyond the outline.
    const Extent extent = ExtentOf(surface, Whole(), kTransparent);
    EXPECT_EQ(extent.left, box.x);
    EXPECT_EQ(extent.top, box.y);
    EXPECT_EQ(extent.right, right);
    EXPECT_EQ(extent.bottom, bottom);
    EXPECT_EQ(extent.count, (box.width + 1) * (box.height + 1));
}

TEST_F(ControlPainterTest, AbsentColoursAreBlackAndAbsentAlphasTransparent) {
    struct {
        const char* name;
        bool backColor, backAlpha, borderColor, borderAlpha;
        ARGB inside, outline;
    } cases[] = {
        {"no back colour: black fill", false, true, true, true, kOpaqueBlack, kOpaqueBlue},
        {"no back alpha: invisible fill", true, false, true, true, kOpaqueGreen, kOpaqueBlue},
        {"no border colour: black border", true, true, false, true, kOpaqueRed, kOpaqueBlack},
        {"no border alpha: invisible border", true, true, true, false, kOpaqueRed, kOpaqueGreen},
        {"nothing at all", false, false, false, false, kOpaqueGreen, kOpaqueGreen},
    };
    const Box box{40, 20, 60, 30};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HWND panel = AddChild(ControlType::Panel, box, "EDIT");
        if (c.backColor) WriteProperty(panel, kBackColorKey, kStoredRed);
        if (c.backAlpha) WriteProperty(panel, kBackAlphaKey, 255);
        if (c.borderColor) WriteProperty(panel, kBorderColorKey, kStoredBlue);
        if (c.borderAlpha) WriteProperty(panel, kBorderAlphaKey, 255);
        Composite surface(kSurfaceWidth, kSurfaceHeight, kOpaqueGreen);
        Draw(panel, surface);
        EXPECT_EQ(surface.Pixel(70, 35), c.inside);
        EXPECT_EQ(surface.Pixel(box.x + box.width, 35), c.outline);
        EXPECT_EQ(surface.Pixel(70, box.y + box.height), c.outline);
        DestroyWindow(panel);
    }
}

TEST_F(ControlPainterTest, ColoursOfMinusOneDrawNothing) {
    // -1 stored pointer-wide and as a 32-bit 0xFFFFFFFF (zero-extended on 64-bit) read the same.
    const auto zeroExtended = static_cast<std::intptr_t>(std::uintptr_t{0xFFFFFFFFu});
    for (std::intptr_t none : {std::intptr_t{-1}, zeroExtended}) {
        SCOPED_TRACE(none);
        HWND panel = AddChild(ControlType::Panel, {10, 10, 80, 30}, "EDIT");
        WriteProperty(panel, kBackColorKey, none);
        WriteProperty(panel, kBackAlphaKey, 255);
        WriteProperty(panel, kBorderColorKey, none);
        WriteProperty(panel, kBorderAlphaKey, 255);
        Composite surface(kSurfaceWidth, kSurfaceHeight, kOpaqueGreen);
        Draw(panel, surface);
        EXPECT_EQ(surface.CountOtherThan(0, 0, kSurfaceWidth, kSurfaceHeight, kOpaqueGreen), 0);
        DestroyWindow(panel);
    }
}

// --- Image placement ---

// An opaque image with a marked first column (blue), a marked last column (green) and red between.
ScopedGpImage MarkedImage(int width, int height) {
    return MakeImage(width, height, [width](int x, int) {
        return x == 0 ? kOpaqueBlue : x == width - 1 ? kOpaqueGreen : kOpaqueRed;
    });
}

TEST_F(ControlPainterTest, NaturalPlacementDrawsAtOwnSizeAndCutsWhatIsTooLarge) {
    struct {
        const char* name;
        int imageWidth, imageHeight;
        int drawnWidth, drawnHeight;  // what reaches the surface
        bool lastColumnShown;
    } cases[] = {
        {"smaller", 30, 20, 30, 20, true},
        {"exactly the control's size", 100, 40, 100, 40, true},
        {"one pixel too wide", 101, 40, 100, 40, false},
        {"one pixel too tall", 100, 41, 100, 40, true},
        {"much larger", 400, 300, 100, 40, false},
        // Cut with a source of 100 x 40 although only 10 rows exist: those rows are drawn.
        {"wider but shorter", 101, 10, 100, 10, false},
    };
    const Box box{50, 60, 100, 40};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HWND picture = AddChild(ControlType::Picture, box);
        SetImage(picture, kBackImageKey, Keep(MarkedImage(c.imageWidth, c.imageHeight)));
        Composite surface(kSurfaceWidth, kSurfaceHeight);
        Draw(picture, surface);
        const Extent extent = ExtentOf(surface, Whole(), kTransparent);
        EXPECT_EQ(extent.left, box.x);
        EXPECT_EQ(extent.top, box.y);
        EXPECT_EQ(extent.right, box.x + c.drawnWidth - 1);
        EXPECT_EQ(extent.bottom, box.y + c.drawnHeight - 1);
        EXPECT_EQ(extent.count, c.drawnWidth * c.drawnHeight);
        // Unscaled: the image's own pixels, its top-left part when cut.
        EXPECT_EQ(surface.Pixel(box.x, box.y), kOpaqueBlue);
        EXPECT_EQ(surface.Pixel(box.x + 1, box.y + c.drawnHeight - 1), kOpaqueRed);
        EXPECT_EQ(surface.Pixel(box.x + c.drawnWidth - 1, box.y),
                  c.lastColumnShown ? kOpaqueGreen : kOpaqueRed);
        DestroyWindow(picture);
    }
}

// A scaled image: nothing outside the destination, the destination covered up to its edges and
// the image's colour in its middle. Wine's GDI+ leaves the first column and the first row of a
// scaled destination empty (its sampling starts half a pixel late), so those two edges may lie one
// pixel inside; unscaled images are placed exactly (above).
constexpr int kScaledEdgeSlack = 1;

void ExpectScaledPlacement(const Composite& surface, const Box& destination, ARGB color) {
    const Extent covered = ExtentOf(surface, Whole(), kTransparent);
    ASSERT_GT(covered.count, 0);
    EXPECT_GE(covered.left, destination.x);
    EXPECT_LE(covered.left, destination.x + kScaledEdgeSlack);
    EXPECT_GE(covered.top, destination.y);
    EXPECT_LE(covered.top, destination.y + kScaledEdgeSlack);
    EXPECT_EQ(covered.right, destination.x + destination.width - 1);
    EXPECT_EQ(covered.bottom, destination.y + destination.height - 1);
    EXPECT_EQ(surface.Pixel(destination.x + destination.width / 2,
                            destination.y + destination.height / 2),
              color);
}

TEST_F(ControlPainterTest, StretchFillsTheControl) {
    struct {
        int imageWidth, imageHeight;
    } cases[] = {{12, 10}, {300, 150}, {120, 50}};
    const Box box{30, 40, 120, 50};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.imageWidth << "x" << c.imageHeight);
        HWND picture = AddChild(ControlType::Picture, box);
        WriteCodeProperty(picture, kBackTypeKey, BackType::Stretch);
        SetImage(picture, kBackImageKey,
                 Keep(MakeSolidImage(c.imageWidth, c.imageHeight, kOpaqueRed)));
        Composite surface(kSurfaceWidth, kSurfaceHeight);
        Draw(picture, surface);
        ExpectScaledPlacement(surface, box, kOpaqueRed);
        DestroyWindow(picture);
    }
}

TEST_F(ControlPainterTest, FitShrinksKeepingTheAspectAndCentresWithTruncatedHalves) {
    struct {
        int imageWidth, imageHeight;
        Box box;
        Box drawn;  // relative to the box
    } cases[] = {
        {567, 425, {10, 20, 200, 100}, {33, 0, 134, 100}},
        {50, 300, {10, 20, 101, 100}, {42, 0, 16, 100}},  // odd spare pixel to the right
        {300, 50, {10, 20, 100, 51}, {0, 17, 100, 16}},   // odd spare pixel at the bottom
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.imageWidth << "x" << c.imageHeight);
        HWND picture = AddChild(ControlType::Picture, c.box);
        WriteCodeProperty(picture, kBackTypeKey, BackType::Fit);
        SetImage(picture, kBackImageKey,
                 Keep(MakeSolidImage(c.imageWidth, c.imageHeight, kOpaqueRed)));
        Composite surface(kSurfaceWidth, kSurfaceHeight);
        Draw(picture, surface);
        ExpectScaledPlacement(
            surface, {c.box.x + c.drawn.x, c.box.y + c.drawn.y, c.drawn.width, c.drawn.height},
            kOpaqueRed);
        DestroyWindow(picture);
    }
}

TEST_F(ControlPainterTest, FitDrawsAnImageThatFitsAtItsOwnSizeCentred) {
    // 61 x 35 in 134 x 57: unscaled, so placed exactly at (36, 11).
    const Box box{10, 20, 134, 57};
    HWND picture = AddChild(ControlType::Picture, box);
    WriteCodeProperty(picture, kBackTypeKey, BackType::Fit);
    SetImage(picture, kBackImageKey, Keep(MarkedImage(61, 35)));
    Composite surface(kSurfaceWidth, kSurfaceHeight);
    Draw(picture, surface);
    const Extent extent = ExtentOf(surface, Whole(), kTransparent);
    EXPECT_EQ(extent.left, box.x + 36);
    EXPECT_EQ(extent.top, box.y + 11);
    EXPECT_EQ(extent.right, box.x + 36 + 60);
    EXPECT_EQ(extent.bottom, box.y + 11 + 34);
    EXPECT_EQ(extent.count, 61 * 35);
    EXPECT_EQ(surface.Pixel(box.x + 36, box.y + 11), kOpaqueBlue);
    EXPECT_EQ(surface.Pixel(box.x + 36 + 60, box.y + 11), kOpaqueGreen);
}

TEST_F(ControlPainterTest, AnUnknownBackTypeIsNatural) {
    const Box box{50, 60, 100, 40};
    HWND picture = AddChild(ControlType::Picture, box);
    WriteProperty(picture, kBackTypeKey, 7);
    SetImage(picture, kBackImageKey, Keep(MarkedImage(30, 20)));
    Composite surface(kSurfaceWidth, kSurfaceHeight);
    Draw(picture, surface);
    const Extent extent = ExtentOf(surface, Whole(), kTransparent);
    EXPECT_EQ(extent.right, box.x + 29);
    EXPECT_EQ(extent.bottom, box.y + 19);
}

// --- Image buttons ---

class StateImageTest : public ControlPainterTest {
  protected:
    void SetUp() override {
        ControlPainterTest::SetUp();
        normal_ = Keep(MakeSolidImage(20, 10, kOpaqueRed));
        hot_ = Keep(MakeSolidImage(20, 10, kOpaqueGreen));
        pressed_ = Keep(MakeSolidImage(20, 10, kOpaqueBlue));
        disabled_ = Keep(MakeSolidImage(20, 10, kOpaqueWhite));
    }
    GpImage* normal_ = nullptr;
    GpImage* hot_ = nullptr;
    GpImage* pressed_ = nullptr;
    GpImage* disabled_ = nullptr;
};

TEST_F(StateImageTest, EachStateShowsItsImageAndFallsBackToTheNormalOne) {
    struct {
        const char* name;
        bool withNormal, withHot, withPressed, withDisabled;
        std::intptr_t state;  // -100: no state property
        int expected;         // 0 none, 1 normal, 2 hot, 3 pressed, 4 disabled
    } cases[] = {
        {"no state", true, true, true, true, -100, 1},
        {"Normal", true, true, true, true, 0, 1},
        {"Hot", true, true, true, true, 1, 2},
        {"Pressed", true, true, true, true, 2, 3},
        {"Disabled", true, true, true, true, 3, 4},
        {"unknown state", true, true, true, true, 7, 1},
        {"negative state", true, true, true, true, -1, 1},
        {"Hot without its image", true, false, true, true, 1, 1},
        {"Pressed without its image", true, true, false, true, 2, 1},
        {"Disabled without its image", true, true, true, false, 3, 1},
        {"Hot without a normal image", false, true, true, true, 1, 2},
        {"Normal without a normal image", false, true, true, true, 0, 0},
        {"Disabled with neither", false, true, true, false, 3, 0},
    };
    const Box box{100, 50, 20, 10};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HWND button = AddChild(ControlType::ImageButton, box, "BUTTON");
        if (c.withNormal) SetImage(button, kNormalImageKey, normal_);
        if (c.withHot) SetImage(button, kHotImageKey, hot_);
        if (c.withPressed) SetImage(button, kPressedImageKey, pressed_);
        if (c.withDisabled) SetImage(button, kDisabledImageKey, disabled_);
        if (c.state != -100) WriteProperty(button, kDrawStateKey, c.state);
        GpImage* const images[] = {nullptr, normal_, hot_, pressed_, disabled_};
        GpImage* expected = images[c.expected];
        EXPECT_EQ(StateImage(button, ReadCodeProperty<DrawState>(button, kDrawStateKey)), expected);

        Composite surface(kSurfaceWidth, kSurfaceHeight);
        Draw(button, surface);
        if (expected) {
            EXPECT_EQ(surface.Pixel(box.x + 5, box.y + 5),
                      skin_core_test::ImagePixel(expected, 0, 0));
            EXPECT_EQ(ExtentOf(surface, Whole(), kTransparent).count, box.width * box.height);
        } else {
            EXPECT_EQ(ExtentOf(surface, Whole(), kTransparent).count, 0) << "background shows";
        }
        DestroyWindow(button);
    }
}

TEST_F(StateImageTest, ButtonsAndPicturesGetNoFillBorderOrTextAndOtherTypesNothing) {
    struct {
        const char* name;
        std::intptr_t type;
        bool imageShown;
    } cases[] = {
        {"picture", 2, true},       {"image button", 3, true}, {"layered host", 1, false},
        {"unknown type", 5, false}, {"not skinned", 0, false},
    };
    const Box box{60, 40, 80, 30};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HWND child = AddChild(ControlType::None, box, "STATIC", 0, "Some text");
        WriteProperty(child, kTypeKey, c.type);
        SetFont(child, -12);
        WriteProperty(child, kBackColorKey, kStoredRed);
        WriteProperty(child, kBackAlphaKey, 255);
        WriteProperty(child, kBorderColorKey, kStoredBlue);
        WriteProperty(child, kBorderAlphaKey, 255);
        WriteProperty(child, kTextColorKey, 0);
        SetImage(child, kBackImageKey, normal_);
        SetImage(child, kNormalImageKey, normal_);
        Composite surface(kSurfaceWidth, kSurfaceHeight);
        Draw(child, surface);
        const Extent extent = ExtentOf(surface, Whole(), kTransparent);
        if (c.imageShown) {
            // The 20 x 10 image at the corner, and nothing else.
            EXPECT_EQ(extent.count, 20 * 10);
            EXPECT_EQ(extent.left, box.x);
            EXPECT_EQ(extent.top, box.y);
            EXPECT_EQ(surface.Pixel(box.x, box.y), kOpaqueRed);
        } else {
            EXPECT_EQ(extent.count, 0);
        }
        DestroyWindow(child);
    }
}

// --- Panel text ---

class PanelTextTest : public ControlPainterTest {};

// Pixels that differ from the colour, inside and outside a rectangle of the box.
struct Ink {
    int inside = 0;
    int outside = 0;
};

Ink InkAround(const Composite& surface, const Box& box, const Box& layout, ARGB background) {
    Ink ink;
    for (int y = box.y + 1; y < box.y + box.height - 1; ++y) {  // inside the outline
        for (int x = box.x + 1; x < box.x + box.width - 1; ++x) {
            if (surface.Pixel(x, y) == background) continue;
            const bool inLayout = x >= layout.x && x < layout.x + layout.width && y >= layout.y &&
                                  y < layout.y + layout.height;
            ++(inLayout ? ink.inside : ink.outside);
        }
    }
    return ink;
}

Box LayoutOf(const Box& box) {
    return {box.x + 2, box.y + 2, box.width - 4, box.height - 4};
}

TEST_F(PanelTextTest, TextIsDrawnInsideTheLayoutRectangleOnly) {
    const Box box{20, 30, 160, 30};
    HWND panel =
        AddPanel(box, "Kestrune patches a copy of a file: the first occurrence is replaced");
    WriteProperty(panel, kTextColorKey, kStoredBlue);
    SetFont(panel, -12);
    Composite surface(kSurfaceWidth, kSurfaceHeight);
    Draw(panel, surface);
    const Ink ink = InkAround(surface, box, LayoutOf(box), kOpaqueWhite);
    EXPECT_GT(ink.inside, 50);
    EXPECT_EQ(ink.outside, 0);
    // The long text is cut near the layout's right edge (the last partly visible character may be
    // left out), not wrapped onto a second line.
    const Extent extent = ExtentOf(surface, LayoutOf(box), kOpaqueWhite);
    EXPECT_GE(extent.right, box.x + box.width - 2 - 16);
    EXPECT_LT(extent.bottom - extent.top, 20);
    EXPECT_EQ(ExtentOf(surface, Whole(), kTransparent).count, box.width * box.height);
}

TEST_F(PanelTextTest, TextTallerThanTheLayoutIsCentredOnIt) {
    // 8 rows of layout (y + 2 .. y + 9) for capitals of a 16-pixel font. Windows' GDI+ cuts them
    // to the layout; Wine's draws them whole (no clipping to the layout rectangle). Either way the
    // ink is centred on the layout rectangle, as much above its middle as below.
    const Box box{20, 30, 160, 12};
    HWND panel = AddPanel(box, "HHHHHHHH");
    WriteProperty(panel, kTextColorKey, 0);
    SetFont(panel, -16);
    Composite surface(kSurfaceWidth, kSurfaceHeight);
    Draw(panel, surface);
    Extent ink;
    for (int y = box.y - 6; y < box.y + box.height + 6; ++y) {
        for (int x = box.x; x < box.x + box.width; ++x) {
            const ARGB pixel = surface.Pixel(x, y);
            if (pixel == kOpaqueWhite || pixel == kTransparent) continue;
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y);
            ++ink.count;
        }
    }
    ASSERT_GT(ink.count, 0);
    const int layoutTop = box.y + 2, layoutBottom = box.y + box.height - 3;
    EXPECT_LE(ink.top, layoutTop) << "the capitals are taller than the layout";
    EXPECT_GE(ink.bottom, layoutBottom);
    EXPECT_NEAR(layoutTop - ink.top, ink.bottom - layoutBottom, 1);
}

TEST_F(PanelTextTest, TextIsOpaqueLeftAlignedVerticallyCentredAndNotWrapped) {
    const Box box{20, 20, 120, 120};
    HWND panel = AddPanel(box, "wrap me if you can, please do");
    WriteProperty(panel, kBackAlphaKey, 0);  // transparent panel
    WriteProperty(panel, kTextColorKey, kStoredBlue);
    SetFont(panel, -12);
    Composite surface(kSurfaceWidth, kSurfaceHeight);
    Draw(panel, surface);
    const Extent extent = ExtentOf(surface, Whole(), kTransparent);
    ASSERT_GT(extent.count, 0);
    EXPECT_LE(extent.left, box.x + 2 + 3) << "left-aligned";
    EXPECT_LT(extent.bottom - extent.top, 20) << "one line";
    const int middle = (extent.top + extent.bottom) / 2;
    EXPECT_NEAR(middle, box.y + box.height / 2, 4) << "vertically centred";
    // Fully covered glyph pixels carry the text colour at full alpha, whatever the panel's alphas.
    int opaque = 0;
    for (int y = extent.top; y <= extent.bottom; ++y) {
        for (int x = extent.left; x <= extent.right; ++x)
            opaque += surface.Pixel(x, y) == kOpaqueBlue;
    }
    EXPECT_GT(opaque, 0);
}

TEST_F(PanelTextTest, ATextColourOfMinusOneIsOpaqueWhite) {
    const Box box{20, 20, 120, 30};
    HWND panel = AddPanel(box, "HHHH IIII");
    WriteProperty(panel, kBackColorKey, kNoColor);
    WriteProperty(panel, kTextColorKey, kNoColor);
    SetFont(panel, -14);
    Composite surface(kSurfaceWidth, kSurfaceHeight);
    Draw(panel, surface);
    const Extent extent = ExtentOf(surface, Whole(), kTransparent);
    ASSERT_GT(extent.count, 0);
    int white = 0;
    for (int y = extent.top; y <= extent.bottom; ++y) {
        for (int x = extent.left; x <= extent.right; ++x)
            white += surface.Pixel(x, y) == kOpaqueWhite;
    }
    EXPECT_GT(white, 0);
}

TEST_F(PanelTextTest, NoTextWithoutAFontGdiplusCanMakeOrWithoutText) {
    struct {
        const char* name;
        const char* text;
        const char* face;  // null: no WM_SETFONT, the window answers 0
    } cases[] = {
        {"no font", "Some text", nullptr},
        {"a face that is no GDI+ family", "Some text", "Kestrune No Such Face"},
        {"empty text", "", "SimSun"},
    };
    const Box box{20, 30, 160, 30};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HWND panel = AddPanel(box, c.text);
        WriteProperty(panel, kTextColorKey, kStoredBlue);
        WriteProperty(panel, kBorderColorKey, kStoredRed);
        if (c.face) SetFont(panel, -12, c.face);
        Composite surface(kSurfaceWidth, kSurfaceHeight);
        Draw(panel, surface);
        // Fill and border are still there; the inside is plain white.
        const Ink ink = InkAround(surface, box, LayoutOf(box), kOpaqueWhite);
        EXPECT_EQ(ink.inside + ink.outside, 0);
        EXPECT_EQ(surface.Pixel(box.x + box.width, box.y), kOpaqueRed);
        DestroyWindow(panel);
    }
}

TEST_F(PanelTextTest, PanelsShowOnlyWhatTheyHave) {
    struct {
        const char* name;
        bool fill, border, text;
    } cases[] = {
        {"everything", true, true, true},
        {"no fill", false, true, true},
        {"no fill, no border", false, false, true},
        {"nothing", false, false, false},
    };
    const Box box{30, 30, 140, 30};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HWND panel = AddPanel(box, c.text ? "Text" : "");
        WriteProperty(panel, kBackColorKey, c.fill ? kStoredWhite : kNoColor);
        WriteProperty(panel, kBorderColorKey, c.border ? kStoredRed : kNoColor);
        WriteProperty(panel, kTextColorKey, kStoredBlue);
        SetFont(panel, -12);
        Composite surface(kSurfaceWidth, kSurfaceHeight);
        Draw(panel, surface);
        EXPECT_EQ(surface.Pixel(box.x + box.width - 3, box.y + 3),
                  c.fill ? kOpaqueWhite : kTransparent);
        EXPECT_EQ(surface.Pixel(box.x + box.width, box.y + box.height),
                  c.border ? kOpaqueRed : kTransparent);
        const Extent ink = ExtentOf(surface, LayoutOf(box), c.fill ? kOpaqueWhite : kTransparent);
        EXPECT_EQ(ink.count > 0, c.text);
        DestroyWindow(panel);
    }
}

TEST_F(PanelTextTest, AClippedBackImageStillGetsItsBorderAndText) {
    const Box box{20, 30, 160, 30};
    HWND panel = AddPanel(box, "On top of the image");
    WriteProperty(panel, kBorderColorKey, kStoredBlue);
    WriteProperty(panel, kTextColorKey, 0);
    SetFont(panel, -12);
    SetImage(panel, kBackImageKey, Keep(MakeSolidImage(161, 30, kOpaqueRed)));  // one too wide
    Composite surface(kSurfaceWidth, kSurfaceHeight);
    Draw(panel, surface);
    EXPECT_EQ(surface.Pixel(box.x + box.width, box.y + 10), kOpaqueBlue);
    EXPECT_EQ(surface.Pixel(box.x + 1, box.y + 1), kOpaqueRed) << "the image lies over the fill";
    const Ink ink = InkAround(surface, box, LayoutOf(box), kOpaqueRed);
    EXPECT_GT(ink.inside, 20);
    EXPECT_EQ(ink.outside, 0);
}

TEST_F(PanelTextTest, TheTextIsDrawnAsHeldEvenForPasswordBoxes) {
    const Box plainBox{10, 10, 150, 30}, passwordBox{10, 100, 150, 30};
    HWND plain = AddPanel(plainBox, "secret");
    HWND password = AddPanel(passwordBox, "secret", ES_PASSWORD);
    for (HWND panel : {plain, password}) {
        WriteProperty(panel, kTextColorKey, 0);
        SetFont(panel, -12);
    }
    Composite surface(kSurfaceWidth, kSurfaceHeight);
    Draw(plain, surface);
    Draw(password, surface);
    int differences = 0, ink = 0;
    for (int y = 0; y < plainBox.height; ++y) {
        for (int x = 0; x < plainBox.width; ++x) {
            const ARGB upper = surface.Pixel(plainBox.x + x, plainBox.y + y);
            differences += upper != surface.Pixel(passwordBox.x + x, passwordBox.y + y);
            ink += upper != kOpaqueWhite;
        }
    }
    EXPECT_GT(ink, 0);
    EXPECT_EQ(differences, 0);
}

TEST_F(PanelTextTest, ChineseTextInTheTextBoxesFaceIsDrawn) {
    const Box box{20, 30, 200, 30};
    HWND panel = AddPanel(box, "修改完毕!");
    WriteProperty(panel, kTextColorKey, 0);
    SetFont(panel, -12, "宋体");
    Composite surface(kSurfaceWidth, kSurfaceHeight);
    Draw(panel, surface);
    const Ink ink = InkAround(surface, box, LayoutOf(box), kOpaqueWhite);
    EXPECT_GT(ink.inside, 30);
    EXPECT_EQ(ink.outside, 0);
}

// --- Geometry and helpers ---

TEST_F(ControlPainterTest, TheChildsPlaceIsItsWindowRectangleInTheTopLevelsClientArea) {
    // A nested child: its window rectangle, border included, counts from the top-level's client
    // corner, not from its own parent's.
    HWND holder = AddChild(ControlType::None, {40, 50, 200, 100});
    HWND panel = CreateChildWindow(holder, "EDIT", 10, 20, 60, 25, WS_BORDER);
    WriteCodeProperty(panel, kTypeKey, ControlType::Panel);
    WriteProperty(panel, kBackColorKey, kStoredRed);
    WriteProperty(panel, kBackAlphaKey, 255);
    WriteProperty(panel, kBorderColorKey, kNoColor);
    Composite surface(kSurfaceWidth, kSurfaceHeight);
    Draw(panel, surface);
    const Extent extent = ExtentOf(surface, Whole(), kTransparent);
    EXPECT_EQ(extent.left, 50);
    EXPECT_EQ(extent.top, 70);
    EXPECT_EQ(extent.right, 50 + 60 - 1);
    EXPECT_EQ(extent.bottom, 70 + 25 - 1);
}

TEST_F(ControlPainterTest, ReadWindowTextGivesTheWholeTextOrEmpty) {
    HWND edit = AddChild(ControlType::None, {0, 0, 100, 20}, "EDIT", ES_AUTOHSCROLL, "");
    EXPECT_EQ(ReadWindowText(edit), "");
    const std::string longText(3000, 'x');
    SetWindowTextA(edit, longText.c_str());
    EXPECT_EQ(ReadWindowText(edit), longText);
    SetWindowTextA(edit, "修改完毕!");
    EXPECT_EQ(ReadWindowText(edit), "修改完毕!");
    EXPECT_EQ(ReadWindowText(nullptr), "");
}

}  // namespace
