// The program starts by creating and loading its one window; it ends only through the
// window's closing sequence.
#include "main_window.h"
#include "program.h"
#include "system_seam.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    std::string error;
    tv::MainWindowOptions options;
    options.instance = instance;
    const std::unique_ptr<tv::MainWindow> window = tv::MainWindow::Create(options, error);
    if (!window) {
        tv::System().ShowMessage(nullptr, error, tv::kAppTitle, MB_OK);
        return 1;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
