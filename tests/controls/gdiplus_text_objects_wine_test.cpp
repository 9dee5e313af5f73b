// Tests of the GDI+ font, string-format and font-family objects: creation, queries and ownership.
#include "controls/gdiplus_text_objects.h"

#include "skin/scoped_handles.h"
#include "tests/skin/skin_core_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using skin_core_test::CreateChildWindow;
using skin_core_test::CreateTopLevelWindow;
using skin_core_test::ScopedWindow;
using skin_core_test::SkinModuleTest;

// The text boxes' face; the test environment maps it to an installed TrueType font.
constexpr const char* kFace = "SimSun";
constexpr const char* kMissingFace = "Kestrune No Such Face";

ScopedFont MakeGdiFont(LONG height, LONG weight = FW_NORMAL, BYTE italic = 0, BYTE underline = 0,
                       BYTE strikeOut = 0, const char* face = kFace) {
    LOGFONTA description{};
    description.lfHeight = height;
    description.lfWeight = weight;
    description.lfItalic = italic;
    description.lfUnderline = underline;
    description.lfStrikeOut = strikeOut;
    description.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(description.lfFaceName, face, sizeof(description.lfFaceName) - 1);
    return ScopedFont(CreateFontIndirectA(&description));
}

std::wstring FamilyName(GpFontFamily* family) {
    WCHAR name[LF_FACESIZE] = {};
    GdipGetFamilyName(family, name, LANG_NEUTRAL);
    return name;
}

class GdipFontTest : public SkinModuleTest {};

TEST_F(GdipFontTest, CreateFromHFontTakesBoldOnlyFrom600And700AndFlagsOnlyWhenOne) {
    struct {
        LONG weight;
        BYTE italic, underline, strikeOut;
        INT style;
    } cases[] = {
        {FW_NORMAL, 0, 0, 0, FontStyleRegular},
        {500, 0, 0, 0, FontStyleRegular},
        {600, 0, 0, 0, FontStyleBold},
        {700, 0, 0, 0, FontStyleBold},
        {800, 0, 0, 0, FontStyleRegular},
        {900, 0, 0, 0, FontStyleRegular},
        {FW_NORMAL, 1, 0, 0, FontStyleItalic},
        {FW_NORMAL, 2, 0, 0, FontStyleRegular},
        {FW_NORMAL, 255, 0, 0, FontStyleRegular},
        {FW_NORMAL, 0, 1, 0, FontStyleUnderline},
        {FW_NORMAL, 0, 3, 0, FontStyleRegular},
        {FW_NORMAL, 0, 0, 1, FontStyleStrikeout},
        {FW_NORMAL, 0, 0, 2, FontStyleRegular},
        {700, 1, 1, 1, FontStyleBold | FontStyleItalic | FontStyleUnderline | FontStyleStrikeout},
        {800, 1, 2, 1, FontStyleItalic | FontStyleStrikeout},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "weight " << c.weight << ", italic " << int{c.italic} << ", underline "
                     << int{c.underline} << ", strikeout " << int{c.strikeOut});
        ScopedFont gdiFont = MakeGdiFont(-12, c.weight, c.italic, c.underline, c.strikeOut);
        GdipFont font;
        GpFont* handle = font.CreateFromHFont(gdiFont.get());
        ASSERT_NE(handle, nullptr);
        EXPECT_EQ(font.GetHandle(), handle);
        INT style = -1;
        EXPECT_EQ(font.GetStyle(style), Ok);
        EXPECT_EQ(style, c.style);
    }
}

TEST_F(GdipFontTest, CreateFromHFontSizesInPixelsFromTheHeightsNumber) {
    for (LONG height : {-16L, 16L, -12L, 12L, -1L}) {
        ScopedFont gdiFont = MakeGdiFont(height, FW_BOLD);
        GdipFont font;
        ASSERT_NE(font.CreateFromHFont(gdiFont.get()), nullptr) << height;
        REAL size = 0;
        INT unit = -1, style = -1;
        EXPECT_EQ(font.GetSize(size), Ok);
        EXPECT_EQ(font.GetUnit(unit), Ok);
        EXPECT_EQ(font.GetStyle(style), Ok);
        EXPECT_FLOAT_EQ(size, static_cast<REAL>(height < 0 ? -height : height)) << height;
        EXPECT_EQ(unit, UnitPixel) << height;
        EXPECT_EQ(style, FontStyleBold) << height;
    }
}

TEST_F(GdipFontTest, CreateFromHFontKeepsTheFace) {
    ScopedFont gdiFont = MakeGdiFont(-12);
    GdipFont font;
    ASSERT_NE(font.CreateFromHFont(gdiFont.get()), nullptr);
    GpFontFamily* fontsFamily = nullptr;
    ASSERT_EQ(GdipGetFamily(font.GetHandle(), &fontsFamily), Ok);
    GdipFontFamily expected;
    ASSERT_EQ(expected.CreateFromName(kFace), Ok);
    EXPECT_EQ(FamilyName(fontsFamily), FamilyName(expected.GetHandle()));
    GdipDeleteFontFamily(fontsFamily);
    // The GDI font stays the caller's.
    EXPECT_EQ(GetObjectType(gdiFont.get()), static_cast<DWORD>(OBJ_FONT));
}

