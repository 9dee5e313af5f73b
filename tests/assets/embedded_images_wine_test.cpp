// Tests of the embedded skin images: the committed PNG files byte for byte, their format, and their
// art.
#include "assets/embedded_images.h"

#include "skin/gdiplus_flat.h"
#include "skin/graphics_startup.h"
#include "skin/image_loading.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// Pixel rectangle, right and bottom exclusive.
struct PixelBox {
    int left, top, right, bottom;
};

struct ImageCase {
    const char* file;
    EmbeddedImage (*bytes)() noexcept;
    int width, height;
    PixelBox art;  // every pixel outside it is fully transparent
};

const ImageCase imageCases[] = {
    {"background.png", backgroundImageBytes, 567, 425, {34, 34, 533, 391}},
    {"close_normal.png", closeNormalImageBytes, 61, 35, {10, 9, 53, 27}},
    {"close_hot.png", closeHotImageBytes, 61, 35, {2, 1, 61, 35}},
    {"modify_normal.png", modifyNormalImageBytes, 134, 57, {5, 3, 130, 52}},
    // The hot and pressed glows spread over the whole image.
    {"modify_hot.png", modifyHotImageBytes, 134, 57, {0, 0, 134, 57}},
    {"modify_pressed.png", modifyPressedImageBytes, 134, 57, {0, 0, 134, 57}},
};

std::vector<unsigned char> ReadCommittedFile(const char* file) {
    std::ifstream stream(std::string(KESTRUNE_ASSETS_FOLDER) + "/" + file, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

std::uint32_t BigEndian32(const unsigned char* bytes) {
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
           (std::uint32_t{bytes[2]} << 8) | bytes[3];
}

// The decoded pixels of a PNG as 0xAARRGGBB values (not premultiplied), row by row.
struct Pixels {
    int width = 0, height = 0;
    std::vector<std::uint32_t> argb;

    std::uint32_t At(int x, int y) const { return argb[static_cast<std::size_t>(y) * width + x]; }
    int Alpha(int x, int y) const { return static_cast<int>(At(x, y) >> 24); }
    int Red(int x, int y) const { return static_cast<int>((At(x, y) >> 16) & 0xFF); }
    int Green(int x, int y) const { return static_cast<int>((At(x, y) >> 8) & 0xFF); }
    int Blue(int x, int y) const { return static_cast<int>(At(x, y) & 0xFF); }
};

void StartGdiplus() {
    static ULONG_PTR token = 0;
    if (token) return;
    GdiplusStartupInput input;
    ASSERT_EQ(GdiplusStartup(&token, &input, nullptr), Ok);
}

// Decodes with GDI+ through a stream of our own, independently of the skin's loader.
Pixels Decode(const EmbeddedImage& image) {
    Pixels pixels;
    StartGdiplus();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(image.length));
    if (!memory) return pixels;
    if (void* target = GlobalLock(memory)) {
        std::memcpy(target, image.bytes, static_cast<std::size_t>(image.length));
        GlobalUnlock(memory);
    }
    IStream* stream = nullptr;  // frees the memory on its final release
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream)) || !stream) {
        GlobalFree(memory);
        return pixels;
    }
    GpBitmap* bitmap = nullptr;
    const GpStatus status = GdipCreateBitmapFromStream(stream, &bitmap);
    if (status == Ok && bitmap) {
        UINT width = 0, height = 0;
        GdipGetImageWidth(bitmap, &width);
        GdipGetImageHeight(bitmap, &height);
        const GpRect rectangle{0, 0, static_cast<INT>(width), static_cast<INT>(height)};
        BitmapData data{};
        if (GdipBitmapLockBits(bitmap, &rectangle, ImageLockModeRead, PixelFormat32bppARGB,
                               &data) == Ok) {
            pixels.width = static_cast<int>(width);
            pixels.height = static_cast<int>(height);
            pixels.argb.resize(static_cast<std::size_t>(width) * height);
            for (UINT y = 0; y < height; ++y) {
                std::memcpy(&pixels.argb[static_cast<std::size_t>(y) * width],
                            static_cast<const unsigned char*>(data.Scan0) + y * data.Stride,
                            width * 4);
            }
            GdipBitmapUnlockBits(bitmap, &data);
        }
        GdipDisposeImage(bitmap);
    }
    stream->Release();
    return pixels;
}

TEST(EmbeddedImagesTest, EqualTheCommittedFilesByteForByte) {
    for (const ImageCase& image : imageCases) {
        SCOPED_TRACE(image.file);
        const EmbeddedImage embedded = image.bytes();
        const std::vector<unsigned char> committed = ReadCommittedFile(image.file);
        ASSERT_FALSE(committed.empty()) << "cannot read " << KESTRUNE_ASSETS_FOLDER;
        ASSERT_EQ(embedded.length, static_cast<int>(committed.size()));
        EXPECT_EQ(std::memcmp(embedded.bytes, committed.data(), committed.size()), 0);
        const ByteBuffer buffer = embedded.ToByteBuffer();
        ASSERT_EQ(buffer.Length(), embedded.length);
        EXPECT_EQ(std::memcmp(buffer.Data(), committed.data(), committed.size()), 0);
    }
}

