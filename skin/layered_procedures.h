// The window procedures that drive skinned child controls while their parent is a layered window,
// and the switch of a window's skinned children into that mode.
#pragma once

#include <windows.h>

// Image buttons (ControlType 3): mouse and enable messages change the draw state and recompose
// the parent before the button's own procedure (saved under "PngControl_ChildWndProc") gets them.
LRESULT CALLBACK LayeredButtonProc(HWND button, UINT message, WPARAM wParam,
                                   LPARAM lParam) noexcept;

// Panels and text boxes (ControlType 4): after every change of text or focus has reached the
// saved procedure the parent is recomposed; focus changes keep the caret's focus state.
LRESULT CALLBACK LayeredPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

// For each direct child with a ControlType: restores its ordinary-mode procedure (and removes
// "PngControl_WndProc"), then, unless it already has one, installs its layered-mode procedure,
// keeping the replaced one under "PngControl_ChildWndProc". Composes nothing.
void PutChildrenInLayeredMode(HWND window) noexcept;
