// Tests of the scope-bound handle owners: each releases exactly once, moves hand ownership over.
#include "skin/scoped_handles.h"

#include <gtest/gtest.h>

namespace {

HBITMAP NewBitmap() { return CreateBitmap(4, 4, 1, 32, nullptr); }

TEST(ScopedHandleTest, ReleasesAtEndOfScope) {
    HBITMAP raw = NewBitmap();
    ASSERT_NE(GetObjectType(raw), 0u);
    { ScopedBitmap bitmap(raw); }
    EXPECT_EQ(GetObjectType(raw), 0u);
}

TEST(ScopedHandleTest, MoveTransfersOwnershipAndReleaseGivesItUp) {
    HBITMAP raw = NewBitmap();
    ScopedBitmap target;
    {
        ScopedBitmap source(raw);
        target = std::move(source);
        EXPECT_FALSE(source);
    }
    EXPECT_NE(GetObjectType(raw), 0u) << "the moved-from owner must not release";
    HBITMAP released = target.release();
    EXPECT_FALSE(target);
    EXPECT_NE(GetObjectType(released), 0u);
    DeleteObject(released);
}

TEST(ScopedHandleTest, ResetReleasesThePreviousHandle) {
    HBITMAP first = NewBitmap();
    HBITMAP second = NewBitmap();
    ScopedBitmap bitmap(first);
    bitmap.reset(second);
    EXPECT_EQ(GetObjectType(first), 0u);
    EXPECT_NE(GetObjectType(second), 0u);
}

TEST(ScopedHandleTest, SelectionPutsThePreviousObjectBack) {
    ScopedDc dc(CreateCompatibleDC(nullptr));
    ScopedBitmap bitmap(NewBitmap());
    HGDIOBJ before = GetCurrentObject(dc.get(), OBJ_BITMAP);
    {
        ScopedSelection selection(dc.get(), bitmap.get());
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), bitmap.get());
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), before);
}

TEST(ScopedHandleTest, FileHandleNoneIsInvalidHandleValue) {
    ScopedFile file(CreateFileA("Z:\\no\\such\\folder\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                nullptr));
    EXPECT_FALSE(file);
}

}  // namespace
