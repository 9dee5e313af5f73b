// The main window's event handlers.
#include "app/event_handlers.h"

#include "app/main_form.h"
#include "app/main_window_skin.h"

void OnMainWindowCreated() {
    MainFileDropTarget().Register(PathBox());
    SkinMainWindow();
}

void OnFileDropped(const std::string& text) { SetWindowTextA(PathBox(), text.c_str()); }

void OnCloseClicked() {
    // Posted, so that the window is destroyed after the click handler has returned.
    PostMessageA(MainWindow(), WM_CLOSE, 0, 0);
}
