// Helpers for the application's tests under Wine: temporary folders, files, message pumping.
#include "tests/app/app_test_support.h"

#include <algorithm>
#include <vector>

TemporaryFolder::TemporaryFolder() {
    char base[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, base);
    static int counter = 0;
    for (;;) {
        path_ = std::string(base) + "kestrune-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++counter);
        if (CreateDirectoryA(path_.c_str(), nullptr)) break;
    }
}

TemporaryFolder::~TemporaryFolder() {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            const std::string full = File(name);
            SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveDirectoryA(full.c_str());
            } else {
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(path_.c_str());
}

std::string TemporaryFolder::Listing() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name != "." && name != "..") names.push_back(name);
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    std::sort(names.begin(), names.end());
    std::string listing;
    for (const std::string& name : names) listing += (listing.empty() ? "" : " ") + name;
    return listing;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    if (!bytes.empty()) WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string ReadFileBytes(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.append(chunk, read);
    CloseHandle(file);
    return bytes;
}

void PumpPendingMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMilliseconds) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMilliseconds) return false;
        PumpPendingMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}
