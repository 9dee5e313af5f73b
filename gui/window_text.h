// A window's text as a string.
#pragma once

#include <windows.h>

#include <string>

// The window's ANSI text; empty when it has none.
std::string WindowText(HWND window);
