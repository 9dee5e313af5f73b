// Tests of the patch's byte operations, and of the first-occurrence search against a reference.
#include "app/byte_operations.h"
#include "app/byte_search.h"
#include "app/two_way_search.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string Text(const ByteBuffer& buffer) {
    return std::string(buffer.View());
}

// Find, then replace what was found, the way the patch command chains the operations.
TEST(ByteOperationsTest, FindAndReplaceFirstOccurrence) {
    struct {
        const char* content;
        const char* pattern;
        const char* replacement;
        std::int32_t foundAt;
        const char* patched;  // null when nothing is found
    } const cases[] = {
        {"ABCABC", "BC", "XY", 2, "AXYABC"},  // only the first occurrence changes
        {"ABC", "BC", "XY", 2, "AXY"},        // a match that ends at the last byte
        {"ABC", "ABC", "", 1, ""},            // the whole content removed
        {"ABC", "B", "", 2, "AC"},            // removal
        {"ABC", "B", "XYZ", 2, "AXYZC"},      // growth by two bytes
        {"ABCDEF", "BCDE", "x", 2, "AxF"},    // shrink
        {"AAAB", "AAB", "-", 2, "A-"},        // overlapping partial match before the match
        {"ABC", "CD", "XY", -1, nullptr},     // runs past the end
        {"ABC", "ABCD", "XY", -1, nullptr},   // longer than the data
        {"ABC", "", "XY", -1, nullptr},       // empty pattern
        {"", "A", "XY", -1, nullptr},         // no content
        {"abc", "B", "XY", -1, nullptr},      // no case folding
        // One Chinese character is two bytes in code page 936 and matches exactly those bytes.
        {"改修改", "修", "X", 3, "改X改"},
        {"修改完毕!", "毕!", "", 7, "修改完"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.content) + " / " + c.pattern);
        const ByteBuffer content = ByteBuffer::FromText(c.content);
        const ByteBuffer pattern = TextToBytes(c.pattern);
        const std::int32_t foundAt = FindBytes(content, pattern);
        EXPECT_EQ(foundAt, c.foundAt);
        if (!c.patched || foundAt < 0) continue;
        const ByteBuffer patched =
            ReplaceBytes(content, foundAt, TextByteLength(c.pattern), TextToBytes(c.replacement));
        EXPECT_EQ(Text(patched), c.patched);
        EXPECT_EQ(Text(content), c.content) << "the data must not change";
    }
}

TEST(ByteOperationsTest, TextBytesAreTheLiteralsBytesWithoutTerminator) {
    const ByteBuffer bytes = TextToBytes("修改完毕!");
    const std::uint8_t expected[] = {0xd0, 0xde, 0xb8, 0xc4, 0xcd, 0xea, 0xb1, 0xcf, 0x21};
    ASSERT_EQ(bytes.Length(), 9);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.Data(), bytes.Data() + bytes.Length()),
              std::vector<std::uint8_t>(std::begin(expected), std::end(expected)));
    EXPECT_EQ(TextByteLength("修改完毕!"), 9);
    EXPECT_EQ(TextByteLength("修"), 2);
    EXPECT_TRUE(TextToBytes("").IsEmpty());
    EXPECT_TRUE(TextToBytes(nullptr).IsEmpty());
    EXPECT_EQ(TextByteLength(""), 0);
    EXPECT_EQ(TextByteLength(nullptr), 0);
}

TEST(ByteOperationsTest, ReplaceBytesLimitsPositionAndCountToTheData) {
    struct {
        std::int32_t position;
        std::int32_t count;
        const char* replacement;
        const char* result;
    } const cases[] = {
        {1, 0, "xy", "xyABCDE"},  // insertion at the start
        {6, 0, "xy", "ABCDExy"},  // insertion at the end
        {9, 3, "xy", "ABCDExy"},  // a position past the end is the end
        {0, 1, "xy", "xyBCDE"},   // position 0 is limited to offset 0
        {-5, 2, "", "CDE"},       // so is a negative one
        {2, 99, "x", "Ax"},       // the count is limited to what follows
        {2, -3, "x", "AxBCDE"},   // a negative count removes nothing
        {1, 5, "", ""},           // everything removed
        {3, 1, "", "ABDE"},
    };
    const ByteBuffer data = ByteBuffer::FromText("ABCDE");
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "position " << c.position << ", count " << c.count);
        bool outOfMemory = true;
        const ByteBuffer result =
            ReplaceBytes(data, c.position, c.count, TextToBytes(c.replacement), &outOfMemory);
        EXPECT_EQ(Text(result), c.result);
        EXPECT_FALSE(outOfMemory);
    }
    EXPECT_EQ(Text(ReplaceBytes(ByteBuffer(), 1, 1, TextToBytes("xy"))), "xy");
    EXPECT_EQ(Text(data), "ABCDE");
}

