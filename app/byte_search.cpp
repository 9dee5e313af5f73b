// The leftmost-occurrence byte search behind FindBytes: a vector scan for a pair of the needle's
// bytes proposes candidates, and Two-Way takes over where checking them gets expensive.
#include "app/byte_search.h"

#include "app/two_way_search.h"

#include <cstring>

// x86_64 always has SSE2. An i686 build may run on a processor without it: the vector code is then
// compiled for SSE2 on its own and chosen only after the processor says it has it.
#if defined(__SSE2__)
#include <emmintrin.h>
#define KESTRUNE_HAS_SSE2_CODE 1
#define KESTRUNE_SSE2_FUNCTION
#elif defined(__GNUC__) && defined(__i386__)
#include <cpuid.h>
#include <emmintrin.h>
#define KESTRUNE_HAS_SSE2_CODE 1
#define KESTRUNE_SSE2_FUNCTION __attribute__((target("sse2")))
#else
#define KESTRUNE_HAS_SSE2_CODE 0
#endif

namespace {

// A check that stops within the needle's first sixteen bytes costs one comparison, and there is at
// most one per position. Longer checks are what can make the scan quadratic: the bytes they
// compare are counted, and once they pass the allowance the search hands over to Two-Way.
constexpr std::size_t kCheapCheck = 16;

struct Search {
    const std::uint8_t* haystack;
    std::size_t haystackLength;
    const std::uint8_t* needle;
    std::size_t needleLength;
    // Candidates are the positions where needle[0] and needle[pairOffset] both match.
    std::size_t pairOffset;
    // Number of positions where the needle fits: haystackLength - needleLength + 1.
    std::size_t positions;
    // The needle's first sixteen bytes (zero after its end), for checks in one vector comparison,
    // and a mask of the bits of those that belong to the needle.
    std::uint8_t prefix[16];
    unsigned prefixMask;
};

// Candidates are costly where the data repeats a short period that the needle's beginning follows
// ("aaaa...", "abab...", zero-filled blocks): every period proposes one and its check runs to where
// the needle leaves the period. So the second byte of the pair is, where the needle begins with at
// least two rounds of a period of up to kShortPeriods bytes, the byte that breaks the longest such
// run; such data then proposes no candidate there. Otherwise it is the last byte that differs from
// the first (the last byte if all are equal).
constexpr std::size_t kShortPeriods = 16;

std::size_t PairOffset(const std::uint8_t* needle, std::size_t length) {
    std::size_t longestRun = 0;
    for (std::size_t period = 1; period <= kShortPeriods && 2 * period < length; ++period) {
        std::size_t end = period;
        while (end < length && needle[end] == needle[end - period]) ++end;
        if (end >= 2 * period && end < length && end > longestRun) longestRun = end;
    }
    if (longestRun != 0) return longestRun;
    for (std::size_t i = length - 1; i > 0; --i)
        if (needle[i] != needle[0]) return i;
    return length - 1;
}

// Keeps count of the bytes that long checks have compared and finishes the search with Two-Way from
// the next position once they pass the allowance; candidates come in ascending order, so every
// position before that one has been ruled out.
class CandidateChecker {
  public:
    CandidateChecker(const Search& search, const ByteSearchOptions& options)
        : search_(search),
          allowance_(options.verificationAllowance),
          perScannedByte_(options.verificationPerScannedByte),
          twoWayFrom_(options.twoWayFrom) {}

    // A check at `candidate` failed at index `mismatch`, past the cheap ones. True when the search
    // has been finished by Two-Way, with its answer in `result`.
    bool HandsOver(std::size_t candidate, std::size_t mismatch, std::int64_t& result) {
        compared_ += mismatch;
        if (compared_ <= allowance_ + perScannedByte_ * std::uint64_t{candidate}) return false;
        const std::size_t next = candidate + 1;
        if (twoWayFrom_) *twoWayFrom_ = next;
        const std::int64_t found =
            TwoWayFindFirstOccurrence(search_.haystack + next, search_.haystackLength - next,
                                      search_.needle, search_.needleLength);
        result = found < 0 ? -1 : static_cast<std::int64_t>(next) + found;
        return true;
    }

