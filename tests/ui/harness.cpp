#include "harness.h"

#include <commctrl.h>

#include <set>

#include "board/fen.h"
#include "eval/evalcache.h"
#include "game/history.h"
#include "search/ttable.h"
#include "ui/boardview.h"
#include "ui/gameplay.h"
#include "ui/mainwindow.h"

namespace zarvi::test {

namespace {

// The depth of the engine's replies in these tests: enough to see mates in
// one, quick enough for many games.
constexpr int replyDepth = 2;

WindowTest* currentTest = nullptr;
std::set<HWND> handledDialogs;

std::string staticTexts(HWND box) {
    std::string text;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[32];
        char line[512];
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, "Static") != 0 || GetWindowTextA(child, line, sizeof line) == 0) continue;
        if (!text.empty()) text += '\n';
        text += line;
    }
    return text;
}

// Dialogs and message boxes (class "#32770") are handed to the test when
// they are activated and closed with their OK button: a posted IDOK that
// their own message loop delivers. They are recorded as they go, when
// every text has long been filled in.
LRESULT CALLBACK dialogHook(int code, WPARAM wParam, LPARAM lParam) {
    HWND box = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_DESTROYWND && handledDialogs.erase(box) && currentTest) {
        char title[256];
        GetWindowTextA(box, title, sizeof title);
        currentTest->boxes.push_back(
            {title, staticTexts(box), GetWindow(box, GW_OWNER), GetWindowLongPtrA(box, GWL_EXSTYLE)});
    }
    if (code == HCBT_ACTIVATE && currentTest && !handledDialogs.count(box)) {
        char name[32];
        GetClassNameA(box, name, sizeof name);
        if (lstrcmpA(name, "#32770") == 0) {
            handledDialogs.insert(box);
            if (currentTest->onDialog) currentTest->onDialog(box);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// What WinMain does before its message loop, once for the whole run: the
// game with small tables, common controls, the window class.
class ProgramEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        resetBoardState();
        settings.language = 1;
        setDepthLimit(0);
        settings.hashSizeFactor = minHashSizeFactor;
        frontEnd.game = new cable;
        frontEnd.instance = GetModuleHandleA(nullptr);
        InitCommonControls();
        ASSERT_TRUE(registerMainWindowClass(frontEnd.instance));
        ASSERT_NE(SetWindowsHookExA(WH_CBT, dialogHook, nullptr, GetCurrentThreadId()), nullptr);
    }
};

}  // namespace

::testing::Environment* newProgramEnvironment() { return new ProgramEnvironment; }

void WindowTest::SetUp() {
    saved = settings;
    currentTest = this;
    settings.useBook = 0;
    settings.depthFromStyle = 1;  // new games keep the tests' depth
    setDepthLimit(replyDepth);
    openWindow();
}

void WindowTest::TearDown() {
    closeWindow();
    currentTest = nullptr;
    onDialog = nullptr;
    settings = saved;
}

void WindowTest::openWindow() {
    ASSERT_NE(createMainWindow(frontEnd.instance), nullptr);
    ShowWindow(window(), SW_SHOW);
    UpdateWindow(window());
    startNewGame();
}

void WindowTest::closeWindow() {
    frontEnd.engineThinking = 0;
    if (IsWindow(window())) SendMessageA(window(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window()));
    // Closing released the search tables; the next window's games need them.
    const int factor = game().searcher->hashFactorInUse;
    ASSERT_TRUE(allocateTranspositionTable(factor));
    ASSERT_TRUE(allocateEvaluationCache(factor));
    // The quit message of the destroyed window belongs to no message loop.
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

void WindowTest::reopenWindow() {
    closeWindow();
    openWindow();
}

void WindowTest::click(int x, int y) { SendMessageA(window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }

void WindowTest::clickSquare(int square) {
    int column = fileOf(square) - 1;
    int row = 8 - rankOf(square);
    if (frontEnd.boardFlipped) {
        column = 7 - column;
        row = 7 - row;
    }
    click(column * squareSize + squareSize / 2, row * squareSize + squareSize / 2);
}

void WindowTest::playMove(int from, int to) {
    clickSquare(from);
    clickSquare(to);
}

void WindowTest::command(int id) { SendMessageA(window(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void WindowTest::setPosition(const char* fen) {
    FenGame description{};
    ASSERT_EQ(readFen(game().board, fen, description), "");
    ASSERT_EQ(description.sideToMove, white);
    gameHistory.moveCount = 0;
    gameHistory.historyKey1[0] = game().board.key2;
    gameHistory.historyKey2[0] = game().board.key3;
    redraw();
}

int pieceOn(int square) { return frontEnd.game->board.squares[square]; }

namespace {

std::vector<unsigned> bitmapPixels(HDC dc, HBITMAP bitmap, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<unsigned> pixels(size_t(width) * height);
    GetDIBits(dc, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    for (unsigned& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

}  // namespace

std::vector<unsigned> clientPixels(HWND window, int width, int height) {
    HDC dc = GetDC(window);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP copy = CreateCompatibleBitmap(dc, width, height);
    HGDIOBJ previous = SelectObject(memory, copy);
    BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    std::vector<unsigned> pixels = bitmapPixels(memory, copy, width, height);
    DeleteObject(copy);
    DeleteDC(memory);
    ReleaseDC(window, dc);
    return pixels;
}

std::vector<unsigned> resourceImage(const char* name) {
    HBITMAP image = LoadBitmapA(GetModuleHandleA(nullptr), name);
    HDC dc = CreateCompatibleDC(nullptr);
    std::vector<unsigned> pixels = image ? bitmapPixels(dc, image, 60, 60) : std::vector<unsigned>{};
    DeleteDC(dc);
    if (image) DeleteObject(image);
    return pixels;
}

}  // namespace zarvi::test
