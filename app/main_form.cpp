// The main window's form: its stored description, its live windows and its invisible components.
#include "app/main_form.h"

#include "app/event_handlers.h"
#include "app/patch_command.h"
#include "app/program_texts.h"

#include <cstring>

namespace {

constexpr DWORD textBoxStyle = WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
constexpr DWORD buttonStyle = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER;
constexpr DWORD checkBoxStyle = WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;

FontDescription TextBoxFont() { return {false, TextBoxLogFont()}; }

ControlDescription TextBox(const char* name, int top) {
    return {name, ControlKind::TextBox, 201, top, 215, 30, "", textBoxStyle, WS_EX_CLIENTEDGE,
            TextBoxFont(), RGB(0, 0, 0), RGB(255, 255, 255), nullptr};
}

}  // namespace

LOGFONTA TextBoxLogFont() {
    LOGFONTA font{};
    font.lfHeight = -14;
    font.lfWidth = 0;
    font.lfWeight = FW_BOLD;
    font.lfCharSet = GB2312_CHARSET;
    font.lfOutPrecision = OUT_STROKE_PRECIS;
    font.lfClipPrecision = CLIP_STROKE_PRECIS;
    font.lfQuality = DRAFT_QUALITY;
    font.lfPitchAndFamily = VARIABLE_PITCH;
    std::strncpy(font.lfFaceName, textBoxFaceName, LF_FACESIZE - 1);
    return font;
}

const FormDescription& MainWindowForm() {
    static const FormDescription form{
        mainWindowCaption,
        50, 50, 560, 416,
        WS_OVERLAPPED | WS_CLIPCHILDREN,
        0,
        {
            TextBox(pathBoxName, 187),
            TextBox(patternBoxName, 227),
            TextBox(replacementBoxName, 267),
            {modifyButtonName, ControlKind::PushButton, 296, 294, 141, 58, modifyButtonCaption,
             buttonStyle, 0, {}, 0, 0, PatchCommand},
            {closeButtonName, ControlKind::PushButton, 458, 33, 61, 35, closeButtonCaption,
             buttonStyle, 0, {}, 0, 0, OnCloseClicked},
            {cornerCheckBoxName, ControlKind::CheckBox, 544, 400, 16, 32, "", checkBoxStyle, 0, {},
             0, 0, nullptr},
        },
        OnMainWindowCreated,
    };
    return form;
}

POINT CentredPosition(int screenWidth, int screenHeight) {
    const FormDescription& form = MainWindowForm();
    return {(screenWidth - form.width) / 2, (screenHeight - form.height) / 2};
}

Form& MainForm() {
    static Form form;
    return form;
}

HWND MainWindow() { return MainForm().Window(); }
HWND PathBox() { return MainForm().Control(pathBoxIndex); }
HWND PatternBox() { return MainForm().Control(patternBoxIndex); }
HWND ReplacementBox() { return MainForm().Control(replacementBoxIndex); }
HWND ModifyButton() { return MainForm().Control(modifyButtonIndex); }
HWND CloseButton() { return MainForm().Control(closeButtonIndex); }
HWND CornerCheckBox() { return MainForm().Control(cornerCheckBoxIndex); }

SaveFileDialog& SaveDialog() {
    static SaveFileDialog dialog({
        .title = nullptr,
        .initialFileName = saveDialogInitialFileName,
        .filter = saveDialogFilter,
        .filterIndex = 1,
        .initialDirectory = nullptr,
        .defaultExtension = saveDialogDefaultExtension,
        .flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST,
    });
    return dialog;
}

FileDropTarget& MainFileDropTarget() {
    static FileDropTarget target(OnFileDropped);
    return target;
}
