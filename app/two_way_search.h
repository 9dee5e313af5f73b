// Two-Way (Crochemore-Perrin) search: leftmost occurrence, linear time, constant extra memory.
#pragma once

#include <cstddef>
#include <cstdint>

// 0-based index of the leftmost occurrence of needle in haystack, or -1. An empty needle is found
// at 0. At most about 2 * haystackLength byte comparisons after an O(needleLength) preparation.
std::int64_t TwoWayFindFirstOccurrence(const std::uint8_t* haystack, std::size_t haystackLength,
                                       const std::uint8_t* needle, std::size_t needleLength);