TEST_F(GdipFontTest, NoFontLeavesTheObjectAsItWasAndAFailedOneEmptiesIt) {
    GdipFont font;
    ASSERT_EQ(font.CreateFromName(kFace, 10, FontStyleRegular, UnitPixel), Ok);
    GpFont* held = font.GetHandle();
    ASSERT_NE(held, nullptr);

    EXPECT_EQ(font.CreateFromHFont(nullptr), nullptr);
    EXPECT_EQ(font.GetHandle(), held) << "no font: nothing changes";

    // A GDI font whose face GDI+ has no family for: the creation fails and the old font goes.
    ScopedFont unknownFace = MakeGdiFont(-12, FW_NORMAL, 0, 0, 0, kMissingFace);
    EXPECT_EQ(font.CreateFromHFont(unknownFace.get()), nullptr);
    EXPECT_EQ(font.GetHandle(), nullptr);

    // A handle that is no font reads as an all-zero description: no face, no font.
    ASSERT_EQ(font.CreateFromName(kFace, 10, FontStyleRegular, UnitPixel), Ok);
    ScopedBrush brush(CreateSolidBrush(RGB(1, 2, 3)));
    EXPECT_EQ(font.CreateFromHFont(reinterpret_cast<HFONT>(brush.get())), nullptr);
    EXPECT_EQ(font.GetHandle(), nullptr);
}

TEST_F(GdipFontTest, CreateFromWindowUsesTheWindowsOwnFont) {
    ScopedWindow top = CreateTopLevelWindow(200, 100);
    ASSERT_TRUE(top);
    HWND edit = CreateChildWindow(top.get(), "EDIT", 0, 0, 100, 20);
    ASSERT_NE(edit, nullptr);

    // An edit control without WM_SETFONT answers 0 (it uses the system font).
    ASSERT_EQ(SendMessageA(edit, WM_GETFONT, 0, 0), 0);
    GdipFont fresh;
    EXPECT_EQ(fresh.CreateFromWindow(edit), nullptr);
    EXPECT_EQ(fresh.GetHandle(), nullptr);
    GdipFont holding;
    ASSERT_EQ(holding.CreateFromName(kFace, 10, FontStyleRegular, UnitPixel), Ok);
    GpFont* held = holding.GetHandle();
    EXPECT_EQ(holding.CreateFromWindow(edit), nullptr);
    EXPECT_EQ(holding.GetHandle(), held);

    ScopedFont gdiFont = MakeGdiFont(-14, FW_SEMIBOLD, 1);
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(gdiFont.get()), FALSE);
    GpFont* made = fresh.CreateFromWindow(edit);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(fresh.GetHandle(), made);
    REAL size = 0;
    INT style = -1;
    fresh.GetSize(size);
    fresh.GetStyle(style);
    EXPECT_FLOAT_EQ(size, 14.0f);
    EXPECT_EQ(style, FontStyleBold | FontStyleItalic);
}

TEST_F(GdipFontTest, CreateFromNameReturnsTheStatusAndEmptiesOnFailure) {
    GdipFont font;
    EXPECT_EQ(font.CreateFromName(kFace, 20, FontStyleItalic, UnitPoint), Ok);
    ASSERT_NE(font.GetHandle(), nullptr);
    REAL size = 0;
    INT style = -1, unit = -1;
    EXPECT_EQ(font.GetSize(size), Ok);
    EXPECT_EQ(font.GetStyle(style), Ok);
    EXPECT_EQ(font.GetUnit(unit), Ok);
    EXPECT_FLOAT_EQ(size, 20.0f);
    EXPECT_EQ(style, FontStyleItalic);
    EXPECT_EQ(unit, UnitPoint);

    EXPECT_NE(font.CreateFromName(kMissingFace, 20, FontStyleRegular, UnitPixel), Ok);
    EXPECT_EQ(font.GetHandle(), nullptr) << "the previous font is deleted";
    EXPECT_NE(font.CreateFromName(nullptr, 20, FontStyleRegular, UnitPixel), Ok);
    EXPECT_EQ(font.GetHandle(), nullptr);
}

TEST_F(GdipFontTest, CreateFromDCUsesTheSelectedFont) {
    ScopedDc dc(CreateCompatibleDC(nullptr));
    ScopedFont gdiFont = MakeGdiFont(-18);
    ScopedSelection selection(dc.get(), gdiFont.get());
    GdipFont font;
    EXPECT_EQ(font.CreateFromDC(dc.get()), Ok);
    EXPECT_NE(font.GetHandle(), nullptr);
}

TEST_F(GdipFontTest, GetHeightGivesTheLineSpacingOnAGraphics) {
    skin_core_test::Composite surface(10, 10);
    GdipFont font;
    ASSERT_EQ(font.CreateFromName(kFace, 16, FontStyleRegular, UnitPixel), Ok);
    REAL height = 0;
    EXPECT_EQ(font.GetHeight(surface.graphics(), height), Ok);
    EXPECT_GE(height, 16.0f);
    EXPECT_LT(height, 40.0f);
}

