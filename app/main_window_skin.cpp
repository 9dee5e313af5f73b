// The skin's share of the program's life: its objects, the skinning of the main window, its release.
#include "app/main_window_skin.h"

#include "skin/graphics_startup.h"

// The main window is still drawn by the system: the skin classes take it over once they exist.
void CreateSkinObjects() {}
void SkinMainWindow() {}
void ReleaseSkin() {
    if (!frameDimensionTime.IsEmpty()) frameDimensionTime.Free();
}
