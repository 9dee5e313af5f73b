// Forms: a stored description of a top-level window and its controls, turned into real Win32 windows.
#pragma once

#include <windows.h>

#include <vector>

class FileDropTarget;
class SaveFileDialog;

// The window procedure of every form window.
LRESULT CALLBACK FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

enum class ControlKind { TextBox, PushButton, CheckBox };

// How a control gets its font: the stock default GUI font, or one made from a LOGFONT.
struct FontDescription {
    bool stockDefaultGuiFont = true;
    LOGFONTA logFont{};
};

using EventHandler = void (*)();

struct ControlDescription {
    const char* name;  // the control's name in the form
    ControlKind kind;
    int left, top, width, height;
    const char* caption;
    DWORD style;  // added to WS_CHILD | WS_VISIBLE and the kind's own class style
    DWORD extendedStyle;
    FontDescription font;
    COLORREF textColor;  // text boxes only
    COLORREF backColor;  // text boxes only
    EventHandler onClicked;  // buttons; may be null
};

struct FormDescription {
    const char* caption;
    int left, top, width, height;  // stored outer rectangle
    DWORD style;
    DWORD extendedStyle;
    std::vector<ControlDescription> controls;
    EventHandler onCreated;  // after every control exists, before the window is first shown
};

// A form while it lives: the top-level window and its controls in description order. The windows
// belong to the system; Form only names them.
class Form {
public:
    // Creates the window at (left, top), its controls, shows the controls, raises the created
    // event, then shows the window. False, with nothing left behind, if the window cannot be made.
    bool Create(const FormDescription& description, int left, int top);

    HWND Window() const { return window_; }
    HWND Control(size_t index) const { return index < controls_.size() ? controls_[index] : nullptr; }
    const std::vector<HWND>& Controls() const { return controls_; }

private:
    friend LRESULT CALLBACK FormWindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void HandleCommand(WPARAM wParam, LPARAM lParam);
    HBRUSH HandleTextBoxColors(HDC dc, HWND control);
    void HandleDestroyed();

    const FormDescription* description_ = nullptr;  // we don't own it; it outlives the form
    HWND window_ = nullptr;
    std::vector<HWND> controls_;
    std::vector<HFONT> createdFonts_;   // fonts made from LOGFONTs, deleted with the window
    std::vector<HBRUSH> createdBrushes_;  // text-box back colours, deleted with the window
};

// Whether the message loop has started: a form destroyed before then posts no quit message.
void MarkMessageLoopStarted();
// The number of form windows that exist now.
int LiveFormCount();
// The form whose top-level window is `window`, or null.
Form* FormOfWindow(HWND window);