TEST(EmbeddedImagesTest, AreEightBitRgbaNotInterlacedPngsOfTheirSize) {
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (const ImageCase& image : imageCases) {
        SCOPED_TRACE(image.file);
        const EmbeddedImage embedded = image.bytes();
        // Signature, then the IHDR chunk: length 13, type, width, height, bit depth, colour type,
        // compression, filter, interlace.
        ASSERT_GE(embedded.length, 8 + 8 + 13 + 4);
        const unsigned char* bytes = embedded.bytes;
        EXPECT_EQ(std::memcmp(bytes, signature, sizeof signature), 0);
        const unsigned char* header = bytes + 8;
        EXPECT_EQ(BigEndian32(header), 13u);
        EXPECT_EQ(std::memcmp(header + 4, "IHDR", 4), 0);
        EXPECT_EQ(BigEndian32(header + 8), static_cast<std::uint32_t>(image.width));
        EXPECT_EQ(BigEndian32(header + 12), static_cast<std::uint32_t>(image.height));
        EXPECT_EQ(header[16], 8) << "bit depth";
        EXPECT_EQ(header[17], 6) << "colour type: RGBA";
        EXPECT_EQ(header[18], 0) << "compression";
        EXPECT_EQ(header[19], 0) << "filter";
        EXPECT_EQ(header[20], 0) << "interlace";
    }
}

TEST(EmbeddedImagesTest, DecodeAtTheirSizeWithArtOnlyInsideTheirBoxes) {
    for (const ImageCase& image : imageCases) {
        SCOPED_TRACE(image.file);
        const Pixels pixels = Decode(image.bytes());
        ASSERT_EQ(pixels.width, image.width);
        ASSERT_EQ(pixels.height, image.height);
        int outsideArt = 0, visible = 0;
        for (int y = 0; y < pixels.height; ++y) {
            for (int x = 0; x < pixels.width; ++x) {
                const bool inside = x >= image.art.left && x < image.art.right &&
                                    y >= image.art.top && y < image.art.bottom;
                if (pixels.Alpha(x, y) == 0) continue;
                ++visible;
                if (!inside) ++outsideArt;
            }
        }
        EXPECT_EQ(outsideArt, 0);
        EXPECT_GT(visible, 0);
    }
}

// The skin's own loader, as the program uses it.
TEST(EmbeddedImagesTest, LoadThroughTheSkinAtTheirSize) {
    InitSkinModule();
    for (const ImageCase& image : imageCases) {
        SCOPED_TRACE(image.file);
        GpImage* loaded = LoadImageFromBytes(image.bytes().ToByteBuffer());
        ASSERT_NE(loaded, nullptr);
        UINT width = 0, height = 0;
        EXPECT_EQ(GdipGetImageWidth(loaded, &width), Ok);
        EXPECT_EQ(GdipGetImageHeight(loaded, &height), Ok);
        EXPECT_EQ(width, static_cast<UINT>(image.width));
        EXPECT_EQ(height, static_cast<UINT>(image.height));
        PixelFormat format = 0;
        GdipGetImagePixelFormat(loaded, &format);
        EXPECT_EQ(format, PixelFormat32bppARGB);
        GdipDisposeImage(loaded);
    }
}

// The background is stretched from 567 x 425 onto the 560 x 416 window.
PixelBox WindowToBackground(int left, int top, int width, int height) {
    const auto x = [](double value) { return static_cast<int>(value * 567 / 560); };
    const auto y = [](double value) { return static_cast<int>(value * 425 / 416); };
    return {x(left), y(top), x(left + width) + 1, y(top + height) + 1};
}

TEST(EmbeddedImagesTest, BackgroundHasATransparentMarginAFadingEdgeAndATranslucentBody) {
    const Pixels background = Decode(backgroundImageBytes());
    ASSERT_EQ(background.width, 567);
    ASSERT_EQ(background.height, 425);

    EXPECT_EQ(background.Alpha(0, 0), 0);
    // Where the hidden check box sits, 544..560 x 400..416 of the window.
    const PixelBox corner = WindowToBackground(544, 400, 16, 16);
    for (int y = corner.top; y < 425; ++y) {
        for (int x = corner.left; x < 567; ++x) {
            ASSERT_EQ(background.Alpha(x, y), 0) << x << "," << y;
        }
    }

    // Four lines through the panel's edge, from outside inwards: the margin, the four fading
    // pixels, then the body.
    struct EdgeLine {
        const char* name;
        int x, y, stepX, stepY;  // first pixel of the fade and the step inwards
    } lines[] = {
        {"left", 34, 212, 1, 0},
        {"right", 532, 212, -1, 0},
        {"top", 283, 34, 0, 1},
        {"bottom", 283, 390, 0, -1},
    };
    const int fade[] = {6, 36, 78, 96};
    for (const EdgeLine& line : lines) {
        SCOPED_TRACE(line.name);
        EXPECT_EQ(background.Alpha(line.x - line.stepX, line.y - line.stepY), 0);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(background.Alpha(line.x + i * line.stepX, line.y + i * line.stepY), fade[i]);
        }
        const int body = background.Alpha(line.x + 4 * line.stepX, line.y + 4 * line.stepY);
        EXPECT_GE(body, 166);
        EXPECT_LE(body, 234);
    }

    // The body, away from the rounded corners: translucent everywhere, text and icons included.
    int outOfRange = 0;
    for (int y = 38; y < 387; ++y) {
        for (int x = 38; x < 529; ++x) {
            const bool clearOfCorners = (x >= 50 && x < 517) || (y >= 50 && y < 375);
            if (!clearOfCorners) continue;
            const int alpha = background.Alpha(x, y);
            if (alpha < 166 || alpha > 234) ++outOfRange;
        }
    }
    EXPECT_EQ(outOfRange, 0);
}

