// The patch's byte and text operations.
#include "app/byte_operations.h"

#include "app/byte_search.h"

#include <algorithm>
#include <cstring>

ByteBuffer TextToBytes(const char* text) {
    ByteBuffer bytes;
    if (text) bytes.Assign(text, TextByteLength(text));
    return bytes;
}

std::int32_t TextByteLength(const char* text) {
    if (!text) return 0;
    return static_cast<std::int32_t>(std::min<std::size_t>(std::strlen(text), INT32_MAX));
}

std::int32_t FindBytes(const ByteBuffer& data, const ByteBuffer& pattern) {
    if (pattern.IsEmpty() || pattern.Length() > data.Length()) return -1;
    const std::int64_t index =
        FindFirstOccurrence(data.Data(), static_cast<std::size_t>(data.Length()), pattern.Data(),
                            static_cast<std::size_t>(pattern.Length()));
    return index < 0 ? -1 : static_cast<std::int32_t>(index + 1);
}

ByteBuffer ReplaceBytes(const ByteBuffer& data, std::int32_t position, std::int32_t count,
                        const ByteBuffer& replacement, bool* outOfMemory) {
    const std::int64_t length = data.Length();
    const std::int64_t offset = std::clamp<std::int64_t>(std::int64_t{position} - 1, 0, length);
    const std::int64_t removed = std::clamp<std::int64_t>(count, 0, length - offset);
    const std::int64_t resultLength = length - removed + replacement.Length();

    ByteBuffer result;
    const bool fits = resultLength <= INT32_MAX &&
                      result.Allocate(static_cast<std::int32_t>(resultLength));
    if (outOfMemory) *outOfMemory = !fits;
    if (!fits) return result;

    std::uint8_t* out = result.Data();
    if (offset > 0) out = std::copy_n(data.Data(), offset, out);
    if (!replacement.IsEmpty()) out = std::copy_n(replacement.Data(), replacement.Length(), out);
    if (length - offset - removed > 0)
        std::copy_n(data.Data() + offset + removed, length - offset - removed, out);
    return result;
}
