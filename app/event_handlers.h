// The main window's event handlers (the patch command has a file of its own).
#pragma once

#include <string>

// Created event: PathBox becomes the file-drop target, then the window is handed to the skin.
void OnMainWindowCreated();
// Files dropped on PathBox: the box's text becomes the dropped paths.
void OnFileDropped(const std::string& text);
// CloseButton clicked: the main window is closed once this handler has returned.
void OnCloseClicked();
