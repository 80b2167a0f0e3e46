// The harness of the window tests: the real main window of the program,
// created afresh for each test in this process, driven by the messages a
// user's clicks and menu choices produce. Message boxes and dialogs that
// the program opens are recorded and closed by a hook, as a user would
// close them with their button.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "game/cable.h"
#include "game/settings.h"
#include "ui/frontend.h"

namespace zarvi::test {

// A message box or dialog the program opened.
struct SeenBox {
    std::string title;
    std::string text;  // the texts of its static controls, one per line
    HWND owner;
    LONG_PTR extendedStyle;
};

class WindowTest : public ::testing::Test {
public:
    // Called with each dialog or message box when it opens, before the
    // hook presses its default button.
    std::function<void(HWND)> onDialog;
    std::vector<SeenBox> boxes;

protected:
    void SetUp() override;
    void TearDown() override;

    HWND window() const { return frontEnd.mainWindow; }
    cable& game() const { return *frontEnd.game; }

    // A left click at client pixel (x, y), as the window receives it.
    void click(int x, int y);
    // A click in the middle of a square's cell, where it lies on the
    // board as drawn now.
    void clickSquare(int square);
    // Two clicks: from, then to.
    void playMove(int from, int to);
    // A menu command.
    void command(int id);
    // The game set to a position (white to move) with an empty history.
    void setPosition(const char* fen);
    // Closes the window as the user would and opens a new one, built in
    // the language settings.language selects, with a new game.
    void reopenWindow();

private:
    void openWindow();
    void closeWindow();

    Settings saved;
};

// What WinMain does before it creates the window, once for the whole run.
::testing::Environment* newProgramEnvironment();

// The piece code on a square of the game.
int pieceOn(int square);

// The client area of the main window as 0xRRGGBB values, row by row.
std::vector<unsigned> clientPixels(HWND window, int width, int height);
// A square image of the program's resources in the same form, 60 x 60.
std::vector<unsigned> resourceImage(const char* name);

}  // namespace zarvi::test
