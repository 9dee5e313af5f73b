// ANSI text to UTF-16, image bytes to GDI+ images, and the global-memory stream behind them.
#pragma once

#include "skin/byte_buffer.h"
#include "skin/gdiplus_flat.h"

#include <cstddef>

// The text (zero-terminated, in the ANSI code page) as UTF-16 with one zero unit at the end: 2
// bytes per unit, so the character count is Length() / 2 - 1. A text the code page rejects (or a
// null pointer) gives an empty buffer.
ByteBuffer ToWide(const char* text) noexcept;

// Image file bytes (PNG, GIF, ...) as a GDI+ image with frame 0 of its time dimension selected, or
// none. The caller owns the image. The memory block and stream that GDI+ reads from stay alive for
// as long as the image may be used: they are never released (images are kept to the end of the
// process).
GpImage* LoadImageFromBytes(const ByteBuffer& bytes) noexcept;

// A global memory block behind an IStream.
// In bytes mode the object owns the block and frees it (FreeMemory, destruction, next
// CreateStream); in empty mode the stream owns it and frees it on its final release. The stream
// reference that CreateStream returns is the caller's: the object never releases it.
class HGlobalStream {
  public:
    HGlobalStream() noexcept = default;
    // Frees the block the object owns.
    virtual ~HGlobalStream();
    // The copy shares the block and the stream but never frees the block: only the original does.
    HGlobalStream(const HGlobalStream& other) noexcept;
    HGlobalStream& operator=(const HGlobalStream&) = delete;

    // Frees the block if the object owns it and forgets it; the stream pointer stays.
    virtual void FreeMemory() noexcept;
    // Frees the block held before, then: bytes mode (fromBytes) copies the bytes into a new fixed
    // block and opens a stream over it that leaves the block alone; empty mode opens a growable
    // stream over a new empty block, which the stream frees. Returns the stream, or none.
    virtual IStream* CreateStream(const ByteBuffer& bytes, bool fromBytes) noexcept;
    virtual IStream* GetStream() const noexcept;
    // GlobalSize of the block (0 without one).
    virtual std::size_t GetSize() const noexcept;
    // A copy of the block's GetSize() bytes (empty without a block).
    virtual ByteBuffer ReadBytes() const noexcept;

    // The block, for reading; still owned as before.
    HGLOBAL GetMemory() const noexcept { return memory_; }
    // Gives up ownership of the block (it is handed to whoever keeps the stream alive).
    HGLOBAL ReleaseMemory() noexcept;

  private:
    HGLOBAL memory_ = nullptr;
    bool ownsMemory_ = false;
    IStream* stream_ = nullptr;  // we don't own this reference
};
