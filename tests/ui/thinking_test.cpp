#include "game/history.h"
#include "harness.h"
#include "search/search.h"
#include "search/ttable.h"
#include "ui/resources/resourceids.h"

namespace zarvi::test {
namespace {

using WhileThinking = WindowTest;

TEST_F(WhileThinking, ClicksCommandsAndClosingAreDropped) {
    playMove(25, 45);
    ASSERT_EQ(gameHistory.moveCount, 2);
    frontEnd.engineThinking = 1;
    clickSquare(24);
    EXPECT_EQ(frontEnd.clickCount, 0);
    for (int id : {ID_NEW_GAME, ID_SWITCH_SIDES, ID_RETRACT, ID_LEVEL_STANDARD, ID_ABOUT, ID_ENGINE_OPTIONS})
        command(id);
    EXPECT_EQ(gameHistory.moveCount, 2);
    EXPECT_EQ(frontEnd.userSide, white);
    EXPECT_EQ(settings.levelSeconds, 5);
    EXPECT_TRUE(boxes.empty());
    SendMessageA(window(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window()));
    EXPECT_NE(transpositionTable.entries, nullptr);
}

// Messages that wait while the engine searches are dispatched by the
// search's polls: painting happens, everything else is dropped.
TEST_F(WhileThinking, TheSearchPaintsAndDropsWhatWaits) {
    const int savedInterval = pollInterval;
    pollInterval = 1;  // a poll at every node
    setDepthLimit(3);
    InvalidateRect(window(), nullptr, FALSE);
    const LPARAM d2 = MAKELPARAM(3 * squareSize + 30, 6 * squareSize + 30);
    PostMessageA(window(), WM_LBUTTONDOWN, MK_LBUTTON, d2);
    PostMessageA(window(), WM_COMMAND, ID_NEW_GAME, 0);
    PostMessageA(window(), WM_COMMAND, ID_SWITCH_SIDES, 0);
    PostMessageA(window(), WM_CLOSE, 0, 0);
    playMove(25, 45);
    pollInterval = savedInterval;

    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, window(), 0, 0, PM_NOREMOVE | PM_QS_POSTMESSAGE));
    EXPECT_FALSE(GetUpdateRect(window(), nullptr, FALSE));
    EXPECT_TRUE(IsWindow(window()));
    EXPECT_EQ(gameHistory.moveCount, 2);
    EXPECT_EQ(frontEnd.userSide, white);
    EXPECT_EQ(frontEnd.clickCount, 0);
    EXPECT_EQ(frontEnd.engineThinking, 0);
}

}  // namespace
}  // namespace zarvi::test
