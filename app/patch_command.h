// The patch command: read the file, replace the first occurrence, save a copy where the user says.
#pragma once

#include "skin/byte_buffer.h"

#include <windows.h>

#include <cstdint>

// State of the last patch; it lives from one run to the next and is freed by ReleaseAtExit.
extern ByteBuffer fileBytes;       // the whole content of the file read by the last run
extern std::int32_t foundAt;       // 1-based position of the first match, or -1
extern std::int32_t patternLength;  // byte length of the pattern (written only when found)
extern ByteBuffer patchedBytes;    // the patched content (written only when found)

// Runs when the modify button is clicked.
void PatchCommand();

// A message box without owner, captioned "信息：", with an OK button; task-modal unless the flags
// ask for a system-modal box.
void ShowMessage(const char* text, UINT iconFlags);
