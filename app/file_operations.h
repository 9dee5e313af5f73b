// Reading a whole file, and writing a whole file so that a failure never damages the target.
#pragma once

#include "skin/byte_buffer.h"

// The whole content of a file. Empty for an empty path (the file system is not touched), a file
// that cannot be opened for reading with write sharing denied (missing, a folder, locked, no
// access), a read error, an empty file, and a file of 2 GiB or more or one for which memory is
// short. A read that returns fewer bytes than the file's length gives the bytes read.
ByteBuffer ReadWholeFile(const char* path);

// Writes all bytes (none for an empty buffer) to the file, created or replaced. The bytes go to a
// temporary file beside the target, which then replaces the target in one step: on any failure the
// target is as it was and no temporary file is left. False for an empty path, a read-only target,
// a folder, a target that cannot be opened for writing, and any failure to write or replace.
bool WriteWholeFile(const char* path, const ByteBuffer& bytes);
