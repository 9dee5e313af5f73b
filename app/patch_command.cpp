// The patch command: read the file, replace the first occurrence, save a copy where the user says.
#include "app/patch_command.h"

#include "app/byte_operations.h"
#include "app/file_operations.h"
#include "app/main_form.h"
#include "app/program_texts.h"
#include "gui/message_box.h"
#include "skin/control_painter.h"

ByteBuffer fileBytes;
std::int32_t foundAt = 0;
std::int32_t patternLength = 0;
ByteBuffer patchedBytes;

void ShowMessage(const char* text, UINT iconFlags) {
    const UINT style = (iconFlags & MB_SYSTEMMODAL) ? iconFlags : iconFlags | MB_TASKMODAL;
    ShowMessageBox(nullptr, text, messageCaption, MB_OK | style);
}

void PatchCommand() {
    const std::string path = ReadWindowText(PathBox());
    fileBytes = ReadWholeFile(path.c_str());
    const ByteBuffer pattern = TextToBytes(ReadWindowText(PatternBox()).c_str());
    foundAt = FindBytes(fileBytes, pattern);
    if (foundAt == -1) {
        ShowMessage(patternNotFoundText, MB_ICONERROR);
        return;
    }

    patternLength = TextByteLength(ReadWindowText(PatternBox()).c_str());
    const ByteBuffer replacement = TextToBytes(ReadWindowText(ReplacementBox()).c_str());
    bool outOfMemory = false;
    ByteBuffer patched = ReplaceBytes(fileBytes, foundAt, patternLength, replacement, &outOfMemory);
    if (outOfMemory) {
        // A file whose content cannot be held twice is treated like a file that cannot be read.
        fileBytes.Free();
        foundAt = -1;
        ShowMessage(patternNotFoundText, MB_ICONERROR);
        return;
    }
    patchedBytes = std::move(patched);

    // The dialog is shown twice in a row; only the second choice counts.
    SaveDialog().Show(MainWindow());
    if (!SaveDialog().Show(MainWindow())) return;

    if (WriteWholeFile(SaveDialog().FileName().c_str(), patchedBytes)) {
        ShowMessage(patchDoneText, 0);
    } else {
        ShowMessage(saveFailedText, MB_ICONERROR);
    }
}
