// Tests of the skin module's start-up: GDI+, the time frame dimension and the loading-dialog class.
#include "skin/graphics_startup.h"

#include "skin/gdiplus_flat.h"
#include "skin/loading_dialog.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// {6AEDBD6D-3FB5-418A-83A6-7F45229DC872} in its 16-byte form: three little-endian fields, then
// eight bytes as written.
constexpr unsigned char kTimeDimension[16] = {0x6D, 0xBD, 0xED, 0x6A, 0xB5, 0x3F, 0x8A, 0x41,
                                              0x83, 0xA6, 0x7F, 0x45, 0x22, 0x9D, 0xC8, 0x72};

TEST(InitSkinModuleTest, StartsGdiplusParsesTheTimeDimensionAndRegistersTheClass) {
    EXPECT_TRUE(frameDimensionTime.IsEmpty());
    WNDCLASSEXA before{};
    before.cbSize = sizeof(before);
    EXPECT_FALSE(GetClassInfoExA(GetModuleHandleA(nullptr), kLoadingDialogClassName, &before));

    InitSkinModule();

    EXPECT_NE(gdiplusToken, 0u);
    ASSERT_EQ(frameDimensionTime.Length(), 16);
    EXPECT_EQ(std::memcmp(frameDimensionTime.Data(), kTimeDimension, 16), 0);
    EXPECT_EQ(std::memcmp(frameDimensionTime.Data(), &FrameDimensionTime, 16), 0);

    WNDCLASSEXA registered{};
    registered.cbSize = sizeof(registered);
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), kLoadingDialogClassName, &registered));
    EXPECT_EQ(registered.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(registered.lpfnWndProc, &LoadingDialogProc);
    EXPECT_EQ(registered.cbClsExtra, 0);
    EXPECT_EQ(registered.cbWndExtra, 0);
    EXPECT_EQ(registered.hIcon, nullptr);
    EXPECT_EQ(registered.hCursor, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(reinterpret_cast<INT_PTR>(registered.hbrBackground), COLOR_BTNFACE + 1);
    EXPECT_EQ(registered.lpszMenuName, nullptr);
}

TEST(InitSkinModuleTest, ASecondStartReplacesTheGuidBuffer) {
    InitSkinModule();
    frameDimensionTime.Data()[0] = 0;
    InitSkinModule();
    ASSERT_EQ(frameDimensionTime.Length(), 16);
    EXPECT_EQ(std::memcmp(frameDimensionTime.Data(), kTimeDimension, 16), 0);
}

}  // namespace
