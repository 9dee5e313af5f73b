// Forms: creation of the top-level window and its controls, and the form's own window procedure.
#include "gui/form.h"

#include <ole2.h>

#include <algorithm>

namespace {

constexpr char formWindowClass[] = "KestruneForm";
bool messageLoopStarted = false;
int liveForms = 0;

const char* WindowClassOf(ControlKind kind) {
    return kind == ControlKind::TextBox ? "EDIT" : "BUTTON";
}

bool RegisterFormClass() {
    WNDCLASSEXA windowClass{};
    if (GetClassInfoExA(GetModuleHandleA(nullptr), formWindowClass, &windowClass)) return true;
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = FormWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = formWindowClass;
    return RegisterClassExA(&windowClass) != 0;
}

}  // namespace

LRESULT CALLBACK FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        form->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
        ++liveForms;
    }
    Form* form = FormOfWindow(window);
    if (!form) return DefWindowProcA(window, message, wParam, lParam);
    return form->HandleMessage(message, wParam, lParam);
}

Form* FormOfWindow(HWND window) {
    if (!window) return nullptr;
    char className[sizeof formWindowClass + 1] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, formWindowClass) != 0) return nullptr;
    return reinterpret_cast<Form*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void MarkMessageLoopStarted() { messageLoopStarted = true; }
int LiveFormCount() { return liveForms; }

bool Form::Create(const FormDescription& description, int left, int top) {
    if (!RegisterFormClass()) return false;
    description_ = &description;
    controls_.clear();
    CreateWindowExA(description.extendedStyle, formWindowClass, description.caption,
                    description.style, left, top, description.width, description.height, nullptr,
                    nullptr, GetModuleHandleA(nullptr), this);
    if (!window_) return false;

    // The system gives every overlapped window a caption and a border at creation; the form has
    // neither, so that its window rectangle and its client area coincide.
    SetWindowLongPtrA(window_, GWL_STYLE, static_cast<LONG_PTR>(description.style));
    SetWindowLongPtrA(window_, GWL_EXSTYLE, static_cast<LONG_PTR>(description.extendedStyle));
    SetWindowPos(window_, nullptr, left, top, description.width, description.height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);

    for (const ControlDescription& control : description.controls) {
        HWND child = CreateWindowExA(control.extendedStyle, WindowClassOf(control.kind),
                                     control.caption, WS_CHILD | control.style, control.left,
                                     control.top, control.width, control.height, window_,
                                     reinterpret_cast<HMENU>(controls_.size() + 1),
                                     GetModuleHandleA(nullptr), nullptr);
        HFONT font = nullptr;
        if (control.font.stockDefaultGuiFont) {
            font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        } else if ((font = CreateFontIndirectA(&control.font.logFont))) {
            createdFonts_.push_back(font);
        }
        if (child && font) SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (child) ShowWindow(child, SW_SHOW);
        controls_.push_back(child);
    }

    if (description.onCreated) description.onCreated();
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    return true;
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            HandleCommand(wParam, lParam);
            return 0;
        case WM_CTLCOLOREDIT:
            return reinterpret_cast<LRESULT>(
                HandleTextBoxColors(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
        case WM_LBUTTONDOWN:
            // A press on the form's own surface moves the window as a caption would.
            PostMessageA(window_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
            return 0;
        case WM_DESTROY:
            // Drop targets must be revoked while their windows still exist.
            for (HWND control : controls_) RevokeDragDrop(control);
            return 0;
        case WM_NCDESTROY:
            HandleDestroyed();
            return 0;
        default:
            return DefWindowProcA(window_, message, wParam, lParam);
    }
}

void Form::HandleCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) != BN_CLICKED || !lParam) return;
    const auto found = std::find(controls_.begin(), controls_.end(), reinterpret_cast<HWND>(lParam));
    if (found == controls_.end()) return;
    const ControlDescription& control = description_->controls[found - controls_.begin()];
    if (control.onClicked) control.onClicked();
}

HBRUSH Form::HandleTextBoxColors(HDC dc, HWND control) {
    const auto found = std::find(controls_.begin(), controls_.end(), control);
    if (found == controls_.end())
        return reinterpret_cast<HBRUSH>(DefWindowProcA(window_, WM_CTLCOLOREDIT,
                                                       reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(control)));
    const size_t index = found - controls_.begin();
    const ControlDescription& description = description_->controls[index];
    SetTextColor(dc, description.textColor);
    SetBkColor(dc, description.backColor);
    if (createdBrushes_.size() < controls_.size()) createdBrushes_.resize(controls_.size());
    if (!createdBrushes_[index]) createdBrushes_[index] = CreateSolidBrush(description.backColor);
    return createdBrushes_[index];
}

void Form::HandleDestroyed() {
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    for (HFONT font : createdFonts_) DeleteObject(font);
    for (HBRUSH brush : createdBrushes_)
        if (brush) DeleteObject(brush);
    createdFonts_.clear();
    createdBrushes_.clear();
    window_ = nullptr;
    controls_.clear();
    // The program ends when its last window is gone.
    if (--liveForms == 0 && messageLoopStarted) PostQuitMessage(0);
}
