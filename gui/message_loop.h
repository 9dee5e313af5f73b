// The message loop of the user-interface thread, with the keys a form looks at before its controls.
#pragma once

#include <windows.h>

// Runs until the quit message arrives; returns its exit code.
int RunMessageLoop();

// Looks at a message before it reaches its window: Esc in a form closes the form, Tab and
// Shift+Tab move the focus between its tab stops. True when the message was consumed.
bool PreTranslateFormMessage(const MSG& message);
