// The program starts by creating and loading its one window; it ends only through the
// window's closing sequence.
#include "main_window.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    tv::MainWindowOptions options;
    options.instance = instance;
    return tv::RunProgram(options);
}
