#include "ui/mainwindow.h"

#include <commctrl.h>

#include "eval/settings.h"
#include "platform/win32.h"
#include "search/buscador.h"
#include "ui/boardview.h"
#include "ui/dialogs.h"
#include "ui/frontend.h"
#include "ui/gameplay.h"
#include "ui/mainmenu.h"
#include "ui/resources/resourceids.h"

namespace zarvi {

namespace {

constexpr int levelSeconds[levelCount] = {5, 25, 125};

// A board square for a click at client pixel (x, y), 0 outside the board.
// The cell's corner is where the selection frame goes, flipped or not.
struct ClickedCell {
    int square;
    int x;
    int y;
};

ClickedCell cellAt(LPARAM lParam) {
    const unsigned x = LOWORD(lParam);
    const unsigned y = HIWORD(lParam);
    const int column = int(x / squareSize);
    const int row = int(y / squareSize);
    if (column >= boardCells || row >= boardCells) return {0, 0, 0};
    int square = 10 * (8 - row) + column + 1;
    if (frontEnd.boardFlipped) square = 99 - square;
    return {square, column * squareSize, row * squareSize};
}

bool holdsUserPiece(int square) {
    const int piece = frontEnd.game->board.squares[square];
    return piece != 0 && sideOf(piece) == frontEnd.userSide;
}

void selectCell(const ClickedCell& cell) {
    frontEnd.selectedSquare = cell.square;
    frontEnd.selectionX = cell.x;
    frontEnd.selectionY = cell.y;
}

// Commands ------------------------------------------------------------------

void chooseLevel(int item) {
    settings.levelSeconds = levelSeconds[item];
    markLevel(frontEnd.levelMenu, item);
}

void runDialog(const char* name, DLGPROC procedure) {
    DialogBoxParamA(frontEnd.instance, name, frontEnd.mainWindow, procedure, 0);
}

using CommandHandler = void (*)();

struct CommandEntry {
    int id;
    CommandHandler handler;
};

constexpr CommandEntry commandTable[] = {
    {ID_NEW_GAME, startNewGame},
    {ID_QUIT, [] { PostMessageA(frontEnd.mainWindow, WM_CLOSE, 0, 0); }},
    {ID_SWITCH_SIDES, switchSides},
    {ID_RETRACT, retractMove},
    {ID_ABOUT, [] { runDialog("DATOS", aboutDialogProc); }},
    {ID_LEVEL_BLITZ, [] { chooseLevel(0); }},
    {ID_LEVEL_NORMAL, [] { chooseLevel(1); }},
    {ID_LEVEL_STANDARD, [] { chooseLevel(2); }},
    {ID_BOARD_OPTIONS,
     [] {
         runDialog("OPCIONESTABLERO", boardOptionsDialogProc);
         redraw();  // a changed grid shows at once
     }},
    {ID_ENGINE_OPTIONS, [] { runDialog("OPCIONESMOTOR", engineOptionsDialogProc); }},
};

// Messages ------------------------------------------------------------------

LRESULT onCreate(HWND window, WPARAM, LPARAM) {
    frontEnd.mainWindow = window;
    SetMenu(window, buildMainMenu(settings.language, &frontEnd.levelMenu));
    markLevel(frontEnd.levelMenu, 0);
    frontEnd.statusBar = CreateWindowExA(0, STATUSCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0,
                                         0, 0, 0, window, reinterpret_cast<HMENU>(ID_STATUS_BAR),
                                         frontEnd.instance, nullptr);
    setStatusWindow(frontEnd.statusBar);
    loadSquareImages(frontEnd.instance);
    return 0;
}

LRESULT onDestroy(HWND, WPARAM, LPARAM) {
    PostQuitMessage(0);
    return 0;
}

LRESULT onPaint(HWND window, WPARAM, LPARAM) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    drawBoard(dc);
    EndPaint(window, &paint);
    return 0;
}

LRESULT onClose(HWND window, WPARAM, LPARAM) {
    if (frontEnd.engineThinking) return 0;
    freeSearchTables();
    deleteSquareImages();
    DestroyWindow(window);
    return 0;
}

LRESULT onCommand(HWND, WPARAM wParam, LPARAM) {
    const int id = LOWORD(wParam);
    if (frontEnd.engineThinking || id < ID_FIRST_COMMAND || id > ID_LAST_COMMAND) return 0;
    for (const CommandEntry& entry : commandTable)
        if (entry.id == id) entry.handler();
    return 0;
}

// The first click selects one of the user's pieces; the second names the
// destination, or moves the selection to another own piece.
LRESULT onLeftButtonDown(HWND, WPARAM, LPARAM lParam) {
    if (frontEnd.engineThinking || frontEnd.gameOver) return 0;
    const ClickedCell cell = cellAt(lParam);
    if (cell.square == 0) return 0;
    if (frontEnd.clickCount == 0) {
        if (!holdsUserPiece(cell.square)) return 0;
        selectCell(cell);
        frontEnd.clickCount = 1;
        frontEnd.showSelection = 1;
        redraw();
        return 0;
    }
    frontEnd.targetSquare = cell.square;
    if (holdsUserPiece(cell.square)) {
        selectCell(cell);
        redraw();
        return 0;
    }
    playUserMove();
    return 0;
}

using MessageHandler = LRESULT (*)(HWND, WPARAM, LPARAM);

struct MessageEntry {
    UINT message;
    MessageHandler handler;
};

constexpr MessageEntry messageTable[] = {
    {WM_CREATE, onCreate},   {WM_DESTROY, onDestroy}, {WM_PAINT, onPaint},
    {WM_CLOSE, onClose},     {WM_COMMAND, onCommand}, {WM_LBUTTONDOWN, onLeftButtonDown},
};

}  // namespace

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    for (const MessageEntry& entry : messageTable)
        if (entry.message == message) return entry.handler(window, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

bool registerMainWindowClass(HINSTANCE instance) {
    HICON icon = LoadIconA(instance, iconName);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = 0;
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hIconSm = icon;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = windowClassName;
    return RegisterClassExA(&windowClass) != 0;
}

HWND createMainWindow(HINSTANCE instance) {
    return CreateWindowExA(WS_EX_CLIENTEDGE, windowClassName, windowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, windowWidth, windowHeight, nullptr, nullptr, instance, nullptr);
}

}  // namespace zarvi