  private:
    const Search& search_;
    const std::uint64_t allowance_;
    const std::uint64_t perScannedByte_;
    std::size_t* const twoWayFrom_;
    std::uint64_t compared_ = 0;
};

// Index of the first differing byte of two ranges, or `length` when they are equal; eight bytes at
// a time.
std::size_t WordMismatch(const std::uint8_t* first, const std::uint8_t* second,
                         std::size_t length) {
    std::size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        std::uint64_t a;
        std::uint64_t b;
        std::memcpy(&a, first + i, 8);
        std::memcpy(&b, second + i, 8);
        if (a != b) break;
    }
    for (; i < length; ++i)
        if (first[i] != second[i]) return i;
    return length;
}

std::int64_t ScalarFindByte(const std::uint8_t* haystack, std::size_t length, std::uint8_t byte) {
    for (std::size_t i = 0; i < length; ++i)
        if (haystack[i] == byte) return static_cast<std::int64_t>(i);
    return -1;
}

std::int64_t ScalarPairScan(const Search& search, CandidateChecker& checker) {
    const std::uint8_t first = search.needle[0];
    const std::uint8_t second = search.needle[search.pairOffset];
    const std::uint8_t* haystack = search.haystack;
    std::int64_t result = -1;
    for (std::size_t candidate = 0; candidate < search.positions; ++candidate) {
        if (haystack[candidate] != first || haystack[candidate + search.pairOffset] != second)
            continue;
        const std::size_t mismatch =
            WordMismatch(haystack + candidate, search.needle, search.needleLength);
        if (mismatch == search.needleLength) return static_cast<std::int64_t>(candidate);
        if (mismatch >= kCheapCheck && checker.HandsOver(candidate, mismatch, result))
            return result;
    }
    return -1;
}

#if KESTRUNE_HAS_SSE2_CODE

bool ProcessorHasSse2() {
#if defined(__SSE2__)
    return true;
#else
    static const bool hasSse2 = [] {
        unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
        return __get_cpuid(1, &eax, &ebx, &ecx, &edx) != 0 && (edx & bit_SSE2) != 0;
    }();
    return hasSse2;
#endif
}

// Bit i set where the 16 bytes at `at` equal `wanted`.
KESTRUNE_SSE2_FUNCTION inline unsigned EqualMask(const std::uint8_t* at, __m128i wanted) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wanted)));
}

KESTRUNE_SSE2_FUNCTION inline unsigned EqualBytesMask(const std::uint8_t* first,
                                                      const std::uint8_t* second) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(first));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(second));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(a, b)));
}

// WordMismatch, sixteen bytes at a time; never reads outside either range.
KESTRUNE_SSE2_FUNCTION std::size_t VectorMismatch(const std::uint8_t* first,
                                                  const std::uint8_t* second, std::size_t length) {
    if (length < 16) return WordMismatch(first, second, length);
    std::size_t i = 0;
    for (; i + 16 <= length; i += 16) {
        const unsigned equal = EqualBytesMask(first + i, second + i);
        if (equal != 0xFFFF) return i + static_cast<std::size_t>(__builtin_ctz(~equal));
    }
    if (i == length) return length;
    // The last sixteen bytes overlap bytes already found equal, so a difference among them is the
    // first one.
    const std::size_t start = length - 16;
    const unsigned equal = EqualBytesMask(first + start, second + start);
    return equal == 0xFFFF ? length : start + static_cast<std::size_t>(__builtin_ctz(~equal));
}

// Bit i set where position at + i is a candidate.
KESTRUNE_SSE2_FUNCTION inline unsigned PairMask(const std::uint8_t* at, std::size_t pairOffset,
                                                __m128i first, __m128i second) {
    return EqualMask(at, first) & EqualMask(at + pairOffset, second);
}

