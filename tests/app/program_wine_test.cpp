// The real program as a separate process: it starts centred and Esc in a text box ends it with code 0.
#include "tests/app/app_test_support.h"

#include <gtest/gtest.h>

namespace {

std::string ProgramPath() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of("\\/") + 1) + "kestrune.exe";
}

HWND FindProgramWindow() { return FindWindowA("KestruneForm", "Kestrune [Beta0.0.1]"); }

TEST(ProgramTest, StartsCentredAndEscapeInATextBoxEndsIt) {
    ASSERT_EQ(FindProgramWindow(), nullptr) << "another instance is running";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + ProgramPath() + "\"";
    ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process));
    HWND window = nullptr;
    EXPECT_TRUE(PumpMessagesUntil([&] { return (window = FindProgramWindow()) && IsWindowVisible(window); },
                                  20000));
    if (window) {
        RECT rect;
        GetWindowRect(window, &rect);
        EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 560) / 2);
        EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - 416) / 2);
        HWND patternBox = GetWindow(GetWindow(window, GW_CHILD), GW_HWNDNEXT);
        PostMessageA(patternBox, WM_KEYDOWN, VK_ESCAPE, 0);
    }
    const DWORD waited = WaitForSingleObject(process.hProcess, 20000);
    EXPECT_EQ(waited, WAIT_OBJECT_0);
    if (waited != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

}  // namespace
