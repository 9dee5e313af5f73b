// The leftmost-occurrence byte search behind FindBytes.
#pragma once

#include <cstddef>
#include <cstdint>

// 0-based index of the leftmost occurrence of needle in haystack, or -1. An empty needle is found at 0.
std::int64_t FindFirstOccurrence(const std::uint8_t* haystack, std::size_t haystackLength,
                                 const std::uint8_t* needle, std::size_t needleLength);
