// The skin's share of the program's life: its objects, the skinning of the main window, its release.
#pragma once

// Start-up: the skin objects of the main window and its controls.
void CreateSkinObjects();
// Created event: hands the main window and its controls to the skin, before the window is shown.
void SkinMainWindow();
// End of the program: frees what CreateSkinObjects and the skin's start-up made.
void ReleaseSkin();
