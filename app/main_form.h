// The main window's form: its stored description, its live windows and its invisible components.
#pragma once

#include "gui/file_drop_target.h"
#include "gui/form.h"
#include "gui/save_dialog.h"

#include <windows.h>

// Controls in the order of the form (which is also their Z order and tab order).
enum MainFormControl : size_t {
    pathBoxIndex,
    patternBoxIndex,
    replacementBoxIndex,
    modifyButtonIndex,
    closeButtonIndex,
    cornerCheckBoxIndex,
};

const FormDescription& MainWindowForm();

// The top-left corner that centres the window on a screen of the given size.
POINT CentredPosition(int screenWidth, int screenHeight);

// The live form and its windows (null before creation and after destruction).
Form& MainForm();
HWND MainWindow();
HWND PathBox();
HWND PatternBox();
HWND ReplacementBox();
HWND ModifyButton();
HWND CloseButton();
HWND CornerCheckBox();

// The invisible components of the form.
SaveFileDialog& SaveDialog();
FileDropTarget& MainFileDropTarget();

// The font of the three text boxes, as stored in the form.
LOGFONTA TextBoxLogFont();
