// The window procedures that drive skinned child controls while their parent is a layered window,
// and the switch of a window's skinned children into that mode.
#include "skin/layered_procedures.h"

#include "skin/layered_window.h"
#include "skin/window_properties.h"

namespace {

// A layered parent shows its children only in its composite: every change of look composes it.
void ComposeParent(HWND child) noexcept {
    ComposeSkin(GetParent(child));
}

// Passes the message on to the procedure this one replaced, read afresh every time.
LRESULT CallReplacedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    auto* replaced = ReadHandleProperty<WNDPROC>(window, kSavedChildProcKey);
    // Without one (a procedure installed by hand) the message still gets its default handling.
    if (!replaced) return DefWindowProcA(window, message, wParam, lParam);
    return CallWindowProcA(replaced, window, message, wParam, lParam);
}

void SetDrawStateAndCompose(HWND button, DrawState state) noexcept {
    WriteCodeProperty(button, kDrawStateKey, state);
    ComposeParent(button);
}

// Leave tracking, so that the Hot state ends when the pointer leaves the button.
void TrackMouseLeave(HWND button) noexcept {
    TRACKMOUSEEVENT tracking{};
    tracking.cbSize = sizeof(tracking);
    tracking.dwFlags = TME_LEAVE;
    tracking.hwndTrack = button;
    tracking.dwHoverTime = 0;
    TrackMouseEvent(&tracking);
}

// The new look is on screen before the button's own procedure handles the message (and, for a
// release, before the click is reported).
void UpdateButtonLook(HWND button, UINT message, WPARAM wParam) noexcept {
    const auto state = ReadCodeProperty<DrawState>(button, kDrawStateKey);
    switch (message) {
        case WM_MOUSEMOVE:
            if (state == DrawState::Hot || state == DrawState::Pressed) return;
            TrackMouseLeave(button);
            SetDrawStateAndCompose(button, DrawState::Hot);
            return;
        case WM_MOUSELEAVE:
            SetDrawStateAndCompose(button, DrawState::Normal);
            return;
        case WM_LBUTTONDOWN:
            SetDrawStateAndCompose(button, DrawState::Pressed);
            return;
        case WM_LBUTTONUP:
            SetDrawStateAndCompose(
                button, state == DrawState::Pressed ? DrawState::Hot : DrawState::Normal);
            return;
        case WM_ENABLE:
            SetDrawStateAndCompose(button, wParam ? DrawState::Normal : DrawState::Disabled);
            return;
        default:
            return;
    }
}

bool ChangesPanelLook(UINT message) noexcept {
    switch (message) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_CHAR:
        case WM_IME_CHAR:
        case WM_KEYDOWN:
        case WM_SETTEXT:
        case WM_CUT:
        case WM_PASTE:
        case WM_LBUTTONUP:
            return true;
        default:
            return false;
    }
}

// Replaces the child's procedure, keeping the one it replaces where the new one will find it.
void InstallLayeredProc(HWND child, WNDPROC procedure) noexcept {
    // Stored before the switch, so the first message the new procedure sees can be passed on.
    WriteProperty(child, kSavedChildProcKey, GetWindowLongPtrA(child, GWLP_WNDPROC));
    SetWindowLongPtrA(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
}

}  // namespace

LRESULT CALLBACK LayeredButtonProc(HWND button, UINT message, WPARAM wParam,
                                   LPARAM lParam) noexcept {
    UpdateButtonLook(button, message, wParam);
    return CallReplacedProc(button, message, wParam, lParam);
}

LRESULT CALLBACK LayeredPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    // The focus state changes first: a composition that follows the loss of the focus must not be
    // kept for the caret.
    if (message == WM_SETFOCUS) {
        caretPhase = 0;
        focusWindow = GetParent(panel);
        focusEdit = panel;
    } else if (message == WM_KILLFOCUS) {
        focusEdit = nullptr;
        focusWindow = nullptr;
    }
    const LRESULT result = CallReplacedProc(panel, message, wParam, lParam);
    // After the edit control has handled it, so the composite shows the text as it now is.
    if (ChangesPanelLook(message)) ComposeParent(panel);
    return result;
}

void PutChildrenInLayeredMode(HWND window) noexcept {
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const auto type = ReadCodeProperty<ControlType>(child, kTypeKey);
        if (type == ControlType::None) continue;
        // The ordinary-mode procedure comes off first.
        if (auto ordinary = ReadProperty(child, kSavedProcKey)) {
            SetWindowLongPtrA(child, GWLP_WNDPROC, ordinary);
            RemovePropA(child, kSavedProcKey);
        }
        if (ReadProperty(child, kSavedChildProcKey) != 0) continue;
        if (type == ControlType::ImageButton) {
            InstallLayeredProc(child, LayeredButtonProc);
        } else if (type == ControlType::Panel) {
            InstallLayeredProc(child, LayeredPanelProc);
        }
    }
}