// Checks the candidates base + (each set bit of `mask`), lowest first. True when that decides the
// search, with its answer in `result`.
KESTRUNE_SSE2_FUNCTION bool VectorCandidatesDecide(std::uint64_t mask, std::size_t base,
                                                   const Search& search, CandidateChecker& checker,
                                                   std::int64_t& result) {
    const __m128i prefix = _mm_loadu_si128(reinterpret_cast<const __m128i*>(search.prefix));
    const std::size_t length = search.needleLength;
    while (mask != 0) {
        const std::size_t candidate = base + static_cast<std::size_t>(__builtin_ctzll(mask));
        mask &= mask - 1;
        const std::uint8_t* at = search.haystack + candidate;
        if (length <= 16) {
            // A short needle near the end of the data: sixteen bytes from here would read past it.
            const bool found =
                candidate + 16 <= search.haystackLength
                    ? (EqualMask(at, prefix) & search.prefixMask) == search.prefixMask
                    : WordMismatch(at, search.needle, length) == length;
            if (!found) continue;
            result = static_cast<std::int64_t>(candidate);
            return true;
        }
        if (EqualMask(at, prefix) != 0xFFFF) continue;
        const std::size_t mismatch = 16 + VectorMismatch(at + 16, search.needle + 16, length - 16);
        if (mismatch == length) {
            result = static_cast<std::int64_t>(candidate);
            return true;
        }
        if (checker.HandsOver(candidate, mismatch, result)) return true;
    }
    return false;
}

KESTRUNE_SSE2_FUNCTION std::int64_t VectorFindByte(const std::uint8_t* haystack, std::size_t length,
                                                   std::uint8_t byte) {
    if (length < 16) return ScalarFindByte(haystack, length, byte);
    const __m128i wanted = _mm_set1_epi8(static_cast<char>(byte));
    if (const unsigned mask = EqualMask(haystack, wanted)) return __builtin_ctz(mask);

    // From the first 16-byte boundary on, sixty-four bytes per step with aligned loads.
    std::size_t i = 16 - (reinterpret_cast<std::uintptr_t>(haystack) & 15);
    for (; i + 64 <= length; i += 64) {
        const auto* block = reinterpret_cast<const __m128i*>(haystack + i);
        const __m128i equal0 = _mm_cmpeq_epi8(_mm_load_si128(block), wanted);
        const __m128i equal1 = _mm_cmpeq_epi8(_mm_load_si128(block + 1), wanted);
        const __m128i equal2 = _mm_cmpeq_epi8(_mm_load_si128(block + 2), wanted);
        const __m128i equal3 = _mm_cmpeq_epi8(_mm_load_si128(block + 3), wanted);
        const __m128i any =
            _mm_or_si128(_mm_or_si128(equal0, equal1), _mm_or_si128(equal2, equal3));
        if (_mm_movemask_epi8(any) == 0) continue;
        const std::uint64_t mask =
            static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(equal0))) |
            static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(equal1))) << 16 |
            static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(equal2))) << 32 |
            static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(equal3))) << 48;
        return static_cast<std::int64_t>(i) + __builtin_ctzll(mask);
    }
    for (; i + 16 <= length; i += 16)
        if (const unsigned mask = EqualMask(haystack + i, wanted))
            return static_cast<std::int64_t>(i) + __builtin_ctz(mask);
    if (i == length) return -1;
    // The last sixteen bytes, without those already scanned.
    const std::size_t start = length - 16;
    const unsigned mask = EqualMask(haystack + start, wanted) >> (i - start);
    return mask == 0 ? -1 : static_cast<std::int64_t>(i) + __builtin_ctz(mask);
}

