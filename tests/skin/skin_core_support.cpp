// Helpers for the skin tests: start-up, image bytes, images of known pixels, windows, a surface.
#include "tests/skin/skin_core_support.h"

#include "skin/graphics_startup.h"

#include <array>
#include <cstring>
#include <string>

namespace skin_core_test {

void EnsureSkinModule() {
    static bool started = false;
    if (started) return;
    started = true;
    InitSkinModule();
}

namespace {

class ByteWriter {
  public:
    void Byte(std::uint8_t value) { bytes_.push_back(value); }
    void Bytes(const void* data, std::size_t length) {
        const auto* begin = static_cast<const std::uint8_t*>(data);
        bytes_.insert(bytes_.end(), begin, begin + length);
    }
    void Text(const char* text) { Bytes(text, std::strlen(text)); }
    void BigEndian32(std::uint32_t value) {
        for (int shift = 24; shift >= 0; shift -= 8)
            Byte(static_cast<std::uint8_t>(value >> shift));
    }
    void LittleEndian16(std::uint16_t value) {
        Byte(static_cast<std::uint8_t>(value));
        Byte(static_cast<std::uint8_t>(value >> 8));
    }
    std::vector<std::uint8_t>& bytes() { return bytes_; }
    ByteBuffer ToBuffer() const {
        ByteBuffer buffer;
        buffer.Assign(bytes_.data(), static_cast<std::int32_t>(bytes_.size()));
        return buffer;
    }

  private:
    std::vector<std::uint8_t> bytes_;
};

std::uint32_t Crc32(const std::uint8_t* data, std::size_t length) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PngChunk(ByteWriter& png, const char* type, const std::vector<std::uint8_t>& data) {
    png.BigEndian32(static_cast<std::uint32_t>(data.size()));
    std::vector<std::uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    png.Bytes(typed.data(), typed.size());
    png.BigEndian32(Crc32(typed.data(), typed.size()));
}

}  // namespace

ByteBuffer EncodePng(int width, int height, const std::vector<std::uint32_t>& pixels) {
    ByteWriter png;
    const std::uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    png.Bytes(signature, sizeof(signature));

    ByteWriter header;
    header.BigEndian32(static_cast<std::uint32_t>(width));
    header.BigEndian32(static_cast<std::uint32_t>(height));
    const std::uint8_t rest[] = {8, 6, 0, 0, 0};  // 8 bits, RGBA, deflate, no filter, no interlace
    header.Bytes(rest, sizeof(rest));
    PngChunk(png, "IHDR", header.bytes());

    std::vector<std::uint8_t> raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // filter: none
        for (int x = 0; x < width; ++x) {
            const std::uint32_t argb = pixels[static_cast<std::size_t>(y * width + x)];
            raw.push_back(static_cast<std::uint8_t>(argb >> 16));
            raw.push_back(static_cast<std::uint8_t>(argb >> 8));
            raw.push_back(static_cast<std::uint8_t>(argb));
            raw.push_back(static_cast<std::uint8_t>(argb >> 24));
        }
    }
    // zlib stream of stored blocks.
    ByteWriter zlib;
    zlib.Byte(0x78);
    zlib.Byte(0x01);
    std::size_t offset = 0;
    do {
        const std::size_t length = std::min<std::size_t>(65535, raw.size() - offset);
        zlib.Byte(offset + length == raw.size() ? 1 : 0);
        zlib.LittleEndian16(static_cast<std::uint16_t>(length));
        zlib.LittleEndian16(static_cast<std::uint16_t>(~length));
        zlib.Bytes(raw.data() + offset, length);
        offset += length;
    } while (offset < raw.size());
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t value : raw) {
        a = (a + value) % 65521;
        b = (b + a) % 65521;
    }
    zlib.BigEndian32((b << 16) | a);
    PngChunk(png, "IDAT", zlib.bytes());
    PngChunk(png, "IEND", {});
    return png.ToBuffer();
}

