// Tests of ANSI-to-UTF-16 conversion, image loading from bytes and the global-memory stream.
#include "skin/image_loading.h"

#include "skin/graphics_startup.h"
#include "tests/skin/skin_core_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using skin_core_test::EncodeAnimatedGif;
using skin_core_test::EncodePng;
using skin_core_test::ImagePixel;
using skin_core_test::SkinModuleTest;

std::vector<std::uint16_t> Units(const ByteBuffer& wide) {
    std::vector<std::uint16_t> units(static_cast<std::size_t>(wide.Length()) / 2);
    if (!units.empty()) std::memcpy(units.data(), wide.Data(), units.size() * 2);
    return units;
}

// The results depend on the ANSI code page: this suite runs in 936 and in 1252.
TEST(ToWideCodePageTest, GivesTheUnitsAndOneZeroUnit) {
    struct {
        const char* text;
        std::vector<std::uint16_t> in936;
        std::vector<std::uint16_t> in1252;
    } cases[] = {
        {"", {0}, {0}},
        {"abc", {'a', 'b', 'c', 0}, {'a', 'b', 'c', 0}},
        // "宋体" in code page 936: two double-byte characters.
        {"\xCB\xCE\xCC\xE5", {0x5B8B, 0x4F53, 0}, {0xCB, 0xCE, 0xCC, 0xE5, 0}},
        // A GBK lead byte with an ASCII trail byte, then plain ASCII.
        {"\x81\x40x", {0x4E02, 'x', 0}, {0x81, 0x40, 'x', 0}},
    };
    const UINT codePage = GetACP();
    ASSERT_TRUE(codePage == 936 || codePage == 1252) << codePage;
    for (const auto& c : cases) {
        const ByteBuffer wide = ToWide(c.text);
        const auto& expected = codePage == 936 ? c.in936 : c.in1252;
        EXPECT_EQ(wide.Length(), static_cast<std::int32_t>(expected.size() * 2)) << c.text;
        EXPECT_EQ(Units(wide), expected) << c.text;
    }
}

TEST(ToWideCodePageTest, SizesOfTheEmptyTextAndOfAbc) {
    EXPECT_EQ(ToWide("").Length(), 2);
    EXPECT_EQ(ToWide("abc").Length(), 8);
}

TEST(ToWideTest, NoTextGivesAnEmptyBuffer) {
    EXPECT_TRUE(ToWide(nullptr).IsEmpty());
}

class LoadImageFromBytesTest : public SkinModuleTest {};

TEST_F(LoadImageFromBytesTest, APngWithAlphaLoadsWithItsSizeAndPixels) {
    const int width = 7, height = 5;
    std::vector<std::uint32_t> pixels(width * height, 0x80FF0000u);  // half-transparent red
    pixels[0] = 0xFF0000FFu;                                         // opaque blue corner
    pixels[width * height - 1] = 0x00000000u;                        // transparent corner
    GpImage* image = LoadImageFromBytes(EncodePng(width, height, pixels));
    ASSERT_NE(image, nullptr);
    UINT imageWidth = 0, imageHeight = 0;
    GdipGetImageWidth(image, &imageWidth);
    GdipGetImageHeight(image, &imageHeight);
    EXPECT_EQ(imageWidth, 7u);
    EXPECT_EQ(imageHeight, 5u);
    PixelFormat format = 0;
    GdipGetImagePixelFormat(image, &format);
    EXPECT_TRUE(IsAlphaPixelFormat(format)) << std::hex << format;
    EXPECT_EQ(ImagePixel(image, 0, 0), 0xFF0000FFu);
    EXPECT_EQ(ImagePixel(image, 3, 2), 0x80FF0000u);
    EXPECT_EQ(ImagePixel(image, width - 1, height - 1) >> 24, 0u);
    GdipDisposeImage(image);  // the test's own image; its block is left to the process's end
}

TEST_F(LoadImageFromBytesTest, AnAnimatedGifComesBackAtItsFirstFrame) {
    const ByteBuffer bytes = EncodeAnimatedGif(6, 4, 0xFF0000, 0x0000FF, 2);
    GpImage* image = LoadImageFromBytes(bytes);
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(frameDimensionTime.Length(), 16);
    const auto* time = reinterpret_cast<const GUID*>(frameDimensionTime.Data());
    UINT frames = 0;
    EXPECT_EQ(GdipImageGetFrameCount(image, time, &frames), Ok);
    EXPECT_EQ(frames, 2u);
    EXPECT_EQ(ImagePixel(image, 0, 0), 0xFFFF0000u) << "first frame: red";
    EXPECT_EQ(ImagePixel(image, 5, 3), 0xFFFF0000u);
    // The second frame is really there, so the red above is the first frame's choice.
    EXPECT_EQ(GdipImageSelectActiveFrame(image, time, 1), Ok);
    EXPECT_EQ(ImagePixel(image, 0, 0), 0xFF0000FFu) << "second frame: blue";
    GdipDisposeImage(image);
}

TEST_F(LoadImageFromBytesTest, BytesThatAreNoImageGiveNone) {
    struct {
        const char* name;
        ByteBuffer bytes;
    } cases[] = {
        {"empty", ByteBuffer()},
        {"text", ByteBuffer::FromText("this is some text, not an image\r\n")},
        {"a PNG signature alone", ByteBuffer::FromText("\x89PNG\r\n\x1A\n")},
    };
    for (const auto& c : cases) EXPECT_EQ(LoadImageFromBytes(c.bytes), nullptr) << c.name;
}

