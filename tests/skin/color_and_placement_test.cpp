// Tests of the colour conversion and of the aspect-keeping fit, as tables of cases.
#include "skin/color_and_placement.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(ToArgbTest, SwapsRedAndBlueAndPutsTheAlphaOnTop) {
    struct {
        std::int32_t color;
        std::int32_t alpha;
        std::uint32_t argb;
    } cases[] = {
        {0x000000FF, 255, 0xFFFF0000u},  // opaque red
        {0x007B8084, 255, 0xFF84807Bu},  // the panels' grey border
        {0x00112233, 128, 0x80332211u},
        {-1, 255, 0xFFFFFFFFu},            // "no colour" is not special here
        {0x00FFFFFF, 0, 0x00FFFFFFu},      // transparent white
        {0x00000000, 255, 0xFF000000u},    // opaque black
        {0x7F112233, 255, 0xFF332211u},    // the top byte of the colour is ignored
        {0x00112233, 0x1FF, 0xFF332211u},  // only the low 8 bits of the alpha survive
        {0x00112233, -1, 0xFF332211u},
        {0x00FF0000, 1, 0x010000FFu},   // blue
        {0x0000FF00, 64, 0x4000FF00u},  // green stays in the middle
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToArgb(c.color, c.alpha), c.argb)
            << std::hex << "colour 0x" << c.color << ", alpha " << std::dec << c.alpha;
    }
}

TEST(FitInBoxTest, ShrinksKeepingTheAspectAndNeverEnlarges) {
    struct {
        std::int32_t imageWidth, imageHeight, boxWidth, boxHeight;
        std::int32_t width, height;
    } cases[] = {
        {567, 425, 200, 100, 134, 100},  // too wide, then still too tall
        {134, 57, 61, 35, 61, 25},       // too wide only
        {61, 35, 134, 57, 61, 35},       // fits: unchanged, not enlarged
        {50, 300, 100, 100, 16, 100},    // too tall only
        {100, 100, 100, 100, 100, 100},  // equal to the box stays unchanged
        {101, 100, 100, 100, 100, 99},   // one pixel too wide: 100 * 100 / 101 = 99.0099
        {100, 101, 100, 100, 99, 100},   // one pixel too tall
        {3, 2, 2, 2, 2, 1},              // 2 * 2 / 3 = 1.33 truncates
        {2, 3, 2, 2, 1, 2},
        {0, 0, 10, 10, 0, 0},  // an empty image stays empty
        {10, 10, 0, 0, 0, 0},  // an empty box
        {10, 0, 5, 5, 5, 0},
        {1000000, 1, 1, 1000000, 1, 0},  // the height truncates to zero
    };
    for (const auto& c : cases) {
        std::int32_t width = -7, height = -7;
        FitInBox(c.imageWidth, c.imageHeight, c.boxWidth, c.boxHeight, width, height);
        EXPECT_EQ(width, c.width) << c.imageWidth << "x" << c.imageHeight << " into " << c.boxWidth
                                  << "x" << c.boxHeight;
        EXPECT_EQ(height, c.height)
            << c.imageWidth << "x" << c.imageHeight << " into " << c.boxWidth << "x" << c.boxHeight;
    }
}

TEST(FitInBoxTest, ANegativeBoxGivesBoundedValues) {
    // A zero-width image in a negative box divides by zero: the infinities are clamped to the
    // 32-bit range and NaN gives 0, instead of an undefined conversion.
    std::int32_t width = 0, height = 0;
    FitInBox(0, 5, -1, -1, width, height);  // height 5 * -1 / 0
    EXPECT_EQ(width, -1);
    EXPECT_EQ(height, INT32_MIN);
    FitInBox(0, 0, -1, -1, width, height);  // height 0 / 0, then width -1 * -1 / 0
    EXPECT_EQ(width, INT32_MAX);
    EXPECT_EQ(height, -1);
}

}  // namespace
