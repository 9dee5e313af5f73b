// The "NimboLoadDialog" window class: releases its thread, image and memory on WM_DESTROY and lets
// the user drag the window by its surface.
#include "skin/loading_dialog.h"

#include "skin/gdiplus_flat.h"
#include "skin/window_properties.h"

namespace {

// The thread may still be using the image and the image may still read its memory, so the thread
// ends first, the image goes next and the memory last. The properties stay on the window.
void ReleaseLoadingResources(HWND window) noexcept {
    if (HANDLE thread = ReadHandleProperty<HANDLE>(window, kThreadKey)) {
        TerminateThread(thread, 0);
        CloseHandle(thread);
    }
    if (GpImage* image = ReadHandleProperty<GpImage*>(window, kImageKey)) GdipDisposeImage(image);
    if (HGLOBAL memory = ReadHandleProperty<HGLOBAL>(window, kStreamKey)) GlobalFree(memory);
}

LRESULT OnLeftButtonDown(HWND window, WPARAM wParam, LPARAM lParam) noexcept {
    const LRESULT result = DefWindowProcA(window, WM_LBUTTONDOWN, wParam, lParam);
    if (ReadProperty(window, kHitMoveKey) == 1) {
        // Pressing the caption starts the system's move loop, which returns once the button is up.
        ReleaseCapture();
        SendMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    }
    return result;
}

}  // namespace

LRESULT CALLBACK LoadingDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY:
            ReleaseLoadingResources(window);
            return DefWindowProcA(window, message, wParam, lParam);
        case WM_LBUTTONDOWN:
            return OnLeftButtonDown(window, wParam, lParam);
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

ATOM RegisterLoadingDialogClass() noexcept {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = LoadingDialogProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hIcon = nullptr;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = kLoadingDialogClassName;
    windowClass.hIconSm = nullptr;
    return RegisterClassExA(&windowClass);
}
