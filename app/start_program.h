// The start and the end of the program.
#pragma once

// Starts the GUI and the skin, creates the main window centred on the screen, runs the message loop
// until the last window is gone, and returns the exit code 0.
int StartProgram();

// Frees the patch buffers and the skin objects. Registered at start-up to run when the program
// ends; however often it is called, it does its work once.
void ReleaseAtExit();

// How many times ReleaseAtExit has done its work (0 or 1).
int ReleaseAtExitRuns();
