// The cases both byte-search benchmarks measure (natively and under Wine), the searches they
// compare FindBytes with, and the summary table they print.
#pragma once

#include "app/byte_operations.h"
#include "skin/byte_buffer.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#define FIND_BYTES_BENCH_SSE2_FUNCTION
#else
// Only the x86_64 benchmarks are run; the i686 one is built and assumes SSE2.
#include <emmintrin.h>
#define FIND_BYTES_BENCH_SSE2_FUNCTION __attribute__((target("sse2")))
#endif

namespace find_bytes_bench {

enum class Content {
    Random,       // bytes 1..255, uniformly: the byte 0 never occurs
    RunOfA,       // "aaaa..."
    Alternating,  // "abab..."
    TwoLetters,   // 'a' and 'b' at random
    Period17,     // 17 bytes of 'a' and 'b' at random, repeated
};

struct Case {
    const char* name;
    Content content;
    int mebibytes;
    std::string pattern;
    std::int32_t expected;  // FindBytes's answer, checked before any figure is printed
};

// Bytes 1..255, or 'a' and 'b' when `twoLetters`, from a fixed seed.
inline std::string RandomPattern(std::size_t length, bool twoLetters = false) {
    std::string pattern;
    std::uint32_t state = 2463534242u;
    while (pattern.size() < length) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        pattern += static_cast<char>(twoLetters ? 'a' + (state >> 7) % 2 : 1 + state % 255);
    }
    return pattern;
}

// "aaa...ab": the first-byte scan compares almost the whole pattern at every position.
inline std::string RunOfAPattern() {
    return std::string(63, 'a') + "b";
}

// "abab...ab" with one 'a' for a 'b' in the middle: on "abab..." every other position matches the
// first 33 bytes, which keeps the first-byte scan busy.
inline std::string AlternatingPattern() {
    std::string pattern;
    for (int i = 0; i < 32; ++i) pattern += "ab";
    pattern[33] = 'a';
    return pattern;
}

inline const std::string& Period17Block() {
    static const std::string block = RandomPattern(17, true);
    return block;
}

// 200 bytes that follow the 17-byte period, but for one byte near the end.
inline std::string Period17Pattern() {
    std::string pattern;
    while (pattern.size() < 200) pattern += Period17Block();
    pattern.resize(200);
    pattern[198] = pattern[198] == 'a' ? 'b' : 'a';
    return pattern;
}

inline std::vector<Case> Cases() {
    return {
        {"random, 16-byte pattern absent", Content::Random, 256, RandomPattern(16), -1},
        {"random, byte 0 absent", Content::Random, 256, std::string(1, '\0'), -1},
        {"aaaa..., pattern a{63}b", Content::RunOfA, 128, RunOfAPattern(), -1},
        {"aaaa..., pattern a{63}b", Content::RunOfA, 256, RunOfAPattern(), -1},
        {"abab..., pattern breaks period at 33", Content::Alternating, 128, AlternatingPattern(),
         -1},
        {"abab..., pattern breaks period at 33", Content::Alternating, 256, AlternatingPattern(),
         -1},
        // Every fourth position or so is a candidate, and its check fails within a byte or two.
        {"random a/b, 64-byte a/b pattern absent", Content::TwoLetters, 128,
         RandomPattern(64, true), -1},
        {"random a/b, 64-byte a/b pattern absent", Content::TwoLetters, 256,
         RandomPattern(64, true), -1},
        // Every 17th position is a candidate whose check runs 198 bytes: Two-Way takes over.
        {"period 17, 200-byte pattern leaves it", Content::Period17, 128, Period17Pattern(), -1},
        {"period 17, 200-byte pattern leaves it", Content::Period17, 256, Period17Pattern(), -1},
    };
}

// The contents are built once and kept: about 2 GB in all.
inline const ByteBuffer& ContentOf(Content content, int mebibytes) {
    static std::map<std::pair<Content, int>, ByteBuffer> built;
    ByteBuffer& buffer = built[{content, mebibytes}];
    if (!buffer.IsEmpty()) return buffer;
    const std::int32_t length = mebibytes * 1024 * 1024;
    if (!buffer.Allocate(length)) {
        std::fprintf(stderr, "cannot allocate %d MiB\n", mebibytes);
        return buffer;
    }
    std::uint8_t* bytes = buffer.Data();
    switch (content) {
        case Content::Random:
        case Content::TwoLetters: {
            std::uint64_t state = 0x9e3779b97f4a7c15u;
            for (std::int32_t i = 0; i < length; i += 8) {
                // SplitMix64.
                std::uint64_t z = (state += 0x9e3779b97f4a7c15u);
                z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
                z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
                z ^= z >> 31;
                std::memcpy(bytes + i, &z, 8);
            }
            for (std::int32_t i = 0; i < length; ++i) {
                if (content == Content::TwoLetters) {
                    bytes[i] = static_cast<std::uint8_t>('a' + (bytes[i] & 1));
                } else if (bytes[i] == 0) {
                    bytes[i] = static_cast<std::uint8_t>(1 + i % 255);
                }
            }
            break;
        }
        case Content::RunOfA:
            std::memset(bytes, 'a', static_cast<std::size_t>(length));
            break;
        case Content::Alternating:
            for (std::int32_t i = 0; i < length; ++i) bytes[i] = i % 2 == 0 ? 'a' : 'b';
            break;
        case Content::Period17:
            for (std::int32_t i = 0; i < length; ++i)
                bytes[i] = static_cast<std::uint8_t>(Period17Block()[i % 17]);
            break;
    }
    return buffer;
}

