// The save-file dialog: its stored settings, and the file name it remembers from showing to showing.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <functional>
#include <string>

struct SaveDialogSettings {
    const char* title = nullptr;             // none: the system's own title
    const char* initialFileName = "";
    const char* filter = "";                 // "description|pattern|..." (see FilterForSystem)
    DWORD filterIndex = 1;
    const char* initialDirectory = nullptr;  // none
    const char* defaultExtension = "";       // stored with its dot, e.g. ".exe"
    DWORD flags = 0;
};

using SaveDialogPresenter = std::function<bool(OPENFILENAMEA& request)>;

class SaveFileDialog {
public:
    explicit SaveFileDialog(const SaveDialogSettings& settings);

    // Shows the dialog owned by `owner`. Confirmed: true, and the chosen full path becomes the
    // file name the next showing starts from. Cancelled: false, the file name stays.
    bool Show(HWND owner);
    const std::string& FileName() const { return fileName_; }

private:
    SaveDialogSettings settings_;
    std::string fileName_;
};

// The filter as the system wants it: "||" appended unless the text already ends in it, then every
// "|" turned into a NUL (in the ANSI code page: a double-byte character is never split).
std::string FilterForSystem(const std::string& filter);

// The default extension as the system's dialog takes it: without its leading dot, which the dialog
// adds itself (given ".exe" it would save "name..exe").
std::string DefaultExtensionForSystem(const char* extension);

// Replaces the system's dialog (GetSaveFileNameA); an empty presenter puts the system's back.
void SetSaveDialogPresenter(SaveDialogPresenter presenter);
