// The program's entry point: the front end's start values, the style file,
// the game with its engine, the main window and the first game, then the
// message loop until the window is destroyed.
#include <windows.h>

#include <commctrl.h>

#include "eval/settings.h"
#include "game/stylefile.h"
#include "ui/frontend.h"
#include "ui/gameplay.h"
#include "ui/mainwindow.h"

namespace {

// Light grey background, bright blue text: the colours of the book's lines
// on a console, if the program has one.
constexpr WORD bookTextAttribute = 0x79;

int startUpError(const char* text) {
    MessageBoxA(nullptr, text, "Error!", MB_SYSTEMMODAL | MB_ICONEXCLAMATION);
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    using namespace zarvi;
    resetBoardState();
    settings.language = 1;
    setDepthLimit(0);
    // Before the game: the engine's tables are sized by the style file.
    readStyleFile();
    frontEnd.game = new cable;
    frontEnd.instance = instance;
    InitCommonControls();
    if (!registerMainWindowClass(instance)) return startUpError("Registro de la ventana no se pudo...");
    HWND window = createMainWindow(instance);
    if (!window) return startUpError("no se puede crear ventana!");
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    SetConsoleTextAttribute(GetStdHandle(STD_OUTPUT_HANDLE), bookTextAttribute);
    startNewGame();

    MSG message{};
    // GetMessageA gives -1 on an error, which must end the loop too.
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return int(message.wParam);
}
