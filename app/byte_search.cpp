// The leftmost-occurrence byte search behind FindBytes.
#include "app/byte_search.h"

#include <cstring>

// First-byte scan with a full comparison at each candidate.
std::int64_t FindFirstOccurrence(const std::uint8_t* haystack, std::size_t haystackLength,
                                 const std::uint8_t* needle, std::size_t needleLength) {
    if (needleLength == 0) return 0;
    if (needleLength > haystackLength) return -1;
    for (std::size_t i = 0; i + needleLength <= haystackLength; ++i) {
        if (haystack[i] == needle[0] && std::memcmp(haystack + i, needle, needleLength) == 0)
            return static_cast<std::int64_t>(i);
    }
    return -1;
}