// Bytes in an allocation of their own, ending where it ends, so that the sanitizers see any read
// past the last byte; `offset` unused bytes in front shift the start off the allocator's alignment.
class ExactBytes {
  public:
    explicit ExactBytes(std::string_view bytes, std::size_t offset = 0)
        : storage_(new std::uint8_t[offset + bytes.size()]),
          offset_(offset),
          length_(bytes.size()) {
        std::copy(bytes.begin(), bytes.end(), storage_.get() + offset);
    }
    const std::uint8_t* Data() const { return storage_.get() + offset_; }
    std::size_t Length() const { return length_; }

  private:
    std::unique_ptr<std::uint8_t[]> storage_;
    std::size_t offset_;
    std::size_t length_;
};

std::int64_t ReferenceSearch(std::string_view data, std::string_view pattern) {
    if (pattern.empty()) return 0;
    for (std::size_t i = 0; i + pattern.size() <= data.size(); ++i)
        if (data.substr(i, pattern.size()) == pattern) return static_cast<std::int64_t>(i);
    return -1;
}

std::string Describe(std::string_view data, std::string_view pattern) {
    auto printable = [](std::string_view bytes) {
        std::string shown;
        for (const char c : bytes) shown += c >= 'a' && c <= 'z' ? c : '.';
        return shown.size() > 300 ? shown.substr(0, 300) + "..." : shown;
    };
    return "data (" + std::to_string(data.size()) + ") " + printable(data) + "\npattern (" +
           std::to_string(pattern.size()) + ") " + printable(pattern);
}

// Every way through the search gives the reference's answer: the vector and the scalar scan, each
// with the default allowance and with small ones that hand over to Two-Way after the first long
// checks, Two-Way alone, and FindBytes's 1-based position. Returns the reference's answer.
std::int64_t ExpectSameAsReference(std::string_view data, std::string_view pattern,
                                   std::size_t offset = 0) {
    const std::int64_t expected = ReferenceSearch(data, pattern);
    const ExactBytes haystack(data, offset);
    const ExactBytes needle(pattern);
    const ByteSearchOptions variants[] = {
        {},
        {.vectorScan = false},
        {.verificationAllowance = 0, .verificationPerScannedByte = 0},
        {.verificationAllowance = 0, .verificationPerScannedByte = 0, .vectorScan = false},
        {.verificationAllowance = 40, .verificationPerScannedByte = 0},
        {.verificationAllowance = 300, .verificationPerScannedByte = 1},
    };
    for (const ByteSearchOptions& options : variants) {
        const std::int64_t found = FindFirstOccurrence(haystack.Data(), haystack.Length(),
                                                       needle.Data(), needle.Length(), options);
        EXPECT_EQ(found, expected) << "allowance " << options.verificationAllowance << " + "
                                   << options.verificationPerScannedByte << "/byte, vector "
                                   << options.vectorScan << ", offset " << offset << "\n"
                                   << Describe(data, pattern);
    }
    EXPECT_EQ(TwoWayFindFirstOccurrence(haystack.Data(), haystack.Length(), needle.Data(),
                                        needle.Length()),
              expected)
        << "Two-Way\n"
        << Describe(data, pattern);
    const std::int32_t position =
        FindBytes(ByteBuffer::FromText(data), ByteBuffer::FromText(pattern));
    EXPECT_EQ(position, pattern.empty() || expected < 0 ? -1 : expected + 1)
        << "FindBytes\n"
        << Describe(data, pattern);
    return expected;
}

std::string RandomBytes(std::mt19937& random, std::size_t length, int alphabet) {
    std::uniform_int_distribution<int> byte(0, alphabet - 1);
    std::string bytes(length, '\0');
    for (char& c : bytes) c = static_cast<char>(alphabet <= 26 ? 'a' + byte(random) : byte(random));
    return bytes;
}

std::size_t Uniform(std::mt19937& random, std::size_t low, std::size_t high) {
    return std::uniform_int_distribution<std::size_t>(low, high)(random);
}

// Small alphabets make partial and full matches frequent; patterns are random or cut from the data.
TEST(FindBytesTest, AgreesWithReferenceOnRandomData) {
    std::mt19937 random(20240611);
    int found = 0;
    for (const int alphabet : {1, 2, 3, 4, 256}) {
        for (int round = 0; round < 150; ++round) {
            const std::string data = RandomBytes(random, Uniform(random, 0, 300), alphabet);
            std::string pattern;
            if (round % 2 == 0 && !data.empty()) {
                const std::size_t start = Uniform(random, 0, data.size() - 1);
                pattern = data.substr(start, Uniform(random, 1, 40));
                if (round % 4 == 0) pattern.back() = static_cast<char>(pattern.back() ^ 1);
            } else {
                pattern = RandomBytes(random, Uniform(random, 1, 20), alphabet);
            }
            if (ExpectSameAsReference(data, pattern) >= 0) ++found;
        }
    }
    EXPECT_GT(found, 300) << "the inputs should hold many matches";
}

