// Peak memory and time of a whole patch of a large file, through the real patch command under Wine.
#include "app/main_form.h"
#include "app/patch_command.h"
#include "gui/message_box.h"
#include "gui/save_dialog.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

SIZE_T PeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize;
}

SIZE_T PeakCommitted() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakPagefileUsage;
}

// A file of `size` pseudo-random bytes with the pattern in its middle, written in pieces so that the
// benchmark itself holds no copy of it.
bool MakeFile(const std::string& path, long long size, const std::string& pattern) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::vector<char> piece(1 << 20);
    unsigned state = 12345;
    for (long long written = 0; written < size; written += piece.size()) {
        for (char& byte : piece) {
            state = state * 1103515245u + 12345u;
            byte = static_cast<char>('a' + (state >> 16) % 20);  // never the pattern's 'Z'
        }
        if (written <= size / 2 && size / 2 < written + static_cast<long long>(piece.size()))
            std::memcpy(piece.data() + (size / 2 - written), pattern.data(), pattern.size());
        DWORD done = 0;
        WriteFile(file, piece.data(), static_cast<DWORD>(piece.size()), &done, nullptr);
    }
    CloseHandle(file);
    return true;
}

}  // namespace

int main() {
    const long long sizeMiB = 256;
    const long long size = sizeMiB << 20;
    char temporaryFolder[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temporaryFolder);
    const std::string source = std::string(temporaryFolder) + "kestrune-bench-source.bin";
    const std::string target = std::string(temporaryFolder) + "kestrune-bench-target.exe";
    if (!MakeFile(source, size, "ZZZZ-pattern-ZZZZ")) {
        std::printf("cannot create %s\n", source.c_str());
        return 1;
    }

    FormDescription form = MainWindowForm();
    form.onCreated = nullptr;
    MainForm().Create(form, 0, 0);
    SetWindowTextA(PathBox(), source.c_str());
    SetWindowTextA(PatternBox(), "ZZZZ-pattern-ZZZZ");
    SetWindowTextA(ReplacementBox(), "patched");
    SetSaveDialogPresenter([&](OPENFILENAMEA& request) {
        std::strncpy(request.lpstrFile, target.c_str(), request.nMaxFile - 1);
        return true;
    });
    std::string shown;
    SetMessageBoxPresenter([&](HWND, const char* text, const char*, UINT) {
        shown = text;
        return IDOK;
    });

    const SIZE_T workingSetBefore = PeakWorkingSet();
    const SIZE_T committedBefore = PeakCommitted();
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    PatchCommand();
    QueryPerformanceCounter(&end);
    const double seconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
    const double workingSetMiB = double(PeakWorkingSet() - workingSetBefore) / (1 << 20);
    const double committedMiB = double(PeakCommitted() - committedBefore) / (1 << 20);

    std::printf("patch of a %lld MiB file (read, find, replace, save): %.2f s\n", sizeMiB, seconds);
    std::printf("peak working set added: %.1f MiB (%.2f N); peak committed added: %.1f MiB (%.2f N); "
                "goal: under 2N + a few MiB = %lld MiB\n",
                workingSetMiB, workingSetMiB / double(sizeMiB), committedMiB,
                committedMiB / double(sizeMiB), 2 * sizeMiB);
    std::printf("found at %d, saved %s\n", foundAt, shown.empty() ? "nothing" : "and confirmed");
    DeleteFileA(source.c_str());
    DeleteFileA(target.c_str());
    DestroyWindow(MainWindow());
    return 0;
}
