// The save-file dialog: its stored settings, and the file name it remembers from showing to showing.
#include "gui/save_dialog.h"

#include <algorithm>
#include <vector>

namespace {

// Long enough for any path the ANSI dialog can return.
constexpr size_t fileNameCapacity = 32 * 1024;

SaveDialogPresenter& InstalledPresenter() {
    static SaveDialogPresenter presenter;
    return presenter;
}

}  // namespace

std::string FilterForSystem(const std::string& filter) {
    std::string result = filter;
    if (result.size() < 2 || result.compare(result.size() - 2, 2, "||") != 0) result += "||";
    // A trail byte of a double-byte character may be the byte of "|": only whole characters count.
    for (size_t i = 0; i < result.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(result[i])) && i + 1 < result.size()) {
            ++i;
        } else if (result[i] == '|') {
            result[i] = '\0';
        }
    }
    return result;
}

std::string DefaultExtensionForSystem(const char* extension) {
    std::string result = extension ? extension : "";
    result.erase(0, result.find_first_not_of('.'));
    return result;
}

void SetSaveDialogPresenter(SaveDialogPresenter presenter) { InstalledPresenter() = std::move(presenter); }

SaveFileDialog::SaveFileDialog(const SaveDialogSettings& settings)
    : settings_(settings), fileName_(settings.initialFileName ? settings.initialFileName : "") {}

bool SaveFileDialog::Show(HWND owner) {
    std::vector<char> file(fileNameCapacity, '\0');
    std::copy_n(fileName_.begin(), std::min(fileName_.size(), fileNameCapacity - 1), file.begin());
    const std::string filter = FilterForSystem(settings_.filter ? settings_.filter : "");
    const std::string defaultExtension = DefaultExtensionForSystem(settings_.defaultExtension);

    OPENFILENAMEA request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.lpstrFilter = filter.c_str();
    request.nFilterIndex = settings_.filterIndex;
    request.lpstrFile = file.data();
    request.nMaxFile = static_cast<DWORD>(file.size());
    request.lpstrInitialDir = settings_.initialDirectory;
    request.lpstrTitle = settings_.title;
    request.Flags = settings_.flags;
    request.lpstrDefExt = defaultExtension.empty() ? nullptr : defaultExtension.c_str();

    const SaveDialogPresenter& presenter = InstalledPresenter();
    const bool confirmed = presenter ? presenter(request) : GetSaveFileNameA(&request) != FALSE;
    if (confirmed) fileName_.assign(file.data());
    return confirmed;
}