// The search the patch command had: find the next first byte, compare the whole pattern there.
inline std::int32_t PlainScan(const ByteBuffer& data, const ByteBuffer& pattern) {
    const std::int32_t last = data.Length() - pattern.Length();
    const std::uint8_t* bytes = data.Data();
    for (std::int32_t i = 0; i <= last; ++i) {
        if (bytes[i] == pattern.Data()[0] &&
            std::memcmp(bytes + i, pattern.Data(), static_cast<std::size_t>(pattern.Length())) == 0)
            return i + 1;
    }
    return -1;
}

// One aligned SSE2 pass over the data looking for one byte: about as fast as memory delivers.
FIND_BYTES_BENCH_SSE2_FUNCTION inline std::int32_t Sse2ByteScan(const ByteBuffer& data,
                                                                std::uint8_t byte) {
    const std::uint8_t* bytes = data.Data();
    const std::int32_t length = data.Length();
    std::int32_t i = 0;
    for (; i < length && (reinterpret_cast<std::uintptr_t>(bytes + i) & 15) != 0; ++i)
        if (bytes[i] == byte) return i + 1;
    const __m128i wanted = _mm_set1_epi8(static_cast<char>(byte));
    for (; i + 64 <= length; i += 64) {
        const auto* block = reinterpret_cast<const __m128i*>(bytes + i);
        const __m128i any =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(_mm_load_si128(block), wanted),
                                      _mm_cmpeq_epi8(_mm_load_si128(block + 1), wanted)),
                         _mm_or_si128(_mm_cmpeq_epi8(_mm_load_si128(block + 2), wanted),
                                      _mm_cmpeq_epi8(_mm_load_si128(block + 3), wanted)));
        if (_mm_movemask_epi8(any) != 0) break;
    }
    for (; i < length; ++i)
        if (bytes[i] == byte) return i + 1;
    return -1;
}

struct Measurement {
    std::string caseName;
    int mebibytes;
    std::string search;
    double secondsPerRun;
};

inline double GigabytesPerSecond(const Measurement& measurement) {
    return measurement.mebibytes * 1048576.0 / measurement.secondsPerRun / 1e9;
}

// The figures as a table (GB/s, 10^9 bytes per second), then the ratios the search is judged by:
// FindBytes's throughput against each other search of the same case and against the one-pass byte
// scan, and its time for the double length against that for the single one.
inline void PrintSummary(const std::vector<Measurement>& measurements) {
    std::vector<std::string> searches;
    for (const Measurement& m : measurements) {
        bool known = false;
        for (const std::string& s : searches) known = known || s == m.search;
        if (!known) searches.push_back(m.search);
    }
    auto find = [&](const std::string& caseName, int mebibytes,
                    const std::string& search) -> const Measurement* {
        for (const Measurement& m : measurements)
            if (m.caseName == caseName && m.mebibytes == mebibytes && m.search == search) return &m;
        return nullptr;
    };
    std::printf("\n%-40s %5s", "case (GB/s)", "MiB");
    for (const std::string& s : searches) std::printf(" %12s", s.c_str());
    std::printf("\n");
    std::vector<std::pair<std::string, int>> rows;
    for (const Measurement& m : measurements) {
        const std::pair<std::string, int> row{m.caseName, m.mebibytes};
        bool known = false;
        for (const auto& r : rows) known = known || r == row;
        if (!known) rows.push_back(row);
    }
    for (const auto& [caseName, mebibytes] : rows) {
        std::printf("%-40s %5d", caseName.c_str(), mebibytes);
        for (const std::string& s : searches) {
            const Measurement* m = find(caseName, mebibytes, s);
            if (m) {
                std::printf(" %12.2f", GigabytesPerSecond(*m));
            } else {
                std::printf(" %12s", "-");
            }
        }
        std::printf("\n");
    }

    std::printf("\n");
    const Measurement* byteScan = nullptr;
    for (const Measurement& m : measurements)
        if (m.search == "SSE2 scan") byteScan = &m;
    for (const auto& [caseName, mebibytes] : rows) {
        const Measurement* ours = find(caseName, mebibytes, "FindBytes");
        if (!ours) continue;
        std::printf("%-40s %5d  FindBytes is", caseName.c_str(), mebibytes);
        for (const std::string& s : searches) {
            const Measurement* other = find(caseName, mebibytes, s);
            if (other && other != ours)
                std::printf("  %.2fx %s", GigabytesPerSecond(*ours) / GigabytesPerSecond(*other),
                            s.c_str());
        }
        if (byteScan && byteScan->caseName != caseName)
            std::printf("  %.2fx SSE2 byte scan",
                        GigabytesPerSecond(*ours) / GigabytesPerSecond(*byteScan));
        if (const Measurement* half = find(caseName, mebibytes / 2, "FindBytes"))
            std::printf("  time %.2fx that of %d MiB", ours->secondsPerRun / half->secondsPerRun,
                        mebibytes / 2);
        std::printf("\n");
    }
}

}  // namespace find_bytes_bench
