// Start-up of the GUI layer on the user-interface thread.
#pragma once

// OLE (for drag and drop and the common dialogs) on the calling thread. True if it is ready.
bool InitializeGuiLayer();