// A pattern found exactly once, at each position of the data and so at every alignment to the
// vector width, at the very end too, for lengths around the vector width; the data itself starts
// at every offset from a 16-byte boundary.
TEST(FindBytesTest, FindsAMatchAtEveryPositionAndAlignment) {
    std::mt19937 random(7);
    for (const std::size_t length : {1, 2, 3, 7, 8, 9, 15, 16, 17, 31, 32, 33, 63, 64, 65, 80}) {
        // Only the planted copy holds the byte 'c' at the pattern's 'c' positions.
        std::string pattern = RandomBytes(random, length, 3);
        pattern[Uniform(random, 0, length - 1)] = 'c';
        for (std::size_t offset = 0; offset < 16; ++offset) {
            const std::size_t dataLength = length + Uniform(random, 60, 100);
            const std::string background = RandomBytes(random, dataLength, 2);
            for (std::size_t at = 0; at + length <= dataLength; ++at) {
                std::string data = background;
                data.replace(at, length, pattern);
                ASSERT_EQ(ExpectSameAsReference(data, pattern, offset),
                          static_cast<std::int64_t>(at))
                    << "length " << length;
            }
            // And absent: the pattern's first bytes only, at the end.
            const std::string truncated =
                background.substr(0, dataLength - length + 1) + pattern.substr(0, length - 1);
            EXPECT_EQ(ExpectSameAsReference(truncated, pattern, offset), -1);
        }
    }
}

// Periodic data and patterns that follow the period for a while and then break it: nearly every
// position is a candidate whose check fails late, which is where the scan hands over to Two-Way.
TEST(FindBytesTest, AgreesWithReferenceOnPeriodicData) {
    std::mt19937 random(42);
    int found = 0;
    for (int round = 0; round < 400; ++round) {
        const std::string word = RandomBytes(random, Uniform(random, 1, 5), 2 + round % 2);
        auto repeat = [&](std::size_t length) {
            std::string text;
            while (text.size() < length) text += word;
            text.resize(length);
            return text;
        };
        std::string pattern = repeat(Uniform(random, 2, 70));
        if (round % 3 != 0) {
            std::size_t at = Uniform(random, 0, pattern.size() - 1);
            pattern[at] = static_cast<char>(pattern[at] == 'a' ? 'b' : 'a');
        }
        std::string data = repeat(Uniform(random, 0, 1500));
        if (round % 2 == 0 && data.size() >= pattern.size()) {
            data.replace(Uniform(random, 0, data.size() - pattern.size()), pattern.size(), pattern);
        }
        if (ExpectSameAsReference(data, pattern) >= 0) ++found;
    }
    EXPECT_GT(found, 100);
}

// Data that repeats a 17-byte block, and patterns that follow it for all but their last bytes:
// every block proposes a candidate whose check runs long, so with the default allowance the search
// hands over to Two-Way. Matches before, at and after that point are found.
TEST(FindBytesTest, HandsOverToTwoWayWhereChecksRunLong) {
    std::mt19937 random(99);
    const std::string block = RandomBytes(random, 17, 2);
    std::string background;
    while (background.size() < 100000) background += block;
    const ExactBytes haystack(background);
    for (const std::size_t length : {100, 200, 1000}) {
        std::string pattern = background.substr(Uniform(random, 0, 16), length);
        pattern[length - 2] = 'c';  // the only 'c': the pattern occurs only where it is planted
        const ExactBytes needle(pattern);
        std::size_t scalarHandOver = 0;
        EXPECT_EQ(
            FindFirstOccurrence(haystack.Data(), haystack.Length(), needle.Data(), needle.Length(),
                                {.vectorScan = false, .twoWayFrom = &scalarHandOver}),
            -1);
        std::size_t handOver = 0;
        EXPECT_EQ(FindFirstOccurrence(haystack.Data(), haystack.Length(), needle.Data(),
                                      needle.Length(), {.twoWayFrom = &handOver}),
                  -1);
        ASSERT_LT(handOver, background.size()) << "length " << length;
        ASSERT_GT(handOver, 100u) << "the allowance covers the first long checks";
        EXPECT_EQ(scalarHandOver, handOver) << "both scans count the same checks";
        for (const std::size_t at :
             {std::size_t{0}, handOver / 2, handOver - 2, handOver - 1, handOver, handOver + 1,
              handOver + 4000, background.size() - length}) {
            std::string data = background;
            data.replace(at, length, pattern);
            const ExactBytes planted(data);
            std::size_t from = 0;
            EXPECT_EQ(FindFirstOccurrence(planted.Data(), planted.Length(), needle.Data(),
                                          needle.Length(), {.twoWayFrom = &from}),
                      static_cast<std::int64_t>(at))
                << "length " << length << ", hand-over at " << from;
            ExpectSameAsReference(data, pattern);
        }
    }
}

// Byte values above 0x7f compare as the bytes they are (no sign trouble), 0 included.
TEST(FindBytesTest, ComparesAllByteValues) {
    std::string data;
    for (int value = 0; value < 256; ++value) data += static_cast<char>(value);
    data += data;
    for (int value = 0; value < 256; value += 17) {
        for (std::size_t length : {1, 2, 16, 40}) {
            const std::string pattern = data.substr(static_cast<std::size_t>(value), length);
            EXPECT_EQ(ExpectSameAsReference(data, pattern), value);
        }
    }
}

}  // namespace
