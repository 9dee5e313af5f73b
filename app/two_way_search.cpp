// Two-Way (Crochemore-Perrin) search: leftmost occurrence, linear time, constant extra memory.
#include "app/two_way_search.h"

#include <algorithm>

namespace {

// The needle is cut at a critical factorization needle = left | right; `leftEnd` is the index of
// the last byte of the left part (-1 when it is empty) and `period` the period of the right part.
struct Factorization {
    std::ptrdiff_t leftEnd;
    std::ptrdiff_t period;
};

// Start (minus one) and period of the lexicographically maximal suffix of the needle, for the byte
// order or, with `reversedOrder`, its reverse.
Factorization MaximalSuffix(const std::uint8_t* needle, std::ptrdiff_t length, bool reversedOrder) {
    std::ptrdiff_t suffixStart = -1;  // the best suffix so far begins at suffixStart + 1
    std::ptrdiff_t candidate = 0;     // a competing suffix begins at candidate + 1
    std::ptrdiff_t offset = 1;
    std::ptrdiff_t period = 1;
    while (candidate + offset < length) {
        const std::uint8_t next = needle[candidate + offset];
        const std::uint8_t best = needle[suffixStart + offset];
        if (reversedOrder ? next > best : next < best) {
            // The competing suffix is smaller: everything up to here belongs to one period.
            candidate += offset;
            offset = 1;
            period = candidate - suffixStart;
        } else if (next == best) {
            if (offset != period) {
                ++offset;
            } else {
                candidate += period;
                offset = 1;
            }
        } else {
            // The competing suffix is greater: it becomes the best one.
            suffixStart = candidate;
            candidate = suffixStart + 1;
            offset = period = 1;
        }
    }
    return {suffixStart, period};
}

// The later of the two maximal suffixes gives a critical factorization.
Factorization CriticalFactorization(const std::uint8_t* needle, std::ptrdiff_t length) {
    const Factorization forward = MaximalSuffix(needle, length, false);
    const Factorization reversed = MaximalSuffix(needle, length, true);
    return forward.leftEnd > reversed.leftEnd ? forward : reversed;
}

bool RangesEqual(const std::uint8_t* first, const std::uint8_t* second, std::ptrdiff_t length) {
    for (std::ptrdiff_t i = 0; i < length; ++i)
        if (first[i] != second[i]) return false;
    return true;
}

}  // namespace

std::int64_t TwoWayFindFirstOccurrence(const std::uint8_t* haystack, std::size_t haystackLength,
                                       const std::uint8_t* needle, std::size_t needleLength) {
    if (needleLength == 0) return 0;
    if (needleLength > haystackLength) return -1;
    const auto m = static_cast<std::ptrdiff_t>(needleLength);
    const auto last = static_cast<std::ptrdiff_t>(haystackLength - needleLength);
    const auto [leftEnd, period] = CriticalFactorization(needle, m);

    if (RangesEqual(needle, needle + period, leftEnd + 1)) {
        // The whole needle has that period: after a shift by it, the bytes already matched in the
        // right part need not be compared again (`memory` marks their end).
        std::ptrdiff_t memory = -1;
        for (std::ptrdiff_t position = 0; position <= last;) {
            const std::uint8_t* window = haystack + position;
            std::ptrdiff_t i = std::max(leftEnd, memory) + 1;
            while (i < m && needle[i] == window[i]) ++i;
            if (i < m) {
                position += i - leftEnd;
                memory = -1;
                continue;
            }
            i = leftEnd;
            while (i > memory && needle[i] == window[i]) --i;
            if (i <= memory) return position;
            position += period;
            memory = m - period - 1;
        }
        return -1;
    }

    // No such period: a mismatch in the left part allows a shift longer than either part.
    const std::ptrdiff_t shift = std::max(leftEnd + 1, m - leftEnd - 1) + 1;
    for (std::ptrdiff_t position = 0; position <= last;) {
        const std::uint8_t* window = haystack + position;
        std::ptrdiff_t i = leftEnd + 1;
        while (i < m && needle[i] == window[i]) ++i;
        if (i < m) {
            position += i - leftEnd;
            continue;
        }
        i = leftEnd;
        while (i >= 0 && needle[i] == window[i]) --i;
        if (i < 0) return position;
        position += shift;
    }
    return -1;
}