// The controls are drawn over the background: what lies under them is plain (no text or icon),
// so nothing of the art is cut by a control. The close button reaches over the panel's rounded
// corner, where the alpha fades: there only the colour is plain.
TEST(EmbeddedImagesTest, BackgroundIsPlainUnderTheControls) {
    const Pixels background = Decode(backgroundImageBytes());
    ASSERT_EQ(background.width, 567);
    struct Control {
        const char* name;
        int left, top, width, height;
        bool overTheEdge;
    } controls[] = {
        {"PathBox", 201, 187, 215, 30, false},        {"PatternBox", 201, 227, 215, 30, false},
        {"ReplacementBox", 201, 267, 215, 30, false}, {"ModifyButton", 296, 294, 141, 58, false},
        {"CloseButton", 458, 33, 61, 35, true},
    };
    for (const Control& control : controls) {
        SCOPED_TRACE(control.name);
        const PixelBox box =
            WindowToBackground(control.left, control.top, control.width, control.height);
        // Alpha, red, green, blue.
        int lowest[4] = {255, 255, 255, 255}, highest[4] = {0, 0, 0, 0};
        for (int y = box.top; y < box.bottom; ++y) {
            for (int x = box.left; x < box.right; ++x) {
                const int alpha = background.Alpha(x, y);
                if (control.overTheEdge && alpha < 166) continue;
                const int channels[4] = {alpha, background.Red(x, y), background.Green(x, y),
                                         background.Blue(x, y)};
                for (int c = control.overTheEdge ? 1 : 0; c < 4; ++c) {
                    lowest[c] = std::min(lowest[c], channels[c]);
                    highest[c] = std::max(highest[c], channels[c]);
                }
            }
        }
        for (int c = control.overTheEdge ? 1 : 0; c < 4; ++c) {
            EXPECT_LE(highest[c] - lowest[c], 20) << "channel " << c;
        }
    }
}

TEST(EmbeddedImagesTest, ButtonStatesShowTheirColours) {
    // The close button: a pale translucent tab, then an opaque orange-red bar.
    const Pixels closeNormal = Decode(closeNormalImageBytes());
    const Pixels closeHot = Decode(closeHotImageBytes());
    ASSERT_EQ(closeNormal.width, 61);
    ASSERT_EQ(closeHot.width, 61);
    EXPECT_GT(closeNormal.Alpha(14, 17), 0);
    EXPECT_LT(closeNormal.Alpha(14, 17), 255);
    EXPECT_GT(closeNormal.Red(14, 17), 180);
    for (int x = 2; x <= 60; ++x) EXPECT_GT(closeHot.Alpha(x, 17), 200) << x;
    for (int y = 1; y <= 34; ++y) EXPECT_GT(closeHot.Alpha(8, y), 200) << y;
    EXPECT_GT(closeHot.Red(8, 17), 200);
    EXPECT_LT(closeHot.Blue(8, 17), 100);
    EXPECT_GT(closeHot.Red(31, 18), 240) << "the white x";
    EXPECT_GT(closeHot.Blue(31, 18), 240) << "the white x";

    // The modify button: the same light button; its border white, blue when hot, red when pressed.
    const Pixels normal = Decode(modifyNormalImageBytes());
    const Pixels hot = Decode(modifyHotImageBytes());
    const Pixels pressed = Decode(modifyPressedImageBytes());
    ASSERT_EQ(normal.width, 134);
    ASSERT_EQ(hot.width, 134);
    ASSERT_EQ(pressed.width, 134);
    const int borderX = 40, borderY = 3;
    EXPECT_GT(normal.Red(borderX, borderY), 230);
    EXPECT_GT(normal.Blue(borderX, borderY), 230);
    EXPECT_GT(hot.Blue(borderX, borderY), hot.Red(borderX, borderY) + 100);
    EXPECT_GT(pressed.Red(borderX, borderY), pressed.Blue(borderX, borderY) + 100);
    // Inside, a light translucent face.
    for (const Pixels* state : {&normal, &hot, &pressed}) {
        EXPECT_GT(state->Alpha(20, 27), 150);
        EXPECT_LT(state->Alpha(20, 27), 255);
        EXPECT_GT(state->Red(20, 27), 190);
    }
}

}  // namespace
