// The start and the end of the program.
#include "app/start_program.h"

#include "app/main_form.h"
#include "app/main_window_skin.h"
#include "app/patch_command.h"
#include "gui/gui_startup.h"
#include "gui/message_loop.h"
#include "skin/graphics_startup.h"

#include <cstdlib>

namespace {
int releaseAtExitRuns = 0;
bool releaseAtExitRegistered = false;
}  // namespace

void ReleaseAtExit() {
    if (releaseAtExitRuns > 0) return;
    releaseAtExitRuns = 1;
    if (!fileBytes.IsEmpty()) fileBytes.Free();
    if (!patchedBytes.IsEmpty()) patchedBytes.Free();
    ReleaseSkin();
}

int ReleaseAtExitRuns() { return releaseAtExitRuns; }

int StartProgram() {
    InitializeGuiLayer();
    CreateSkinObjects();
    if (!releaseAtExitRegistered) releaseAtExitRegistered = std::atexit(ReleaseAtExit) == 0;
    InitSkinModule();

    const POINT position =
        CentredPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    if (!MainForm().Create(MainWindowForm(), position.x, position.y)) return 0;
    if (LiveFormCount() > 0) RunMessageLoop();
    return 0;
}
