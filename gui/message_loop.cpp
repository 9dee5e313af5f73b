// The message loop of the user-interface thread, with the keys a form looks at before its controls.
#include "gui/message_loop.h"

#include "gui/form.h"

namespace {

// The form window that a message for `window` (the form itself or one of its controls) belongs to.
HWND FormWindowOf(HWND window) {
    HWND root = window ? GetAncestor(window, GA_ROOT) : nullptr;
    return FormOfWindow(root) ? root : nullptr;
}

bool IsTextBox(HWND window) {
    char className[8] = {};
    GetClassNameA(window, className, sizeof className);
    return lstrcmpiA(className, "Edit") == 0;
}

// A focused control claims Esc only if it asks for every key; a text box never claims it.
bool FocusClaimsKey(const MSG& message) {
    HWND focus = GetFocus();
    if (!focus || IsTextBox(focus)) return false;
    const LRESULT code = SendMessageA(focus, WM_GETDLGCODE, message.wParam,
                                      reinterpret_cast<LPARAM>(&message));
    return (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) != 0;
}

void MoveFocus(HWND form, bool backwards) {
    HWND focus = GetFocus();
    if (focus && !IsChild(form, focus)) focus = nullptr;
    HWND next = GetNextDlgTabItem(form, focus, backwards);
    if (!next) return;
    SetFocus(next);
    // As in a dialog, a text box reached with Tab has its whole text selected.
    if (IsTextBox(next)) SendMessageA(next, EM_SETSEL, 0, -1);
}

}  // namespace

bool PreTranslateFormMessage(const MSG& message) {
    if (message.message != WM_KEYDOWN) return false;
    HWND form = FormWindowOf(message.hwnd);
    if (!form) return false;
    if (message.wParam == VK_ESCAPE) {
        if (FocusClaimsKey(message)) return false;
        SendMessageA(form, WM_CLOSE, 0, 0);
        return true;
    }
    if (message.wParam == VK_TAB && !(GetKeyState(VK_CONTROL) & 0x8000)) {
        MoveFocus(form, (GetKeyState(VK_SHIFT) & 0x8000) != 0);
        return true;
    }
    return false;
}

int RunMessageLoop() {
    MarkMessageLoopStarted();
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (PreTranslateFormMessage(message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
