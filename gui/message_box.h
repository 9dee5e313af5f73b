// Message boxes, through a presenter that tests may replace.
#pragma once

#include <windows.h>

#include <functional>

using MessageBoxPresenter = std::function<int(HWND owner, const char* text, const char* caption, UINT style)>;

// Shows a message box (MessageBoxA unless a presenter was installed) and returns the button pressed.
int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT style);

// Replaces the system's message box; an empty presenter puts the system's back.
void SetMessageBoxPresenter(MessageBoxPresenter presenter);
