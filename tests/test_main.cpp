// Entry point of the Windows test program: GoogleTest with the system's error boxes turned off.
#include <windows.h>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // A failing test must report and end, never wait on a dialog nobody will answer.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
