// The program's entry point.
#include "app/start_program.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return StartProgram(); }
