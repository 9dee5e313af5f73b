// The patch command end to end on the real main window, with the save dialog and the message box
// answered by a script through the GUI layer's presenters.
#include "app/main_form.h"
#include "app/patch_command.h"
#include "app/program_texts.h"
#include "gui/message_box.h"
#include "gui/save_dialog.h"
#include "tests/app/app_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <vector>

namespace {

struct ShownMessage {
    std::string text;
    std::string caption;
    UINT style;
    HWND owner;
};

// What the user does in each showing of the save dialog: confirm with a path, or cancel.
using DialogAnswer = std::optional<std::string>;

class PatchCommandCodePageTest : public testing::Test {
protected:
    void SetUp() override {
        description_ = MainWindowForm();
        description_.onCreated = nullptr;  // the system draws the window: no skin needed here
        ASSERT_TRUE(MainForm().Create(description_, 0, 0));
        SetSaveDialogPresenter([this](OPENFILENAMEA& request) {
            dialogStartNames_.push_back(request.lpstrFile);
            flags_.push_back(request.Flags);
            if (answers_.empty() || !answers_.front()) {
                if (!answers_.empty()) answers_.erase(answers_.begin());
                return false;
            }
            const std::string path = *answers_.front();
            answers_.erase(answers_.begin());
            std::strncpy(request.lpstrFile, path.c_str(), request.nMaxFile - 1);
            return true;
        });
        SetMessageBoxPresenter([this](HWND owner, const char* text, const char* caption, UINT style) {
            messages_.push_back({text, caption, style, owner});
            return IDOK;
        });
    }
    void TearDown() override {
        SetSaveDialogPresenter(nullptr);
        SetMessageBoxPresenter(nullptr);
        DestroyWindow(MainWindow());
    }

    void Run(const std::string& path, const std::string& pattern, const std::string& replacement,
             std::vector<DialogAnswer> answers) {
        SetWindowTextA(PathBox(), path.c_str());
        SetWindowTextA(PatternBox(), pattern.c_str());
        SetWindowTextA(ReplacementBox(), replacement.c_str());
        answers_ = std::move(answers);
        messages_.clear();
        dialogStartNames_.clear();
        PatchCommand();
    }

