// The skin module's start-up: GDI+, the time frame dimension GUID and the loading-dialog class.
#pragma once

#include "skin/byte_buffer.h"

#include <windows.h>

// The token of GdiplusStartup. GDI+ stays started until the process ends.
extern ULONG_PTR gdiplusToken;

// GDI+'s time frame dimension, the 16 bytes of a GUID, for selecting the first frame of an image.
// Empty before InitSkinModule; the program's exit routine frees it.
extern ByteBuffer frameDimensionTime;

// Starts GDI+, parses frameDimensionTime and registers the loading-dialog window class. Runs once
// before any window exists; failures are not reported (a zero GUID just selects no frame).
void InitSkinModule() noexcept;
