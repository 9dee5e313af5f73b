// ANSI text to UTF-16, image bytes to GDI+ images, and the global-memory stream behind them.
#include "skin/image_loading.h"

#include "skin/graphics_startup.h"

#include <cstring>
#include <limits>

ByteBuffer ToWide(const char* text) noexcept {
    ByteBuffer wide;
    if (!text) return wide;
    // The count includes the terminator, so a valid text needs at least one unit.
    const int units = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (units <= 0 || units > std::numeric_limits<std::int32_t>::max() / 2) return wide;
    if (!wide.Allocate(units * 2)) return wide;
    std::memset(wide.Data(), 0, static_cast<std::size_t>(wide.Length()));
    if (MultiByteToWideChar(CP_ACP, 0, text, -1, reinterpret_cast<wchar_t*>(wide.Data()), units) <=
        0) {
        wide.Free();
    }
    return wide;
}

GpImage* LoadImageFromBytes(const ByteBuffer& bytes) noexcept {
    HGlobalStream holder;
    IStream* stream = holder.CreateStream(bytes, true);
    if (!stream) return nullptr;
    GpImage* image = nullptr;
    if (GdipLoadImageFromStream(stream, &image) != Ok || !image) {
        // Nothing will read this stream: give it and its block back.
        stream->Release();
        return nullptr;
    }
    if (frameDimensionTime.Length() == static_cast<std::int32_t>(sizeof(GUID))) {
        GdipImageSelectActiveFrame(image, reinterpret_cast<const GUID*>(frameDimensionTime.Data()),
                                   0);
    }
    // GDI+ may read the stream again whenever it decodes the image: the block and our stream
    // reference stay alive with the image, to the end of the process.
    holder.ReleaseMemory();
    return image;
}

HGlobalStream::~HGlobalStream() {
    HGlobalStream::FreeMemory();
}

HGlobalStream::HGlobalStream(const HGlobalStream& other) noexcept
    : memory_(other.memory_), ownsMemory_(false), stream_(other.stream_) {}

void HGlobalStream::FreeMemory() noexcept {
    if (!ownsMemory_) return;
    if (memory_) GlobalFree(memory_);
    memory_ = nullptr;
    ownsMemory_ = false;
}

IStream* HGlobalStream::CreateStream(const ByteBuffer& bytes, bool fromBytes) noexcept {
    FreeMemory();
    stream_ = nullptr;
    if (fromBytes) {
        const auto length = static_cast<SIZE_T>(bytes.Length());
        HGLOBAL memory = GlobalAlloc(GMEM_FIXED, length);
        // Without a block CreateStreamOnHGlobal would make one of its own that nobody frees.
        if (!memory) return nullptr;
        if (void* target = GlobalLock(memory)) {
            if (length > 0) std::memcpy(target, bytes.Data(), length);
            GlobalUnlock(memory);
        }
        memory_ = memory;
        ownsMemory_ = true;
        IStream* stream = nullptr;
        if (FAILED(CreateStreamOnHGlobal(memory, FALSE, &stream))) stream = nullptr;
        stream_ = stream;
    } else {
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, 0);
        if (!memory) return nullptr;
        IStream* stream = nullptr;
        if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream)) || !stream) {
            GlobalFree(memory);
            return nullptr;
        }
        // The stream frees the block on its final release; we keep the handle only to read it.
        memory_ = memory;
        ownsMemory_ = false;
        stream_ = stream;
    }
    return stream_;
}

IStream* HGlobalStream::GetStream() const noexcept {
    return stream_;
}

std::size_t HGlobalStream::GetSize() const noexcept {
    return memory_ ? static_cast<std::size_t>(GlobalSize(memory_)) : 0;
}

ByteBuffer HGlobalStream::ReadBytes() const noexcept {
    ByteBuffer bytes;
    const std::size_t size = GetSize();
    if (size == 0 || size > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        return bytes;
    }
    const void* source = GlobalLock(memory_);
    if (!source) return bytes;
    if (bytes.Allocate(static_cast<std::int32_t>(size))) std::memcpy(bytes.Data(), source, size);
    GlobalUnlock(memory_);
    return bytes;
}

HGLOBAL HGlobalStream::ReleaseMemory() noexcept {
    ownsMemory_ = false;
    return memory_;
}
