// The patch's byte and text operations: text to bytes, the first-occurrence search, the replacement.
#pragma once

#include "skin/byte_buffer.h"

#include <cstdint>

// The bytes of an ANSI text without its terminator; an empty (or null) text gives an empty buffer.
ByteBuffer TextToBytes(const char* text);

// The number of bytes of a text, not of characters (a double-byte character counts 2).
std::int32_t TextByteLength(const char* text);

// 1-based position of the leftmost occurrence of `pattern` in `data`; -1 when the pattern is empty,
// longer than the data, or absent. Bytes are compared exactly.
std::int32_t FindBytes(const ByteBuffer& data, const ByteBuffer& pattern);

// A new buffer: data before offset = position - 1, then `replacement`, then data from offset + count
// on; offset and count are limited to the data. Empty (with *outOfMemory set, if given) when the
// result cannot be allocated.
ByteBuffer ReplaceBytes(const ByteBuffer& data, std::int32_t position, std::int32_t count,
                        const ByteBuffer& replacement, bool* outOfMemory = nullptr);
