#include <windows.h>

#include <commctrl.h>

#include <cstring>

#include "game/history.h"
#include "harness.h"
#include "search/buscador.h"
#include "search/thinking.h"
#include "ui/boardview.h"
#include "ui/resources/resourceids.h"

namespace zarvi::test {
namespace {

using MainWindow = WindowTest;

constexpr int boardEdge = 8 * squareSize;
constexpr unsigned black = 0x000000;

// The board as the window shows it.
class Screen {
public:
    explicit Screen(HWND window) : pixels(clientPixels(window, boardEdge, boardEdge)) {}
    unsigned at(int x, int y) const { return pixels[size_t(y) * boardEdge + x]; }

    // The cell at screen row and column (0..7) shows the image, apart from
    // a margin of the given width that lines may cross.
    ::testing::AssertionResult shows(int row, int column, const char* name, int margin = 1) const {
        const std::vector<unsigned> image = resourceImage(name);
        if (image.empty()) return ::testing::AssertionFailure() << "no image " << name;
        for (int y = margin; y < squareSize - margin; ++y) {
            for (int x = margin; x < squareSize - margin; ++x) {
                if (at(column * squareSize + x, row * squareSize + y) != image[size_t(y) * squareSize + x])
                    return ::testing::AssertionFailure()
                           << "cell (" << row << ", " << column << ") differs from " << name << " at " << x << ", " << y;
            }
        }
        return ::testing::AssertionSuccess();
    }

private:
    std::vector<unsigned> pixels;
};

TEST_F(MainWindow, HasItsSizeTitleAndStatusBar) {
    RECT outer;
    GetWindowRect(window(), &outer);
    EXPECT_EQ(outer.right - outer.left, 493);
    EXPECT_EQ(outer.bottom - outer.top, 551);
    char text[64];
    GetWindowTextA(window(), text, sizeof text);
    EXPECT_STREQ(text, "Zarvi...");
    GetClassNameA(window(), text, sizeof text);
    EXPECT_STREQ(text, "juegozarvi");
    EXPECT_TRUE(GetWindowLongPtrA(window(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);

    // The program's icon, 32 x 32.
    HICON icon = reinterpret_cast<HICON>(GetClassLongPtrA(window(), GCLP_HICON));
    ICONINFO info{};
    ASSERT_TRUE(icon && GetIconInfo(icon, &info));
    BITMAP mask{};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, 32);
    EXPECT_EQ(mask.bmHeight, info.hbmColor ? 32 : 64);
    DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);

    HWND status = GetDlgItem(window(), ID_STATUS_BAR);
    ASSERT_EQ(status, frontEnd.statusBar);
    GetClassNameA(status, text, sizeof text);
    EXPECT_STREQ(text, STATUSCLASSNAMEA);
    GetWindowTextA(status, text, sizeof text);
    EXPECT_EQ(std::strncmp(text, "Ready!", 6), 0) << text;
    // The whole board fits the client area, above the status bar.
    RECT client;
    RECT bar;
    GetClientRect(window(), &client);
    GetWindowRect(status, &bar);
    EXPECT_GE(client.right, boardEdge);
    POINT barTop{bar.left, bar.top};
    ScreenToClient(window(), &barTop);
    EXPECT_GE(barTop.y, boardEdge);
}

TEST_F(MainWindow, DrawsTheStartingPositionWithTheSquareImages) {
    const Screen screen(window());
    const char* top[] = {"TNCASB", "CNCASN", "ANCASB", "DNCASN", "RNCASB", "ANCASN", "CNCASB", "TNCASN"};
    const char* bottom[] = {"TBCASN", "CBCASB", "ABCASN", "DBCASB", "RBCASN", "ABCASB", "CBCASN", "TBCASB"};
    for (int c = 0; c < 8; ++c) {
        EXPECT_TRUE(screen.shows(0, c, top[c]));
        EXPECT_TRUE(screen.shows(1, c, c % 2 ? "PNCASB" : "PNCASN"));
        EXPECT_TRUE(screen.shows(4, c, c % 2 ? "CASN" : "CASB"));
        EXPECT_TRUE(screen.shows(6, c, c % 2 ? "PBCASN" : "PBCASB"));
        EXPECT_TRUE(screen.shows(7, c, bottom[c]));
    }
    // The grid: lines at every multiple of 60, across the whole board.
    for (int i = 0; i < boardEdge; i += 7) {
        EXPECT_EQ(screen.at(squareSize, i), black) << i;
        EXPECT_EQ(screen.at(i, 4 * squareSize), black) << i;
    }
}

TEST_F(MainWindow, TurnedBoardShowsTheWhiteKingTopFourth) {
    frontEnd.boardFlipped = 1;
    redraw();
    const Screen screen(window());
    EXPECT_TRUE(screen.shows(0, 3, "RBCASN"));
    EXPECT_TRUE(screen.shows(0, 0, "TBCASB"));  // h1, still a light square
    EXPECT_TRUE(screen.shows(7, 7, "TNCASB"));  // a8
    EXPECT_TRUE(screen.shows(7, 4, "DNCASN"));  // d8
}

TEST_F(MainWindow, WithoutGridOrSelectionNothingCoversTheImages) {
    settings.showGrid = 0;
    redraw();
    const Screen screen(window());
    EXPECT_TRUE(screen.shows(0, 0, "TNCASB", 0));
    EXPECT_TRUE(screen.shows(3, 4, "CASN", 0));
    EXPECT_TRUE(screen.shows(7, 7, "TBCASB", 0));
}

TEST_F(MainWindow, TheSelectionFrameLiesTwoPixelsInsideTheCell) {
    settings.showGrid = 0;
    clickSquare(25);  // e2: row 6, column 4
    const Screen screen(window());
    const int x = 4 * squareSize;
    const int y = 6 * squareSize;
    for (int i = 2; i < squareSize - 2; ++i) {
        EXPECT_EQ(screen.at(x + i, y + 2), black) << i;
        EXPECT_EQ(screen.at(x + i, y + squareSize - 2), black) << i;
        EXPECT_EQ(screen.at(x + 2, y + i), black) << i;
        EXPECT_EQ(screen.at(x + squareSize - 2, y + i), black) << i;
    }
    // Inside and outside the frame the image shows.
    EXPECT_TRUE(screen.shows(6, 4, "PBCASB", 3));
    EXPECT_EQ(screen.at(x + 1, y + 1), resourceImage("PBCASB")[squareSize + 1]);

    // A refused move takes the frame away.
    clickSquare(55);
    EXPECT_TRUE(Screen(window()).shows(6, 4, "PBCASB", 0));
}

// Each report of the search reaches the status bar while it thinks.
int reportsShown = 0;
int reports = 0;

void noteReport(const buscador&, int) {
    char text[statusTextLength + 1];
    GetWindowTextA(frontEnd.statusBar, text, sizeof text);
    ++reports;
    if (std::strcmp(text, statusText) == 0 && frontEnd.engineThinking) ++reportsShown;
}

TEST_F(MainWindow, TheStatusBarShowsTheThinkingLine) {
    reports = reportsShown = 0;
    thinkingListener = noteReport;
    playMove(25, 45);
    thinkingListener = nullptr;
    EXPECT_GT(reports, 0);
    EXPECT_EQ(reportsShown, reports);
    char text[statusTextLength + 1];
    GetWindowTextA(frontEnd.statusBar, text, sizeof text);
    EXPECT_EQ(std::strncmp(text, "[2] score: ", 11), 0) << text;
    EXPECT_STREQ(text, statusText);
}

TEST_F(MainWindow, PaintingDrawsTheBoard) {
    settings.showGrid = 0;
    // Draw something else over the board, then let the window paint.
    HDC dc = GetDC(window());
    PatBlt(dc, 0, 0, boardEdge, boardEdge, WHITENESS);
    ReleaseDC(window(), dc);
    EXPECT_FALSE(Screen(window()).shows(0, 0, "TNCASB", 0));
    InvalidateRect(window(), nullptr, FALSE);
    UpdateWindow(window());
    EXPECT_TRUE(Screen(window()).shows(0, 0, "TNCASB", 0));
    EXPECT_TRUE(Screen(window()).shows(7, 4, "RBCASN", 0));
}

}  // namespace
}  // namespace zarvi::test
