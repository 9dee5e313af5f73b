// Start-up of the GUI layer on the user-interface thread.
#include "gui/gui_startup.h"

#include <windows.h>
#include <ole2.h>

bool InitializeGuiLayer() {
    // Drop targets need an apartment-threaded OLE on the thread that registers them; it stays up
    // until the process ends.
    return SUCCEEDED(OleInitialize(nullptr));
}