// True while the block is a live allocation. A fixed block is a heap pointer: once freed, the
// heap no longer validates it, unless the same address was handed out again (checked by callers).
bool IsLiveFixedBlock(HGLOBAL memory) {
    return HeapValidate(GetProcessHeap(), 0, memory) != FALSE;
}

TEST(HGlobalStreamTest, BytesModeCopiesTheBytesIntoAFixedBlock) {
    const ByteBuffer bytes = ByteBuffer::FromText(std::string_view("abc\0def", 7));
    HGlobalStream holder;
    IStream* stream = holder.CreateStream(bytes, true);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(holder.GetStream(), stream);
    EXPECT_EQ(holder.GetSize(), 7u);
    EXPECT_EQ(GlobalFlags(holder.GetMemory()) & GMEM_INVALID_HANDLE, 0u);
    EXPECT_EQ(holder.ReadBytes().View(), bytes.View());

    // The stream reads the same bytes.
    char read[16] = {};
    ULONG count = 0;
    EXPECT_EQ(stream->Read(read, sizeof(read), &count), S_OK);
    EXPECT_EQ(std::string_view(read, count), bytes.View());
    stream->Release();  // the caller's reference; the block stays the object's
    EXPECT_TRUE(IsLiveFixedBlock(holder.GetMemory()));
}

TEST(HGlobalStreamTest, ASecondCreateStreamFreesTheFirstBlock) {
    HGlobalStream holder;
    IStream* first = holder.CreateStream(ByteBuffer::FromText("first block"), true);
    ASSERT_NE(first, nullptr);
    HGLOBAL firstMemory = holder.GetMemory();
    ASSERT_TRUE(IsLiveFixedBlock(firstMemory));
    IStream* second = holder.CreateStream(ByteBuffer::FromText("the second, longer block"), true);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_EQ(holder.ReadBytes().View(), "the second, longer block");
    // Two live blocks never share an address, so a reused address proves the free too.
    if (holder.GetMemory() != firstMemory) {
        EXPECT_FALSE(IsLiveFixedBlock(firstMemory));
    }
    second->Release();
    first->Release();  // a stream over a freed block must only be released, never read
}

TEST(HGlobalStreamTest, DestructionAndFreeMemoryFreeTheBlock) {
    HGLOBAL memory = nullptr;
    IStream* stream = nullptr;
    {
        HGlobalStream holder;
        stream = holder.CreateStream(ByteBuffer::FromText("bytes"), true);
        memory = holder.GetMemory();
        ASSERT_TRUE(IsLiveFixedBlock(memory));
    }
    EXPECT_FALSE(IsLiveFixedBlock(memory));
    stream->Release();

    HGlobalStream holder;
    stream = holder.CreateStream(ByteBuffer::FromText("bytes"), true);
    memory = holder.GetMemory();
    holder.FreeMemory();
    EXPECT_FALSE(IsLiveFixedBlock(memory));
    EXPECT_EQ(holder.GetMemory(), nullptr);
    EXPECT_EQ(holder.GetSize(), 0u);
    EXPECT_TRUE(holder.ReadBytes().IsEmpty());
    EXPECT_EQ(holder.GetStream(), stream) << "the stream pointer stays";
    holder.FreeMemory();  // twice is harmless
    stream->Release();
}

TEST(HGlobalStreamTest, EmptyBytesStillGiveABlockAndAStream) {
    HGlobalStream holder;
    IStream* stream = holder.CreateStream(ByteBuffer(), true);
    ASSERT_NE(stream, nullptr);
    ASSERT_TRUE(IsLiveFixedBlock(holder.GetMemory()));
    // The size is the block's as the heap reports it: Wine rounds a zero-byte fixed block up to 1.
    EXPECT_EQ(holder.GetSize(), GlobalSize(holder.GetMemory()));
    EXPECT_LE(holder.GetSize(), 1u);
    EXPECT_EQ(holder.ReadBytes().Length(), static_cast<std::int32_t>(holder.GetSize()));
    stream->Release();
}

TEST(HGlobalStreamTest, EmptyModeGivesAGrowableStreamThatOwnsItsBlock) {
    HGlobalStream holder;
    IStream* stream = holder.CreateStream(ByteBuffer::FromText("ignored"), false);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(holder.GetSize(), 0u);
    ULONG written = 0;
    EXPECT_EQ(stream->Write("grown", 5, &written), S_OK);
    EXPECT_EQ(written, 5u);
    EXPECT_EQ(holder.GetSize(), 5u);
    EXPECT_EQ(holder.ReadBytes().View(), "grown");
    HGLOBAL memory = holder.GetMemory();
    holder.FreeMemory();  // not the object's to free
    EXPECT_EQ(GlobalFlags(memory) & GMEM_INVALID_HANDLE, 0u);
    EXPECT_EQ(holder.GetMemory(), memory);
    // The stream's final release frees its moveable block.
    EXPECT_EQ(stream->Release(), 0u);
    EXPECT_EQ(GlobalFlags(memory), static_cast<UINT>(GMEM_INVALID_HANDLE));
}

TEST(HGlobalStreamTest, ACopySharesTheBlockButNeverFreesIt) {
    HGlobalStream original;
    IStream* stream = original.CreateStream(ByteBuffer::FromText("shared"), true);
    ASSERT_NE(stream, nullptr);
    {
        HGlobalStream copy(original);
        EXPECT_EQ(copy.GetMemory(), original.GetMemory());
        EXPECT_EQ(copy.GetStream(), stream);
        EXPECT_EQ(copy.ReadBytes().View(), "shared");
        copy.FreeMemory();
    }
    EXPECT_TRUE(IsLiveFixedBlock(original.GetMemory()));
    EXPECT_EQ(original.ReadBytes().View(), "shared");
    stream->Release();
}

}  // namespace
