// The "NimboLoadDialog" window class: top-level windows that release their thread, image and memory
// when destroyed and can be dragged by their surface.
#pragma once

#include <windows.h>

constexpr const char* kLoadingDialogClassName = "NimboLoadDialog";

// The class's window procedure. On WM_DESTROY it ends the thread in kThreadKey, disposes the image
// in kImageKey and frees the memory in kStreamKey, in that order; with kHitMoveKey 1 a left-button
// press anywhere starts moving the window.
LRESULT CALLBACK LoadingDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Registers the class for the program's module; the result is the class atom (0 on failure).
ATOM RegisterLoadingDialogClass() noexcept;