KESTRUNE_SSE2_FUNCTION std::int64_t VectorPairScan(const Search& search,
                                                   CandidateChecker& checker) {
    const std::size_t positions = search.positions;
    if (positions < 16) return ScalarPairScan(search, checker);
    const std::uint8_t* haystack = search.haystack;
    const std::size_t pairOffset = search.pairOffset;
    const __m128i first = _mm_set1_epi8(static_cast<char>(search.needle[0]));
    const __m128i second = _mm_set1_epi8(static_cast<char>(search.needle[pairOffset]));
    std::int64_t result = -1;

    // The positions before the first 16-byte boundary, so that the loop below loads aligned.
    std::size_t i = (16 - (reinterpret_cast<std::uintptr_t>(haystack) & 15)) & 15;
    if (i != 0) {
        const unsigned mask = PairMask(haystack, pairOffset, first, second) & ((1u << i) - 1);
        if (VectorCandidatesDecide(mask, 0, search, checker, result)) return result;
    }

    for (; i + 64 <= positions; i += 64) {
        const std::uint8_t* at = haystack + i;
        const auto* block = reinterpret_cast<const __m128i*>(at);
        const __m128i pair0 = _mm_and_si128(
            _mm_cmpeq_epi8(_mm_load_si128(block), first),
            _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at + pairOffset)),
                           second));
        const __m128i pair1 = _mm_and_si128(
            _mm_cmpeq_epi8(_mm_load_si128(block + 1), first),
            _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at + pairOffset + 16)),
                           second));
        const __m128i pair2 = _mm_and_si128(
            _mm_cmpeq_epi8(_mm_load_si128(block + 2), first),
            _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at + pairOffset + 32)),
                           second));
        const __m128i pair3 = _mm_and_si128(
            _mm_cmpeq_epi8(_mm_load_si128(block + 3), first),
            _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at + pairOffset + 48)),
                           second));
        const __m128i any = _mm_or_si128(_mm_or_si128(pair0, pair1), _mm_or_si128(pair2, pair3));
        if (_mm_movemask_epi8(any) == 0) continue;
        const std::uint64_t mask =
            static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(pair0))) |
            static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(pair1))) << 16 |
            static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(pair2))) << 32 |
            static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(pair3))) << 48;
        if (VectorCandidatesDecide(mask, i, search, checker, result)) return result;
    }
    for (; i + 16 <= positions; i += 16) {
        const unsigned mask = PairMask(haystack + i, pairOffset, first, second);
        if (VectorCandidatesDecide(mask, i, search, checker, result)) return result;
    }
    if (i == positions) return -1;
    // The last sixteen positions, without those already scanned.
    const std::size_t start = positions - 16;
    const unsigned mask = PairMask(haystack + start, pairOffset, first, second) >> (i - start);
    if (VectorCandidatesDecide(mask, i, search, checker, result)) return result;
    return -1;
}

#else

bool ProcessorHasSse2() {
    return false;
}

#endif

}  // namespace

std::int64_t FindFirstOccurrence(const std::uint8_t* haystack, std::size_t haystackLength,
                                 const std::uint8_t* needle, std::size_t needleLength,
                                 const ByteSearchOptions& options) {
    if (options.twoWayFrom) *options.twoWayFrom = haystackLength;
    if (needleLength == 0) return 0;
    if (needleLength > haystackLength) return -1;
    [[maybe_unused]] const bool vector = options.vectorScan && ProcessorHasSse2();
#if KESTRUNE_HAS_SSE2_CODE
    if (needleLength == 1)
        return vector ? VectorFindByte(haystack, haystackLength, needle[0])
                      : ScalarFindByte(haystack, haystackLength, needle[0]);
#else
    if (needleLength == 1) return ScalarFindByte(haystack, haystackLength, needle[0]);
#endif

    Search search{haystack,
                  haystackLength,
                  needle,
                  needleLength,
                  PairOffset(needle, needleLength),
                  haystackLength - needleLength + 1,
                  {},
                  0};
    const std::size_t prefixLength = needleLength < 16 ? needleLength : 16;
    std::memcpy(search.prefix, needle, prefixLength);
    search.prefixMask = (1u << prefixLength) - 1;
    CandidateChecker checker(search, options);
#if KESTRUNE_HAS_SSE2_CODE
    if (vector) return VectorPairScan(search, checker);
#endif
    return ScalarPairScan(search, checker);
}
