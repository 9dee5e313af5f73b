// Reading and writing whole files: what cannot be read, and writes that never damage the target.
#include "app/file_operations.h"
#include "tests/app/app_test_support.h"

#include <gtest/gtest.h>

namespace {

std::string Content(const ByteBuffer& buffer) { return std::string(buffer.View()); }

TEST(ReadWholeFileTest, UnreadableSourcesGiveEmptyContent) {
    TemporaryFolder folder;
    WriteFileBytes(folder.File("empty.bin"), "");
    CreateDirectoryA(folder.File("folder").c_str(), nullptr);
    WriteFileBytes(folder.File("held.bin"), "held for writing");
    HANDLE writer = CreateFileA(folder.File("held.bin").c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    const std::string cases[] = {
        "", folder.File("missing.bin"), folder.File("folder"), folder.File("empty.bin"),
        folder.File("held.bin"),  // another process has it open for writing
    };
    for (const std::string& path : cases) {
        EXPECT_TRUE(ReadWholeFile(path.c_str()).IsEmpty()) << path;
    }
    EXPECT_TRUE(ReadWholeFile(nullptr).IsEmpty());
    CloseHandle(writer);
    EXPECT_EQ(Content(ReadWholeFile(folder.File("held.bin").c_str())), "held for writing");
}

TEST(ReadWholeFileTest, ReadsEveryByteAndAllowsOtherReaders) {
    TemporaryFolder folder;
    std::string bytes;
    for (int i = 0; i < 300000; ++i) bytes += static_cast<char>(i * 7 + (i >> 8));
    WriteFileBytes(folder.File("data.bin"), bytes);
    HANDLE reader = CreateFileA(folder.File("data.bin").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(Content(ReadWholeFile(folder.File("data.bin").c_str())), bytes);
    CloseHandle(reader);
}

TEST(ReadWholeFileTest, FileOfTwoGibibytesIsRefusedWithoutReading) {
    TemporaryFolder folder;
    const std::string path = folder.File("huge.bin");
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size;
    size.QuadPart = 0x80000000LL;  // 2 GiB, a hole on the disk
    SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
    ASSERT_TRUE(SetEndOfFile(file));
    CloseHandle(file);
    EXPECT_TRUE(ReadWholeFile(path.c_str()).IsEmpty());
}

TEST(WriteWholeFileTest, CreatesOrReplacesWithExactlyTheBytes) {
    TemporaryFolder folder;
    struct {
        const char* name;
        const char* before;  // null: the file does not exist yet
        std::string bytes;
    } cases[] = {
        {"new.bin", nullptr, "fresh"},
        {"longer.bin", "a much longer original content", "short"},
        {"empty.bin", "something", ""},
        {"binary.bin", nullptr, std::string("\0\x01\xFF\0", 4)},
    };
    for (const auto& c : cases) {
        const std::string path = folder.File(c.name);
        if (c.before) WriteFileBytes(path, c.before);
        ByteBuffer buffer = ByteBuffer::FromText(c.bytes);
        EXPECT_TRUE(WriteWholeFile(path.c_str(), buffer)) << c.name;
        EXPECT_EQ(ReadFileBytes(path), c.bytes) << c.name;
    }
    EXPECT_EQ(folder.Listing(), "binary.bin empty.bin longer.bin new.bin");
}

TEST(WriteWholeFileTest, FailuresLeaveTargetAndFolderAsTheyWere) {
    TemporaryFolder folder;
    WriteFileBytes(folder.File("readonly.bin"), "kept");
    SetFileAttributesA(folder.File("readonly.bin").c_str(), FILE_ATTRIBUTE_READONLY);
    WriteFileBytes(folder.File("open.bin"), "kept too");
    HANDLE holder = CreateFileA(folder.File("open.bin").c_str(), GENERIC_READ, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    CreateDirectoryA(folder.File("folder").c_str(), nullptr);
    const ByteBuffer bytes = ByteBuffer::FromText("new content");
    const std::string targets[] = {folder.File("readonly.bin"), folder.File("open.bin"),
                                   folder.File("folder"), folder.File("missing\\x.bin")};
    for (const std::string& target : targets) EXPECT_FALSE(WriteWholeFile(target.c_str(), bytes)) << target;
    EXPECT_FALSE(WriteWholeFile("", bytes));
    EXPECT_FALSE(WriteWholeFile(nullptr, bytes));
    CloseHandle(holder);
    EXPECT_EQ(ReadFileBytes(folder.File("readonly.bin")), "kept");
    EXPECT_EQ(ReadFileBytes(folder.File("open.bin")), "kept too");
    EXPECT_EQ(folder.Listing(), "folder open.bin readonly.bin");
}

}  // namespace
