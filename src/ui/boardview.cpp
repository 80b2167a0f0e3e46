#include "ui/boardview.h"

#include <cstdio>
#include <initializer_list>

#include "eval/settings.h"
#include "search/buscador.h"
#include "ui/frontend.h"

namespace zarvi {

namespace {

constexpr int imageSize = 60;  // the square images' own edge
constexpr int selectionInset = 2;

// Names are piece letter, piece colour, "CAS", square colour.
constexpr char pieceLetter[king + 1] = {0, 'P', 'C', 'A', 'T', 'D', 'R'};
constexpr char colourLetter[2] = {'B', 'N'};
// The order the images are loaded in: pawn, rook, knight, bishop, queen,
// king; white on light, white on dark, black on light, black on dark.
constexpr int loadingOrder[] = {pawn, rook, knight, bishop, queen, king};

HBITMAP& imageFor(int piece, int dark) {
    return frontEnd.squareImages[sideOf(piece)][dark][typeOf(piece)];
}

}  // namespace

void loadSquareImages(HINSTANCE instance) {
    char name[8];
    for (int side : {white, black}) {
        for (int dark : {0, 1}) {
            for (int type : loadingOrder) {
                std::snprintf(name, sizeof name, "%c%cCAS%c", pieceLetter[type], colourLetter[side], colourLetter[dark]);
                imageFor(pieceCode(side, type), dark) = LoadBitmapA(instance, name);
            }
        }
    }
    for (int dark : {0, 1}) {
        std::snprintf(name, sizeof name, "CAS%c", colourLetter[dark]);
        imageFor(0, dark) = LoadBitmapA(instance, name);
    }
}

void deleteSquareImages() {
    for (auto& byColour : frontEnd.squareImages) {
        for (auto& bySquare : byColour) {
            for (HBITMAP& image : bySquare) {
                if (image) DeleteObject(image);
                image = nullptr;
            }
        }
    }
}

void drawBoard(HDC dc) {
    SetWindowTextA(frontEnd.statusBar, statusText);
    const posicion& board = frontEnd.game->board;
    const int s = squareSize;
    for (int r = 1; r <= boardCells; ++r) {
        for (int c = 1; c <= boardCells; ++c) {
            const int piece = board.squares[10 * (9 - r) + c];
            const int dark = (r + c) % 2;
            const int x = frontEnd.boardFlipped ? (8 - c) * s : (c - 1) * s;
            const int y = frontEnd.boardFlipped ? (8 - r) * s : (r - 1) * s;
            HDC memory = CreateCompatibleDC(dc);
            HGDIOBJ previous = SelectObject(memory, imageFor(piece, dark));
            StretchBlt(dc, x, y, s, s, memory, 0, 0, imageSize, imageSize, SRCCOPY);
            SelectObject(memory, previous);
            DeleteDC(memory);
        }
    }
    drawGridAndSelection(dc);
}

void drawGridAndSelection(HDC dc) {
    const int s = squareSize;
    const int edge = boardCells * s;
    if (settings.showGrid) {
        for (int x = 0; x <= edge; x += s) {
            MoveToEx(dc, x, 0, nullptr);
            LineTo(dc, x, edge);
        }
        for (int y = 0; y <= edge; y += s) {
            MoveToEx(dc, 0, y, nullptr);
            LineTo(dc, edge, y);
        }
    }
    if (frontEnd.showSelection) {
        const int left = frontEnd.selectionX + selectionInset;
        const int top = frontEnd.selectionY + selectionInset;
        const int right = frontEnd.selectionX + s - selectionInset;
        const int bottom = frontEnd.selectionY + s - selectionInset;
        MoveToEx(dc, left, top, nullptr);
        LineTo(dc, right, top);
        MoveToEx(dc, left, bottom, nullptr);
        LineTo(dc, right, bottom);
        MoveToEx(dc, left, top, nullptr);
        LineTo(dc, left, bottom);
        MoveToEx(dc, right, top, nullptr);
        LineTo(dc, right, bottom);
    }
}

void redraw() {
    HDC dc = GetDC(frontEnd.mainWindow);
    drawBoard(dc);
    ReleaseDC(frontEnd.mainWindow, dc);
}

}  // namespace zarvi
