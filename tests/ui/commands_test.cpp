#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>

#include "board/fen.h"
#include "game/history.h"
#include "harness.h"
#include "search/ttable.h"
#include "ui/resources/resourceids.h"

namespace zarvi::test {
namespace {

using Commands = WindowTest;

std::string menuText(HMENU menu, int position) {
    char text[64] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

// The pop-ups of the menu bar with their items, as "title: item=id, ...".
std::string describeMenu(HMENU bar) {
    std::string text;
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
        HMENU popup = GetSubMenu(bar, i);
        text += menuText(bar, i) + ":";
        for (int j = 0; j < GetMenuItemCount(popup); ++j)
            text += " " + menuText(popup, j) + "=" + std::to_string(GetMenuItemID(popup, j));
        text += "\n";
    }
    return text;
}

// A control's place and size in dialog units: x, y, width, height.
struct Layout {
    int id;
    RECT units;
};

// The dialog's client area and controls lie where the template puts them.
std::string layoutErrors(HWND dialog, RECT size, std::initializer_list<Layout> controls) {
    std::string errors;
    // Position and size are each converted to pixels, as the dialog does.
    auto compare = [&](const char* what, RECT units, RECT actual) {
        MapDialogRect(dialog, &units);
        const RECT sized{actual.left, actual.top, actual.right - actual.left, actual.bottom - actual.top};
        if (!EqualRect(&units, &sized)) errors += std::string(what) + " misplaced; ";
    };
    RECT client;
    GetClientRect(dialog, &client);
    compare("client area", size, client);
    for (const Layout& control : controls) {
        RECT actual;
        GetWindowRect(GetDlgItem(dialog, control.id), &actual);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
        compare(std::to_string(control.id).c_str(), control.units, actual);
    }
    return errors;
}

// How far the dialog's centre lies from the screen's.
int offCentre(HWND dialog) {
    RECT r;
    GetWindowRect(dialog, &r);
    return std::abs((r.left + r.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2) +
           std::abs((r.top + r.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2);
}

bool levelChecked(int item) { return GetMenuState(frontEnd.levelMenu, item, MF_BYPOSITION) & MF_CHECKED; }

std::string currentFen() { return writeFen(frontEnd.game->board, FenGame{white, 1}); }

TEST_F(Commands, TheMenuBarInEnglish) {
    EXPECT_EQ(describeMenu(GetMenu(window())),
              "Game: new game=5001 switch sides=5004 retract move=5006 bye bye :(=5002\n"
              "Level: blitz(~5s)=5009 normal(~25s)=5010 standard(~125s)=5011\n"
              "Options: about the board=5014 about the engine=5015\n"
              "Details: version,autor.=5007\n");
    EXPECT_EQ(GetSubMenu(GetMenu(window()), 1), frontEnd.levelMenu);
}

TEST_F(Commands, TheMenuBarInSpanish) {
    settings.language = 0;
    reopenWindow();
    EXPECT_EQ(describeMenu(GetMenu(window())),
              "Partida: inicio=5001 cambiar bandos=5004 <- ups !=5006 adios :(=5002\n"
              "Nivel: blitz(~5s)=5009 normal(~25s)=5010 standard(~125s)=5011\n"
              "Opciones: del tablero...=5014 del motor...=5015\n"
              "Detalles: version,autor.=5007\n");
}

TEST_F(Commands, LevelsMoveTheRadioMark) {
    EXPECT_TRUE(levelChecked(0));
    EXPECT_FALSE(levelChecked(1));
    EXPECT_FALSE(levelChecked(2));
    const int levels[][2] = {{ID_LEVEL_NORMAL, 25}, {ID_LEVEL_STANDARD, 125}, {ID_LEVEL_BLITZ, 5}};
    for (const auto& level : levels) {
        command(level[0]);
        EXPECT_EQ(settings.levelSeconds, level[1]);
        for (int item = 0; item < 3; ++item) EXPECT_EQ(levelChecked(item), item == level[0] - ID_LEVEL_BLITZ) << item;
    }
    // A new game keeps the level.
    command(ID_LEVEL_NORMAL);
    command(ID_NEW_GAME);
    EXPECT_EQ(settings.levelSeconds, 25);
    EXPECT_TRUE(levelChecked(1));
}

TEST_F(Commands, NewGameRestoresTheStart) {
    playMove(25, 45);
    ASSERT_EQ(gameHistory.moveCount, 2);
    clickSquare(24);
    frontEnd.gameOver = 1;
    frontEnd.boardFlipped = 1;
    frontEnd.userSide = black;
    command(ID_NEW_GAME);
    EXPECT_EQ(gameHistory.moveCount, 0);
    EXPECT_EQ(currentFen(), startFen);
    EXPECT_EQ(frontEnd.gameOver, 0);
    EXPECT_EQ(frontEnd.clickCount, 0);
    EXPECT_EQ(frontEnd.showSelection, 0);
    EXPECT_EQ(frontEnd.boardFlipped, 0);
    EXPECT_EQ(frontEnd.userSide, white);
}

TEST_F(Commands, NewGameFreesADepthTheStyleFileDidNotFix) {
    settings.depthFromStyle = 0;
    command(ID_NEW_GAME);
    EXPECT_EQ(settings.fixedDepth, 0);
    EXPECT_EQ(settings.maxDepth, 24);
    setDepthLimit(3);
    settings.depthFromStyle = 1;
    command(ID_NEW_GAME);
    EXPECT_EQ(settings.maxDepth, 3);
}

TEST_F(Commands, SwitchSidesLetsTheEngineMoveForTheUser) {
    clickSquare(25);
    command(ID_SWITCH_SIDES);
    EXPECT_EQ(frontEnd.userSide, black);
    EXPECT_EQ(frontEnd.boardFlipped, 1);
    EXPECT_EQ(frontEnd.clickCount, 0);
    EXPECT_EQ(frontEnd.showSelection, 0);
    ASSERT_EQ(gameHistory.moveCount, 1);
    const Move played = gameHistory.historyMoves[1];
    EXPECT_EQ(sideOf(pieceOn(played.to)), white);
    EXPECT_NE(pieceOn(played.to), 0);
    EXPECT_EQ(frontEnd.engineThinking, 0);

    // The user now plays black from the top of the turned board: e7-e5
    // (always legal after one white move, which cannot give check).
    playMove(75, 55);
    ASSERT_EQ(gameHistory.moveCount, 3);
    EXPECT_EQ(gameHistory.historyMoves[2], (Move{75, 55}));
    EXPECT_EQ(sideOf(pieceOn(gameHistory.historyMoves[3].to)), white);

    // And back: the engine plays black again.
    command(ID_SWITCH_SIDES);
    EXPECT_EQ(frontEnd.userSide, white);
    EXPECT_EQ(frontEnd.boardFlipped, 0);
    EXPECT_EQ(gameHistory.moveCount, 4);
}

TEST_F(Commands, SwitchSidesWaitsWhileTheGameIsOver) {
    frontEnd.gameOver = 1;
    command(ID_SWITCH_SIDES);
    EXPECT_EQ(frontEnd.userSide, white);
    EXPECT_EQ(frontEnd.boardFlipped, 0);
    EXPECT_EQ(gameHistory.moveCount, 0);
}

TEST_F(Commands, RetractTakesBackTheLastPair) {
    playMove(25, 45);
    playMove(24, 44);
    ASSERT_EQ(gameHistory.moveCount, 4);
    clickSquare(27);  // a selection, which retract leaves alone
    frontEnd.gameOver = 1;
    command(ID_RETRACT);
    EXPECT_EQ(gameHistory.moveCount, 2);
    EXPECT_EQ(frontEnd.gameOver, 0);
    EXPECT_EQ(pieceOn(24), pawn);
    EXPECT_EQ(pieceOn(44), 0);
    EXPECT_EQ(pieceOn(45), pawn);
    EXPECT_EQ(frontEnd.clickCount, 1);
    EXPECT_EQ(frontEnd.selectedSquare, 27);
    command(ID_RETRACT);
    EXPECT_EQ(gameHistory.moveCount, 0);
    EXPECT_EQ(currentFen(), startFen);
}

TEST_F(Commands, RetractWithoutAPairOnlyEndsTheGameOver) {
    frontEnd.gameOver = 1;
    command(ID_RETRACT);
    EXPECT_EQ(frontEnd.gameOver, 0);
    EXPECT_EQ(gameHistory.moveCount, 0);
    EXPECT_EQ(currentFen(), startFen);
}

TEST_F(Commands, TheAboutBox) {
    std::string errors = "not shown";
    onDialog = [&](HWND dialog) { errors = layoutErrors(dialog, {0, 0, 186, 125}, {{IDOK, {6, 95, 34, 14}}}); };
    command(ID_ABOUT);
    EXPECT_EQ(errors, "");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "About this thingy");
    EXPECT_EQ(boxes[0].owner, window());
    EXPECT_EQ(boxes[0].text.rfind("Chess engine version 1.522\nGUI date 28-March-2002\n", 0), 0u) << boxes[0].text;
}

TEST_F(Commands, EngineOptionsShowAndStoreTheirBoxes) {
    settings.useBook = 0;
    settings.selectivity = 1;
    settings.positionalKnowledge = 1;
    settings.canResign = 0;
    std::string shown;
    std::string errors = "not shown";
    int distance = -1;
    onDialog = [&](HWND dialog) {
        errors = layoutErrors(dialog, {0, 0, 147, 86},
                              {{ID_USE_BOOK, {7, 8, 107, 12}},
                               {ID_POSITIONAL_KNOWLEDGE, {7, 22, 107, 12}},
                               {ID_SELECTIVITY, {7, 36, 107, 12}},
                               {ID_CAN_RESIGN, {7, 50, 107, 12}},
                               {IDOK, {5, 65, 50, 14}}});
        distance = offCentre(dialog);
        char text[64];
        for (int id : {ID_USE_BOOK, ID_POSITIONAL_KNOWLEDGE, ID_SELECTIVITY, ID_CAN_RESIGN}) {
            GetDlgItemTextA(dialog, id, text, sizeof text);
            shown += std::string(text) + "=" + std::to_string(IsDlgButtonChecked(dialog, id)) + " ";
        }
        CheckDlgButton(dialog, ID_USE_BOOK, BST_CHECKED);
        CheckDlgButton(dialog, ID_SELECTIVITY, BST_UNCHECKED);
    };
    command(ID_ENGINE_OPTIONS);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "options...");
    EXPECT_EQ(shown, "Opening book.=0 Positional knowledge.=1 Selectivity.=1 I can resign.=0 ");
    EXPECT_EQ(errors, "");
    EXPECT_LE(distance, 2);
    EXPECT_EQ(settings.useBook, 1);
    EXPECT_EQ(settings.selectivity, 0);
    EXPECT_EQ(settings.positionalKnowledge, 1);
    EXPECT_EQ(settings.canResign, 0);
}

TEST_F(Commands, BoardOptionsStoreTheirBoxesAndRedraw) {
    std::string shown;
    std::string errors = "not shown";
    int distance = -1;
    onDialog = [&](HWND dialog) {
        errors = layoutErrors(dialog, {0, 0, 140, 64},
                              {{ID_SHOW_THINKING, {7, 8, 107, 12}},
                               {ID_SHOW_GRID, {7, 22, 107, 12}},
                               {IDOK, {5, 40, 50, 14}}});
        distance = offCentre(dialog);
        char text[64];
        for (int id : {ID_SHOW_THINKING, ID_SHOW_GRID}) {
            GetDlgItemTextA(dialog, id, text, sizeof text);
            shown += std::string(text) + "=" + std::to_string(IsDlgButtonChecked(dialog, id)) + " ";
        }
        CheckDlgButton(dialog, ID_SHOW_GRID, BST_UNCHECKED);
    };
    const unsigned gridLine = clientPixels(window(), 480, 480)[30 * 480 + 60];
    EXPECT_EQ(gridLine, 0u);
    command(ID_BOARD_OPTIONS);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "options...");
    EXPECT_EQ(shown, "Show thinking.=1 Show ###.=1 ");
    EXPECT_EQ(errors, "");
    EXPECT_LE(distance, 2);
    EXPECT_EQ(settings.showGrid, 0);
    EXPECT_EQ(settings.showThinking, 1);
    // Redrawn at once: where the grid line was, b8's knight image shows.
    EXPECT_EQ(clientPixels(window(), 480, 480)[30 * 480 + 60], resourceImage("CNCASN")[30 * 60]);
}

TEST_F(Commands, ByeByePostsTheCloseRequest) {
    command(ID_QUIT);
    EXPECT_TRUE(IsWindow(window()));
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, window(), WM_CLOSE, WM_CLOSE, PM_REMOVE));
    DispatchMessageA(&message);
    EXPECT_FALSE(IsWindow(window()));
    EXPECT_EQ(transpositionTable.entries, nullptr);
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);
}

TEST_F(Commands, CommandsOutsideTheRangeDoNothing) {
    playMove(25, 45);
    for (int id : {5000, 5003, 5005, 5008, 5012, 5013, 5016, 5100}) command(id);
    EXPECT_EQ(gameHistory.moveCount, 2);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(IsWindow(window()));
}

}  // namespace
}  // namespace zarvi::test