TEST_F(GdipFontTest, SetHandleAndDeleteReleaseWhatIsHeld) {
    GdipFont font;
    INT style = 0;
    EXPECT_NE(font.GetStyle(style), Ok) << "an empty object has nothing to ask";
    ASSERT_EQ(font.CreateFromName(kFace, 10, FontStyleRegular, UnitPixel), Ok);
    font.SetHandle(nullptr);
    EXPECT_EQ(font.GetHandle(), nullptr);

    GpFont* adopted = nullptr;
    GdipFontFamily family;
    ASSERT_EQ(family.CreateFromName(kFace), Ok);
    ASSERT_EQ(GdipCreateFont(family.GetHandle(), 9, FontStyleBold, UnitPixel, &adopted), Ok);
    font.SetHandle(adopted);
    EXPECT_EQ(font.GetHandle(), adopted);
    EXPECT_EQ(font.GetStyle(style), Ok);
    EXPECT_EQ(style, FontStyleBold);
    font.Delete();
    EXPECT_EQ(font.GetHandle(), nullptr);
    font.Delete();  // twice is harmless
}

class GdipStringFormatTest : public SkinModuleTest {};

TEST_F(GdipStringFormatTest, CreateSetsTheFlagsAndTheSettersTheAlignments) {
    GdipStringFormat format;
    EXPECT_EQ(format.GetHandle(), nullptr);
    format.Create(StringFormatFlagsNoWrap | StringFormatFlagsNoFitBlackBox, LANG_NEUTRAL);
    ASSERT_NE(format.GetHandle(), nullptr);
    INT flags = 0;
    EXPECT_EQ(GdipGetStringFormatFlags(format.GetHandle(), &flags), Ok);
    EXPECT_EQ(flags, 0x1004);

    format.SetAligns(StringAlignmentNear, StringAlignmentCenter);
    StringAlignment align = StringAlignmentFar, lineAlign = StringAlignmentFar;
    GdipGetStringFormatAlign(format.GetHandle(), &align);
    GdipGetStringFormatLineAlign(format.GetHandle(), &lineAlign);
    EXPECT_EQ(align, StringAlignmentNear);
    EXPECT_EQ(lineAlign, StringAlignmentCenter);

    format.SetAlign(StringAlignmentFar);
    GdipGetStringFormatAlign(format.GetHandle(), &align);
    GdipGetStringFormatLineAlign(format.GetHandle(), &lineAlign);
    EXPECT_EQ(align, StringAlignmentFar);
    EXPECT_EQ(lineAlign, StringAlignmentCenter);

    format.SetLineAlign(StringAlignmentNear);
    GdipGetStringFormatLineAlign(format.GetHandle(), &lineAlign);
    EXPECT_EQ(lineAlign, StringAlignmentNear);
}

TEST_F(GdipStringFormatTest, DefaultsAndOwnership) {
    GdipStringFormat format;
    format.Create();
    ASSERT_NE(format.GetHandle(), nullptr);
    INT flags = -1;
    GdipGetStringFormatFlags(format.GetHandle(), &flags);
    EXPECT_EQ(flags, 0);
    format.Create(StringFormatFlagsNoWrap);  // replaces the first
    GdipGetStringFormatFlags(format.GetHandle(), &flags);
    EXPECT_EQ(flags, StringFormatFlagsNoWrap);
    format.SetHandle(nullptr);
    EXPECT_EQ(format.GetHandle(), nullptr);
    format.SetAligns(StringAlignmentNear, StringAlignmentCenter);  // on nothing: harmless
    format.Delete();
    EXPECT_EQ(format.GetHandle(), nullptr);
}

class GdipFontFamilyTest : public SkinModuleTest {};

TEST_F(GdipFontFamilyTest, CreateFromNameFindsInstalledFamiliesOnly) {
    GdipFontFamily family;
    EXPECT_EQ(family.CreateFromName(kFace), Ok);
    EXPECT_NE(family.GetHandle(), nullptr);
    EXPECT_EQ(family.CreateFromName(kMissingFace), FontFamilyNotFound);
    EXPECT_EQ(family.GetHandle(), nullptr) << "the previous family is deleted";
    ASSERT_EQ(family.CreateFromName(kFace), Ok);
    EXPECT_NE(family.CreateFromName(nullptr), Ok);
    EXPECT_EQ(family.GetHandle(), nullptr);
    family.Delete();
    family.Delete();
}

// The face name is ANSI text: the Chinese face is found only when the code page reads it.
TEST(GdipFontFamilyCodePageTest, TheChineseFaceNameIsReadInTheAnsiCodePage) {
    skin_core_test::EnsureSkinModule();
    GdipFontFamily family;
    const GpStatus status = family.CreateFromName("宋体");
    if (GetACP() == 936) {
        EXPECT_EQ(status, Ok);
        EXPECT_NE(family.GetHandle(), nullptr);
    } else {
        EXPECT_EQ(status, FontFamilyNotFound);
        EXPECT_EQ(family.GetHandle(), nullptr);
    }
}

}  // namespace
