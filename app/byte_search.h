// The leftmost-occurrence byte search behind FindBytes.
#pragma once

#include <cstddef>
#include <cstdint>

// How the search may proceed; the defaults are what FindBytes uses, tests vary them to reach every
// path on small inputs.
struct ByteSearchOptions {
    // Bytes that the checks of candidates running past the needle's first sixteen bytes may
    // compare before the search hands over to Two-Way: this allowance, plus so many per byte
    // scanned. Periodic data that the needle follows for long stretches uses them up; ordinary
    // data never does.
    std::size_t verificationAllowance = 16 * 1024;
    std::size_t verificationPerScannedByte = 4;
    // False keeps to the scalar scan that a processor without SSE2 gets.
    bool vectorScan = true;
    // Where given, receives the position from which Two-Way finished the search, or the haystack's
    // length when it was not needed: tests make sure their inputs reach the hand-over.
    std::size_t* twoWayFrom = nullptr;
};

// 0-based index of the leftmost occurrence of needle in haystack, or -1. An empty needle is found
// at 0. Linear in haystackLength in the worst case, with constant extra memory: a vector scan for
// two of the needle's bytes proposes candidates, checked in ascending order, and Two-Way takes over
// where the checks cost more than the scan.
std::int64_t FindFirstOccurrence(const std::uint8_t* haystack, std::size_t haystackLength,
                                 const std::uint8_t* needle, std::size_t needleLength,
                                 const ByteSearchOptions& options = {});
