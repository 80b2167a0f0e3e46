// The window procedure as the user meets it, under wine: the real main
// window, created afresh for each test in this process and driven by the
// messages a user's clicks and menu choices produce (clicks, commands,
// dialogs, the endings' announcements, the search's repaints and what the
// window draws). Message boxes and dialogs the program opens are recorded
// and closed by a hook, as a user would close them with their button.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "board/fen.h"
#include "eval/evalcache.h"
#include "eval/settings.h"
#include "game/cable.h"
#include "search/history.h"
#include "search/search.h"
#include "search/ttable.h"
#include "ui/boardview.h"
#include "ui/frontend.h"
#include "ui/gameplay.h"
#include "ui/mainwindow.h"
#include "ui/resources/resourceids.h"

namespace zarvi::test {
namespace {

// A message box or dialog the program opened: its title, the texts of its
// static controls (one per line), its owner and whether it is topmost.
struct SeenBox {
    std::string title, text;
    HWND owner;
    bool topmost;
};

// Called with each dialog or message box when it opens, before the hook
// presses its default button; and the boxes seen.
std::function<void(HWND)> onDialog;
std::vector<SeenBox> boxes;

std::set<HWND> handled;

// Dialogs and message boxes (class "#32770") are handed to the test when
// they are activated and closed with their OK button: a posted IDOK that
// their own message loop delivers. They are recorded as they go, when
// every text has long been filled in.
LRESULT CALLBACK dialogHook(int code, WPARAM wParam, LPARAM lParam) {
    HWND box = reinterpret_cast<HWND>(wParam);
    char name[256], line[512];
    if (code == HCBT_ACTIVATE && GetClassNameA(box, name, sizeof name) && lstrcmpA(name, "#32770") == 0 &&
        handled.insert(box).second) {
        if (onDialog) onDialog(box);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    if (code == HCBT_DESTROYWND && handled.erase(box)) {
        std::string text;
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (GetClassNameA(child, name, sizeof name) && lstrcmpiA(name, "Static") == 0 &&
                GetWindowTextA(child, line, sizeof line) > 0)
                text += (text.empty() ? "" : "\n") + std::string(line);
        GetWindowTextA(box, name, sizeof name);
        boxes.push_back({name, text, GetWindow(box, GW_OWNER), (GetWindowLongPtrA(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class Window : public ::testing::Test {
protected:
    void SetUp() override {
        settings.useBook = 0;
        settings.depthFromStyle = 1;  // new games keep the tests' depth
        setDepthLimit(2);             // enough to see mates in one, quick enough for many games
        resetBoardState();
        boxes.clear();
        ASSERT_NE(createMainWindow(frontEnd.instance), nullptr);
        ShowWindow(window(), SW_SHOW);
        UpdateWindow(window());
        startNewGame();
    }
    void TearDown() override {
        frontEnd.engineThinking = 0;
        onDialog = nullptr;
        if (IsWindow(window())) SendMessageA(window(), WM_CLOSE, 0, 0);
        EXPECT_FALSE(IsWindow(window()));
        // Closing released the search tables; the next window's games need them.
        ASSERT_TRUE(allocateTranspositionTable(game().searcher->hashFactorInUse));
        ASSERT_TRUE(allocateEvaluationCache(game().searcher->hashFactorInUse));
        // The quit message of the destroyed window belongs to no message loop.
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
        settings = saved;
    }

    static HWND window() { return frontEnd.mainWindow; }
    static cable& game() { return *frontEnd.game; }
    // A left click at client pixel (x, y), as the window receives it.
    static void click(int x, int y) { SendMessageA(window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
    // A click in the middle of a square's cell on the board as drawn now.
    static void clickSquare(int square) {
        const int column = frontEnd.boardFlipped ? 8 - fileOf(square) : fileOf(square) - 1;
        const int row = frontEnd.boardFlipped ? rankOf(square) - 1 : 8 - rankOf(square);
        click(column * squareSize + squareSize / 2, row * squareSize + squareSize / 2);
    }
    static void playMove(int from, int to) {
        clickSquare(from);
        clickSquare(to);
    }
    static void command(int id) { SendMessageA(window(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    // The game set to a position (white to move) with an empty history.
    static void setPosition(const char* fen) {
        FenGame description{};
        ASSERT_EQ(readFen(game().board, fen, description), "");
        gameHistory.moveCount = 0;
        gameHistory.historyKey1[0] = game().board.key2;
        gameHistory.historyKey2[0] = game().board.key3;
        redraw();
    }

    Settings saved = settings;
};

// The cell at screen row and column shows the square image, but for a
// margin that lines may cross.
::testing::AssertionResult shows(int row, int column, const char* name, int margin = 1) {
    HDC window = GetDC(frontEnd.mainWindow), image = CreateCompatibleDC(window);
    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), name);
    HGDIOBJ previous = SelectObject(image, bitmap);
    bool same = bitmap != nullptr;
    for (int y = margin; y < 60 - margin; ++y)
        for (int x = margin; same && x < 60 - margin; ++x)
            same = GetPixel(window, column * 60 + x, row * 60 + y) == GetPixel(image, x, y);
    SelectObject(image, previous);
    DeleteObject(bitmap);
    DeleteDC(image);
    ReleaseDC(frontEnd.mainWindow, window);
    if (same) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "cell " << row << "," << column << " is not " << name;
}

// What the user can see of the game's state, in one line.
std::string state() {
    const FrontEnd& f = frontEnd;
    char text[160];
    std::snprintf(text, sizeof text, "clicks %d shown %d on %d at %d,%d plies %d first %d user %d turned %d over %d",
                  f.clickCount, f.showSelection, f.clickCount ? f.selectedSquare : 0, f.selectionX, f.selectionY,
                  gameHistory.moveCount, gameHistory.moveCount ? gameHistory.historyMoves[1].to : 0, f.userSide,
                  f.boardFlipped, f.gameOver);
    return text;
}

// The first click selects one of the user's pieces, a second one of them
// takes the selection over, any other square is the move's destination.
TEST_F(Window, ClicksSelectAndMove) {
    const char* const rooks = "R7/8/8/8/8/2k5/8/6KR w - - 0 1";  // on a8 and h1, the corner cells
    struct Case { const char* fen; int turned; std::vector<std::pair<int, int>> pixels; const char* after; };
    const Case cases[] = {
        {rooks, 0, {{0, 0}}, "clicks 1 shown 1 on 81 at 0,0 plies 0 first 0"},
        {rooks, 0, {{0, 0}, {479, 479}}, "clicks 1 shown 1 on 18 at 420,420 plies 0 first 0"},
        {rooks, 1, {{0, 0}}, "clicks 1 shown 1 on 18 at 0,0 plies 0 first 0"},
        {rooks, 1, {{479, 479}}, "clicks 1 shown 1 on 81 at 420,420 plies 0 first 0"},
        {rooks, 1, {{119, 0}}, "clicks 1 shown 1 on 17 at 60,0 plies 0 first 0"},
        // Beside the board, on an empty square or on the other side's piece: nothing.
        {startFen, 0, {{480, 10}, {10, 480}, {0xFFFF, 0xFFFF}, {270, 270}, {270, 90}}, "clicks 0 shown 0 on 0 at 0,0"},
        {startFen, 0, {{270, 390}, {480, 10}}, "clicks 1 shown 1 on 25 at 240,360 plies 0 first 0"},
        {startFen, 0, {{270, 390}, {210, 390}, {210, 390}}, "clicks 1 shown 1 on 24 at 180,360 plies 0 first 0"},
        // An illegal move only clears the selection; a legal one is answered.
        {startFen, 0, {{270, 390}, {270, 210}}, "clicks 0 shown 0 on 0 at 240,360 plies 0 first 0"},
        {startFen, 0, {{270, 390}, {270, 270}}, "clicks 0 shown 0 on 0 at 240,360 plies 2 first 45"},
        // A pawn reaching the last rank becomes a queen, capturing or not.
        {"8/4P3/8/8/8/2k5/8/K7 w - - 0 1", 0, {{270, 90}, {270, 30}}, "clicks 0 shown 0 on 0 at 240,60 plies 2 first 13"},
        {"3r4/4P3/8/8/8/2k5/8/K7 w - - 0 1", 0, {{270, 90}, {210, 30}}, "clicks 0 shown 0 on 0 at 240,60 plies 2 first 5"},
    };
    settings.canResign = 0;
    for (const Case& c : cases) {
        startNewGame();
        setPosition(c.fen);
        resetBoardState();
        frontEnd.boardFlipped = c.turned;
        for (const auto& [x, y] : c.pixels) click(x, y);
        EXPECT_EQ(state().substr(0, std::strlen(c.after)), c.after) << c.fen;
        EXPECT_EQ(state().substr(state().find(" user")), " user 0 turned " + std::to_string(c.turned) + " over 0");
    }
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(game().board.squares[84], queen);
}

// Every command from the same game: e2-e4 answered, d2 selected, the game
// over or not. Dialogs show their settings and store every box the user
// toggles. After the state: the level, then the book, knowledge,
// selectivity, resign, thinking and grid settings.
TEST_F(Window, CommandsActOnTheGame) {
    const std::string kept = "clicks 1 shown 1 on 24 at 180,360 plies 2 first 45 user 0 turned 0 over 0 level ";
    const std::pair<int, std::string> cases[] = {
        {-ID_NEW_GAME, "clicks 0 shown 0 on 0 at 180,360 plies 0 first 0 user 0 turned 0 over 0 level 5 011011"},
        {ID_SWITCH_SIDES, "clicks 0 shown 0 on 0 at 180,360 plies 3 first 45 user 1 turned 1 over 0 level 5 011011"},
        {-ID_SWITCH_SIDES, "clicks 1 shown 1 on 24 at 180,360 plies 2 first 45 user 0 turned 0 over 1 level 5 011011"},
        {-ID_RETRACT, "clicks 1 shown 1 on 24 at 180,360 plies 0 first 0 user 0 turned 0 over 0 level 5 011011"},
        {ID_LEVEL_NORMAL, kept + "25 011011"},
        {ID_LEVEL_STANDARD, kept + "125 011011"},
        {ID_ABOUT, kept + "5 011011 | About this thingy: Chess engine version 1.522\nGUI date 28-March-2002"},
        {ID_ENGINE_OPTIONS, kept + "5 100111 | options...: Opening book.=0 Positional knowledge.=1 Selectivity.=1 "
                                   "I can resign.=0"},
        {ID_BOARD_OPTIONS, kept + "5 011000 | options...: Show thinking.=1 Show ###.=1"},
        {5003, kept + "5 011011"},
    };
    settings.canResign = 0;
    const Settings initial = settings;
    for (const auto& [id, expected] : cases) {
        settings = initial;
        startNewGame();
        command(ID_LEVEL_BLITZ);
        playMove(25, 45);
        clickSquare(24);
        frontEnd.gameOver = id < 0;  // a negative id: the same command with the game over
        boxes.clear();
        std::string shown;
        onDialog = [&](HWND dialog) {
            char text[64];
            for (int box : {ID_USE_BOOK, ID_POSITIONAL_KNOWLEDGE, ID_SELECTIVITY, ID_CAN_RESIGN, ID_SHOW_THINKING,
                            ID_SHOW_GRID}) {
                if (!GetDlgItemTextA(dialog, box, text, sizeof text)) continue;
                shown += std::string(shown.empty() ? "" : " ") + text + "=" + std::to_string(IsDlgButtonChecked(dialog, box));
                CheckDlgButton(dialog, box, IsDlgButtonChecked(dialog, box) ? BST_UNCHECKED : BST_CHECKED);
            }
        };
        command(std::abs(id));
        const Settings& s = settings;
        std::string after = state() + " level " + std::to_string(s.levelSeconds) + " " +
                            std::to_string(s.useBook) + std::to_string(s.positionalKnowledge) +
                            std::to_string(s.selectivity) + std::to_string(s.canResign) +
                            std::to_string(s.showThinking) + std::to_string(s.showGrid);
        for (const SeenBox& box : boxes) after += " | " + box.title + ": " + (shown.empty() ? box.text.substr(0, 49) : shown);
        EXPECT_EQ(after, expected) << id;
    }
    // A new game frees a depth that the style file did not fix; the board
    // options redraw at once (b8's knight where the grid line was).
    settings.depthFromStyle = 0;
    command(ID_NEW_GAME);
    EXPECT_TRUE(settings.fixedDepth == 0 && settings.maxDepth == 24);
    onDialog = [](HWND dialog) { CheckDlgButton(dialog, ID_SHOW_GRID, BST_UNCHECKED); };
    command(ID_BOARD_OPTIONS);
    EXPECT_TRUE(shows(0, 1, "CNCASN", 0));
    // Closing releases the search tables.
    SendMessageA(window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(transpositionTable.entries, nullptr);
}

// Each ending is one system-modal message box without owner, in the
// language of the moment, after the user's move (and the moves before it,
// entered directly) and the engine's reply, if any; the board then waits
// for a new game or retract.
TEST_F(Window, EndingsAreAnnounced) {
    const char* const cases[][4] = {
        {"6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1", "a1a8", "CheckMate! You Win!!", "1"},
        {"4r1k1/5ppp/8/8/8/8/P5PP/7K w - - 0 1", "a2a3", "CheckMATE! This is easy!", "2"},
        {"k7/2K5/8/1Q6/8/8/8/8 w - - 0 1", "b5b6", "This is a Draw!", "1"},
        {"k7/8/8/8/8/8/8/K6R w - - 99 80", "h1h2", "Draw because the 50th move rule.", "1"},
        {"7k/8/8/8/8/8/2Q5/KQ6 w - - 0 1", "a1a2", "Okey I give up!", "2"},
        {startFen, "g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1 f6g8 g1f3", "Draw because repetition!", "9"},
        {"6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1", "a1a8", "Jaque Mate! Tu ganas!", "1"},
    };
    const auto square = [](const char* text) { return 10 * (text[1] - '0') + text[0] - 'a' + 1; };
    for (const auto& [fen, moves, text, plies] : cases) {
        startNewGame();
        boxes.clear();
        settings.language = text[0] == 'J' ? 0 : 1;
        setPosition(fen);
        const char* m = moves;
        for (int side = white; std::strlen(m) > 4; m += 5, side = 1 - side)
            ASSERT_EQ(game().enterUserMove(side, square(m), square(m + 2)), 1);
        playMove(square(m), square(m + 2));  // the last move, as clicks
        ASSERT_EQ(boxes.size(), 1u) << text;
        EXPECT_EQ(boxes[0].text, text);
        EXPECT_EQ(boxes[0].title, settings.language ? "end of game" : "fin del juego");
        EXPECT_TRUE(boxes[0].owner == nullptr && boxes[0].topmost && frontEnd.gameOver == 1) << text;
        EXPECT_EQ(gameHistory.moveCount, std::stoi(plies)) << text;
        clickSquare(18);
        clickSquare(11);
        EXPECT_EQ(frontEnd.clickCount, 0) << text;
    }
}

// While the engine thinks, what waits in the queue is dispatched by the
// search's polls, which paint and drop clicks, commands and closing.
TEST_F(Window, TheSearchPaintsAndDropsWhatWaits) {
    int& pollInterval = game().searcher->pollInterval;
    const int savedInterval = pollInterval;
    pollInterval = 1;  // a poll at every node
    setDepthLimit(3);
    InvalidateRect(window(), nullptr, FALSE);
    PostMessageA(window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(210, 390));
    PostMessageA(window(), WM_COMMAND, ID_NEW_GAME, 0);
    PostMessageA(window(), WM_COMMAND, ID_SWITCH_SIDES, 0);
    PostMessageA(window(), WM_CLOSE, 0, 0);
    playMove(25, 45);
    pollInterval = savedInterval;
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, window(), 0, 0, PM_NOREMOVE | PM_QS_POSTMESSAGE));
    EXPECT_FALSE(GetUpdateRect(window(), nullptr, FALSE));
    EXPECT_EQ(state(), "clicks 0 shown 0 on 0 at 240,360 plies 2 first 45 user 0 turned 0 over 0");
}

// The board from either side with the grid, without it, and the selection
// frame two pixels inside the cell.
TEST_F(Window, DrawsTheBoardFromEitherSide) {
    // Painting draws the board over whatever covered it.
    HDC dc = GetDC(window());
    PatBlt(dc, 0, 0, 480, 480, WHITENESS);
    InvalidateRect(window(), nullptr, FALSE);
    UpdateWindow(window());
    EXPECT_TRUE(shows(0, 0, "TNCASB") && shows(0, 3, "DNCASN") && shows(1, 4, "PNCASN") && shows(4, 4, "CASB") &&
                shows(6, 7, "PBCASN") && shows(7, 4, "RBCASN"));
    for (int i = 0; i < 480; i += 7) EXPECT_TRUE(GetPixel(dc, 60, i) == 0 && GetPixel(dc, i, 240) == 0) << i;
    frontEnd.boardFlipped = 1;
    settings.showGrid = 0;
    clickSquare(25);  // e2, turned: row 1, column 3
    EXPECT_TRUE(shows(0, 3, "RBCASN", 0) && shows(0, 0, "TBCASB", 0) && shows(7, 7, "TNCASB", 0) &&
                shows(7, 4, "DNCASN", 0) && shows(3, 3, "CASB", 0) && shows(1, 3, "PBCASB", 3));
    for (int i = 2; i < 58; ++i)
        EXPECT_TRUE(GetPixel(dc, 180 + i, 62) == 0 && GetPixel(dc, 180 + i, 118) == 0 &&
                    GetPixel(dc, 182, 60 + i) == 0 && GetPixel(dc, 238, 60 + i) == 0) << i;
    ReleaseDC(window(), dc);
}

}  // namespace
}  // namespace zarvi::test

// What WinMain does before its message loop, once for the whole run: the
// game with small tables, common controls, the window class.
int main(int argc, char** argv) {
    using namespace zarvi;
    testing::InitGoogleTest(&argc, argv);
    settings.language = 1;
    settings.hashSizeFactor = 1;
    frontEnd.game = new cable;
    frontEnd.instance = GetModuleHandleA(nullptr);
    InitCommonControls();
    if (!registerMainWindowClass(frontEnd.instance) ||
        !SetWindowsHookExA(WH_CBT, test::dialogHook, nullptr, GetCurrentThreadId()))
        return 1;
    return RUN_ALL_TESTS();
}