ByteBuffer EncodeAnimatedGif(int width, int height, std::uint32_t firstColor,
                             std::uint32_t secondColor, int frames) {
    ByteWriter gif;
    gif.Text("GIF89a");
    gif.LittleEndian16(static_cast<std::uint16_t>(width));
    gif.LittleEndian16(static_cast<std::uint16_t>(height));
    gif.Byte(0x80);  // a global table of two colours
    gif.Byte(0);     // background colour index
    gif.Byte(0);     // aspect
    for (std::uint32_t color : {firstColor, secondColor}) {
        gif.Byte(static_cast<std::uint8_t>(color >> 16));
        gif.Byte(static_cast<std::uint8_t>(color >> 8));
        gif.Byte(static_cast<std::uint8_t>(color));
    }
    // Loop forever.
    const std::uint8_t loop[] = {0x21, 0xFF, 0x0B, 'N', 'E',  'T',  'S',  'C',  'A', 'P',
                                 'E',  '2',  '.',  '0', 0x03, 0x01, 0x00, 0x00, 0x00};
    gif.Bytes(loop, sizeof(loop));
    for (int frame = 0; frame < frames; ++frame) {
        const std::uint8_t control[] = {0x21, 0xF9, 0x04, 0x04, 10, 0, 0, 0};  // keep, 100 ms
        gif.Bytes(control, sizeof(control));
        gif.Byte(0x2C);
        gif.LittleEndian16(0);
        gif.LittleEndian16(0);
        gif.LittleEndian16(static_cast<std::uint16_t>(width));
        gif.LittleEndian16(static_cast<std::uint16_t>(height));
        gif.Byte(0);  // no local table, not interlaced
        gif.Byte(2);  // LZW minimum code size
        // 3-bit codes, a clear code before every two pixels so that the code width never grows.
        std::vector<std::uint8_t> packed;
        std::uint32_t accumulator = 0;
        int bits = 0;
        auto emit = [&](std::uint32_t code) {
            accumulator |= code << bits;
            bits += 3;
            while (bits >= 8) {
                packed.push_back(static_cast<std::uint8_t>(accumulator));
                accumulator >>= 8;
                bits -= 8;
            }
        };
        const std::uint32_t index = static_cast<std::uint32_t>(frame % 2);
        const int count = width * height;
        for (int pixel = 0; pixel < count; ++pixel) {
            if (pixel % 2 == 0) emit(4);
            emit(index);
        }
        emit(5);
        if (bits > 0) packed.push_back(static_cast<std::uint8_t>(accumulator));
        for (std::size_t offset = 0; offset < packed.size(); offset += 255) {
            const std::size_t length = std::min<std::size_t>(255, packed.size() - offset);
            gif.Byte(static_cast<std::uint8_t>(length));
            gif.Bytes(packed.data() + offset, length);
        }
        gif.Byte(0);
    }
    gif.Byte(0x3B);
    return gif.ToBuffer();
}

ScopedGpImage MakeImage(int width, int height, const std::function<ARGB(int, int)>& colorAt) {
    GpBitmap* bitmap = nullptr;
    GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &bitmap);
    ScopedGpImage image(bitmap);
    if (!bitmap) return image;
    GpRect all(0, 0, width, height);
    BitmapData data{};
    if (GdipBitmapLockBits(bitmap, &all, ImageLockModeWrite, PixelFormat32bppARGB, &data) == Ok) {
        for (int y = 0; y < height; ++y) {
            auto* row = reinterpret_cast<ARGB*>(static_cast<std::uint8_t*>(data.Scan0) +
                                                static_cast<std::ptrdiff_t>(y) * data.Stride);
            for (int x = 0; x < width; ++x) row[x] = colorAt(x, y);
        }
        GdipBitmapUnlockBits(bitmap, &data);
    }
    return image;
}

ScopedGpImage MakeSolidImage(int width, int height, ARGB color) {
    return MakeImage(width, height, [color](int, int) { return color; });
}

ARGB ImagePixel(GpImage* image, int x, int y) {
    ARGB color = 0;
    GdipBitmapGetPixel(static_cast<GpBitmap*>(image), x, y, &color);
    return color;
}

ScopedWindow CreateTopLevelWindow(int clientWidth, int clientHeight) {
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRect(&frame, style, FALSE);
    return ScopedWindow(CreateWindowExA(0, "STATIC", "skin test", style, 150, 120,
                                        frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                        nullptr, GetModuleHandleA(nullptr), nullptr));
}

HWND CreateChildWindow(HWND parent, const char* className, int x, int y, int width, int height,
                       DWORD extraStyle, const char* text) {
    return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | extraStyle, x, y, width,
                           height, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
}

Composite::Composite(int width, int height, ARGB background)
    : width_(width), height_(height), bitmap_(MakeSolidImage(width, height, background)) {
    if (bitmap_) GdipGetImageGraphicsContext(bitmap_.get(), graphics_.put());
}

ARGB Composite::Pixel(int x, int y) const {
    if (graphics_) GdipFlush(graphics_.get(), FlushIntentionSync);
    return ImagePixel(bitmap_.get(), x, y);
}

int Composite::CountOtherThan(int left, int top, int right, int bottom, ARGB color) const {
    int count = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) count += Pixel(x, y) != color ? 1 : 0;
    }
    return count;
}

}  // namespace skin_core_test
