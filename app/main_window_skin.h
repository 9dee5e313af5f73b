// The skin's share of the program's life: its objects, the skinning of the main window, its release.
#pragma once

#include <memory>

class SkinWindow;
class PngImageButton;
class PngPanel;

// The four skin objects, from CreateSkinObjects to ReleaseSkin (null outside that time).
extern std::unique_ptr<SkinWindow> mainSkin;
extern std::unique_ptr<PngImageButton> closeButtonSkin;
extern std::unique_ptr<PngImageButton> modifyButtonSkin;
extern std::unique_ptr<PngPanel> boxSkin;

// Start-up: the skin objects of the main window and its controls.
void CreateSkinObjects();
// Created event: hands the main window and its controls to the skin, before the window is shown.
void SkinMainWindow();
// End of the program: frees what CreateSkinObjects and the skin's start-up made.
void ReleaseSkin();
