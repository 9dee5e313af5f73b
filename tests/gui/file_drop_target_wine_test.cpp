// The file-drop target: what it accepts, how it joins several paths, and registering once.
#include "gui/file_drop_target.h"
#include "tests/gui/drop_data_support.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> received;
void Record(const std::string& text) { received.push_back(text); }

TEST(FileDropTargetTest, JoinsPathsByTheRuleForOneAndSeveral) {
    struct {
        std::vector<std::string> paths;
        std::string text;
    } cases[] = {
        {{"C:\\one.bin"}, "C:\\one.bin"},
        {{"C:\\a", "C:\\b"}, "C:\\a\r\nC:\\b\r\n"},
        {{"C:\\a", "C:\\b", "C:\\c d"}, "C:\\a\r\nC:\\b\r\nC:\\c d\r\n"},
    };
    for (const auto& c : cases) {
        received.clear();
        FileDropTarget target(Record);
        EXPECT_EQ(DropFileList(target, c.paths), static_cast<DWORD>(DROPEFFECT_COPY));
        ASSERT_EQ(received.size(), 1u);
        EXPECT_EQ(received[0], c.text);
    }
}

TEST(FileDropTargetTest, OtherDataIsRefusedAndRaisesNothing) {
    received.clear();
    FileDropTarget target(Record);
    TestDataObject text = TestDataObject::Text("not a file");
    DWORD effect = DROPEFFECT_COPY;
    target.DragEnter(&text, MK_LBUTTON, {0, 0}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    effect = DROPEFFECT_COPY;
    target.DragOver(MK_LBUTTON, {0, 0}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    effect = DROPEFFECT_COPY;
    target.Drop(&text, 0, {0, 0}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_TRUE(received.empty());
}

TEST(FileDropTargetTest, RegistersAtMostOnce) {
    ASSERT_EQ(OleInitialize(nullptr), S_OK);
    HWND first = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND second = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    FileDropTarget target(Record);
    EXPECT_TRUE(target.Register(first));
    EXPECT_FALSE(target.Register(second));
    EXPECT_FALSE(target.Register(first));
    EXPECT_EQ(target.RegisteredWindow(), first);
    TestDropTarget probe;
    EXPECT_EQ(RegisterDragDrop(second, &probe), S_OK) << "the second window was left alone";
    RevokeDragDrop(second);
    RevokeDragDrop(first);
    DestroyWindow(first);
    DestroyWindow(second);
    OleUninitialize();
}

}  // namespace
