// The save-file dialog: what it hands the system, and the file name it keeps between showings.
#include "app/main_form.h"
#include "gui/save_dialog.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(SaveDialogTest, FilterTextBecomesNulSeparatedList) {
    struct {
        std::string stored, forSystem;
    } cases[] = {
        {"Programs (*.exe)", std::string("Programs (*.exe)\0\0", 18)},
        {"A|*.a|B|*.b", std::string("A\0*.a\0B\0*.b\0\0", 13)},
        {"A|*.a||", std::string("A\0*.a\0\0", 7)},
        {"", std::string("\0\0", 2)},
        // 执行文件（*.exe） in code page 936: no byte of it is taken for a "|".
        {"\xD6\xB4\xD0\xD0\xCE\xC4\xBC\xFE\xA3\xA8*.exe\xA3\xA9",
         std::string("\xD6\xB4\xD0\xD0\xCE\xC4\xBC\xFE\xA3\xA8*.exe\xA3\xA9\0\0", 19)},
    };
    for (const auto& c : cases) EXPECT_EQ(FilterForSystem(c.stored), c.forSystem) << c.stored;
}

TEST(SaveDialogCodePageTest, DoubleByteCharacterWithABarTrailByteIsKept) {
    // 丶 (0x81 0x7C) has the byte of "|" as its trail byte in code page 936.
    const std::string stored = "\x81\x7C|*.x";
    const std::string expected = GetACP() == 936 ? std::string("\x81\x7C\0*.x\0\0", 8)
                                                 : std::string("\x81\0\0*.x\0\0", 8);
    EXPECT_EQ(FilterForSystem(stored), expected);
}

TEST(SaveDialogTest, DefaultExtensionIsHandedWithoutItsDot) {
    EXPECT_EQ(DefaultExtensionForSystem(".exe"), "exe");
    EXPECT_EQ(DefaultExtensionForSystem("exe"), "exe");
    EXPECT_EQ(DefaultExtensionForSystem(""), "");
    EXPECT_EQ(DefaultExtensionForSystem(nullptr), "");
}

TEST(SaveDialogTest, MainFormDialogHandsTheStoredSettings) {
    OPENFILENAMEA seen{};
    std::string file, filter, extension;
    SetSaveDialogPresenter([&](OPENFILENAMEA& request) {
        seen = request;
        file = request.lpstrFile;
        filter.assign(request.lpstrFilter, 20);
        extension = request.lpstrDefExt ? request.lpstrDefExt : "<none>";
        return false;
    });
    HWND owner = reinterpret_cast<HWND>(0x1234);
    EXPECT_FALSE(SaveDialog().Show(owner));
    SetSaveDialogPresenter(nullptr);

    EXPECT_EQ(seen.lStructSize, sizeof(OPENFILENAMEA));
    EXPECT_EQ(seen.hwndOwner, owner);
    EXPECT_EQ(seen.Flags, 0x1806u);
    EXPECT_EQ(seen.nFilterIndex, 1u);
    EXPECT_EQ(seen.lpstrTitle, nullptr);
    EXPECT_EQ(seen.lpstrInitialDir, nullptr);
    EXPECT_EQ(file, "\xD0\xDE\xB8\xC4\xBA\xF3\xB5\xC4\xCE\xC4\xBC\xFE");  // 修改后的文件
    // The description, the empty pattern and the closing empty string.
    EXPECT_EQ(filter, std::string("\xD6\xB4\xD0\xD0\xCE\xC4\xBC\xFE\xA3\xA8*.exe\xA3\xA9\0\0", 20));
    EXPECT_EQ(extension, "exe");
    EXPECT_GE(seen.nMaxFile, static_cast<DWORD>(MAX_PATH));
}

TEST(SaveDialogTest, ConfirmedPathIsKeptAndCancelLeavesIt) {
    SaveFileDialog dialog({.initialFileName = "start", .filter = "x", .defaultExtension = ".exe"});
    std::vector<std::string> startedWith;
    const char* answer = "C:\\out\\chosen.exe";
    SetSaveDialogPresenter([&](OPENFILENAMEA& request) {
        startedWith.push_back(request.lpstrFile);
        if (!answer) return false;
        std::strcpy(request.lpstrFile, answer);
        return true;
    });
    EXPECT_TRUE(dialog.Show(nullptr));
    EXPECT_EQ(dialog.FileName(), "C:\\out\\chosen.exe");
    answer = nullptr;
    EXPECT_FALSE(dialog.Show(nullptr));
    EXPECT_EQ(dialog.FileName(), "C:\\out\\chosen.exe");
    SetSaveDialogPresenter(nullptr);
    ASSERT_EQ(startedWith.size(), 2u);
    EXPECT_EQ(startedWith[0], "start");
    EXPECT_EQ(startedWith[1], "C:\\out\\chosen.exe");
}

}  // namespace
