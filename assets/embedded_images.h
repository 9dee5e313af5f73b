// The six skin images, built into the program as constant PNG bytes (the build writes their
// arrays).
#pragma once

#include "skin/byte_buffer.h"

// The bytes of one PNG file as the program holds them: static data, never freed.
struct EmbeddedImage {
    const unsigned char* bytes;
    int length;

    // A copy in a ByteBuffer, the form the skin's loaders take; empty if memory is short.
    ByteBuffer ToByteBuffer() const noexcept {
        ByteBuffer buffer;
        buffer.Assign(bytes, length);
        return buffer;
    }
};

// The main window's background, 567 x 425, drawn stretched over the 560 x 416 window.
EmbeddedImage backgroundImageBytes() noexcept;
// The close button, 61 x 35: its normal image, and the one for both its hot and pressed states.
EmbeddedImage closeNormalImageBytes() noexcept;
EmbeddedImage closeHotImageBytes() noexcept;
// The modify button, 134 x 57, in its normal, hot and pressed states.
EmbeddedImage modifyNormalImageBytes() noexcept;
EmbeddedImage modifyHotImageBytes() noexcept;
EmbeddedImage modifyPressedImageBytes() noexcept;