    FormDescription description_;
    TemporaryFolder folder_;
    std::vector<DialogAnswer> answers_;
    std::vector<ShownMessage> messages_;
    std::vector<std::string> dialogStartNames_;
    std::vector<DWORD> flags_;
};

TEST_F(PatchCommandCodePageTest, ContentEdgeCasesGiveTheSavedBytes) {
    // Bytes of 中 in code page 936: two bytes, which make two characters in code page 1252.
    const std::string chinese = "\xD6\xD0";
    struct {
        std::string content, pattern, replacement, saved;
    } cases[] = {
        {"ABCABC", "BC", "XY", "AXYABC"},          // only the first occurrence changes
        {"ABC", "BC", "Z", "AZ"},                  // a match that ends at the last byte
        {"ABC", "B", "", "AC"},                    // removal
        {"ABC", "B", "XYZ", "AXYZC"},              // growth
        {"ABCDEF", "BCDE", "x", "AxF"},            // shrink
        {"ABC", "ABC", "", ""},                    // the whole content removed: an empty file
        {"a" + chinese + "b", chinese, "Q", "aQb"},  // a double-byte character matches its bytes
        {std::string("x\xFFy", 3), "\xFF", "\xFE\xFD", std::string("x\xFE\xFDy", 4)},
    };
    for (const auto& c : cases) {
        const std::string source = folder_.File("source.bin");
        const std::string target = folder_.File("target.exe");
        WriteFileBytes(source, c.content);
        DeleteFileA(target.c_str());
        Run(source, c.pattern, c.replacement, {target, target});
        EXPECT_EQ(ReadFileBytes(target), c.saved) << c.content << " / " << c.pattern;
        EXPECT_EQ(ReadFileBytes(source), c.content) << "the file that was read is not changed";
        ASSERT_EQ(messages_.size(), 1u);
        EXPECT_EQ(messages_[0].text, patchDoneText);
        EXPECT_EQ(messages_[0].style, 0x2000u);
    }
}

TEST_F(PatchCommandCodePageTest, DialogAnswersDecideWhatIsWritten) {
    const std::string source = folder_.File("source.bin");
    const std::string first = folder_.File("first.exe");
    const std::string second = folder_.File("second.exe");
    WriteFileBytes(source, "hello world");
    struct {
        const char* name;
        std::vector<DialogAnswer> answers;
        bool secondWritten;
        size_t messages;
    } cases[] = {
        {"both confirmed", {first, second}, true, 1},
        {"first cancelled, second confirmed", {std::nullopt, second}, true, 1},
        {"first confirmed, second cancelled", {first, std::nullopt}, false, 0},
        {"both cancelled", {std::nullopt, std::nullopt}, false, 0},
    };
    for (const auto& c : cases) {
        DeleteFileA(first.c_str());
        DeleteFileA(second.c_str());
        Run(source, "world", "there", c.answers);
        EXPECT_EQ(dialogStartNames_.size(), 2u) << c.name;
        EXPECT_EQ(ReadFileBytes(second), c.secondWritten ? "hello there" : "<missing>") << c.name;
        EXPECT_EQ(ReadFileBytes(first), "<missing>") << c.name << ": only the second choice counts";
        EXPECT_EQ(messages_.size(), c.messages) << c.name;
    }
    EXPECT_EQ(folder_.Listing(), "source.bin") << "no temporary file is left behind";
}

TEST_F(PatchCommandCodePageTest, EachShowingStartsFromTheLastConfirmedPath) {
    const std::string source = folder_.File("source.bin");
    const std::string chosen = folder_.File("chosen.exe");
    WriteFileBytes(source, "abc");
    Run(source, "b", "x", {chosen, std::nullopt});
    ASSERT_EQ(dialogStartNames_.size(), 2u);
    EXPECT_EQ(dialogStartNames_[1], chosen);
    Run(source, "b", "y", {std::nullopt, std::nullopt});
    ASSERT_EQ(dialogStartNames_.size(), 2u);
    EXPECT_EQ(dialogStartNames_[0], chosen) << "the dialog keeps its file name from run to run";
    EXPECT_EQ(flags_.back(), 0x1806u);
}

TEST_F(PatchCommandCodePageTest, NoContentOrNoMatchReportsNotFoundWithoutDialog) {
    const std::string source = folder_.File("source.bin");
    const std::string empty = folder_.File("empty.bin");
    WriteFileBytes(source, "ABC");
    WriteFileBytes(empty, "");
    CreateDirectoryA(folder_.File("folder").c_str(), nullptr);
    struct {
        const char* name;
        std::string path, pattern;
    } cases[] = {
        {"empty path box", "", "A"},
        {"missing file", folder_.File("missing.bin"), "A"},
        {"a folder", folder_.File("folder"), "A"},
        {"an empty file", empty, "A"},
        {"two dropped paths", source + "\r\n" + source + "\r\n", "A"},
        {"empty pattern", source, ""},
        {"pattern absent", source, "CD"},
        {"pattern longer than content", source, "ABCD"},
    };
    for (const auto& c : cases) {
        Run(c.path, c.pattern, "X", {folder_.File("never.exe"), folder_.File("never.exe")});
        EXPECT_TRUE(dialogStartNames_.empty()) << c.name;
        ASSERT_EQ(messages_.size(), 1u) << c.name;
        EXPECT_EQ(messages_[0].text, patternNotFoundText) << c.name;
        EXPECT_EQ(messages_[0].caption, messageCaption) << c.name;
        EXPECT_EQ(messages_[0].style, 0x2010u) << c.name;
        EXPECT_EQ(messages_[0].owner, nullptr) << c.name;
        EXPECT_EQ(foundAt, -1) << c.name;
    }
}

TEST_F(PatchCommandCodePageTest, GlobalsKeepTheLastSuccessfulPatch) {
    const std::string source = folder_.File("source.bin");
    WriteFileBytes(source, "xxABCxx");
    Run(source, "ABC", "Q", {std::nullopt, std::nullopt});
    EXPECT_EQ(foundAt, 3);
    EXPECT_EQ(patternLength, 3);
    EXPECT_EQ(fileBytes.View(), "xxABCxx");
    EXPECT_EQ(patchedBytes.View(), "xxQxx");

    Run(source, "nothing", "Q", {});
    EXPECT_EQ(foundAt, -1);
    EXPECT_EQ(patternLength, 3) << "a run without a match leaves the last patch in place";
    EXPECT_EQ(patchedBytes.View(), "xxQxx");
}

TEST_F(PatchCommandCodePageTest, TargetThatIsTheSourceIsReplaced) {
    const std::string source = folder_.File("source.bin");
    WriteFileBytes(source, "one two one");
    Run(source, "one", "1", {source, source});
    EXPECT_EQ(ReadFileBytes(source), "1 two one");
    EXPECT_EQ(folder_.Listing(), "source.bin");
}

TEST_F(PatchCommandCodePageTest, UnwritableTargetIsLeftIntactAndReported) {
    const std::string source = folder_.File("source.bin");
    const std::string readOnly = folder_.File("readonly.exe");
    const std::string locked = folder_.File("locked.exe");
    WriteFileBytes(source, "abcdef");
    WriteFileBytes(readOnly, "original read-only");
    WriteFileBytes(locked, "original locked");
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE holder = CreateFileA(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    CreateDirectoryA(folder_.File("folder.exe").c_str(), nullptr);

    struct {
        std::string target, contentAfter;
    } cases[] = {
        {readOnly, "original read-only"},
        {locked, "<locked>"},
        {folder_.File("folder.exe"), "<missing>"},
        {folder_.File("no-such-folder\\target.exe"), "<missing>"},
    };
    for (const auto& c : cases) {
        Run(source, "cd", "XY", {c.target, c.target});
        if (c.contentAfter != "<locked>") {
            EXPECT_EQ(ReadFileBytes(c.target), c.contentAfter);
        }
        ASSERT_EQ(messages_.size(), 1u) << c.target;
        EXPECT_EQ(messages_[0].text, saveFailedText) << c.target;
        EXPECT_EQ(messages_[0].style, 0x2010u) << c.target;
    }
    CloseHandle(holder);
    EXPECT_EQ(ReadFileBytes(locked), "original locked");
    EXPECT_EQ(folder_.Listing(), "folder.exe locked.exe readonly.exe source.bin")
        << "no temporary file is left behind";
}

TEST_F(PatchCommandCodePageTest, RelativePathIsResolvedAgainstTheCurrentFolder) {
    char previous[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(folder_.Path().c_str());
    WriteFileBytes(folder_.File("relative.bin"), "12345");
    Run("relative.bin", "34", "x", {"out.exe", "out.exe"});
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(ReadFileBytes(folder_.File("out.exe")), "12x5");
}

TEST(ShowMessageTest, TaskModalIsAddedUnlessSystemModal) {
    std::vector<ShownMessage> shown;
    SetMessageBoxPresenter([&](HWND owner, const char* text, const char* caption, UINT style) {
        shown.push_back({text, caption, style, owner});
        return IDOK;
    });
    ShowMessage("a", 0);
    ShowMessage("b", MB_ICONERROR);
    ShowMessage("c", MB_SYSTEMMODAL | MB_ICONWARNING);
    SetMessageBoxPresenter(nullptr);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].style, 0x2000u);
    EXPECT_EQ(shown[1].style, 0x2010u);
    EXPECT_EQ(shown[2].style, static_cast<UINT>(MB_SYSTEMMODAL | MB_ICONWARNING));
    EXPECT_EQ(shown[0].caption, "\xD0\xC5\xCF\xA2\xA3\xBA") << "信息： in code page 936";
}

TEST(ProgramTextsTest, ChineseTextsAreTheirCodePage936Bytes) {
    EXPECT_STREQ(patchDoneText, "\xD0\xDE\xB8\xC4\xCD\xEA\xB1\xCF!");
    EXPECT_STREQ(patternNotFoundText, "\xCE\xB4\xD5\xD2\xB5\xBD\xB8\xC3\xD7\xD6\xBD\xDA\xBC\xAF!");
    EXPECT_STREQ(saveDialogInitialFileName, "\xD0\xDE\xB8\xC4\xBA\xF3\xB5\xC4\xCE\xC4\xBC\xFE");
    EXPECT_STREQ(textBoxFaceName, "\xCB\xCE\xCC\xE5");
}

}  // namespace

namespace {

// The test runs are set up for code page 936 (a Chinese locale) and 1252 (any other): make sure
// Wine really gives the program the code page that the run is meant to test.
TEST(AnsiCodePageCodePageTest, IsTheOneTheRunAskedFor) {
    char locale[64] = {};
    GetEnvironmentVariableA("LC_ALL", locale, sizeof locale);
    const bool chinese = std::string(locale).rfind("zh_CN", 0) == 0;
    EXPECT_EQ(GetACP(), chinese ? 936u : 1252u) << "LC_ALL=" << locale;
}

}  // namespace
