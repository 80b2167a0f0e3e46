#include "board/fen.h"

#include <cctype>
#include <cstring>
#include <sstream>
#include <vector>

#include "board/attacks.h"
#include "board/tables.h"

namespace zarvi {

void setupPosition(posicion& board, const PositionSetup& setup) {
    std::memcpy(board.squares, setup.squares, sizeof board.squares);
    std::memset(board.knightList, 0, sizeof board.knightList);
    std::memset(board.rookList, 0, sizeof board.rookList);
    std::memset(board.bishopList, 0, sizeof board.bishopList);
    std::memset(board.queenList, 0, sizeof board.queenList);
    std::memset(board.pawnList, 0, sizeof board.pawnList);
    std::memset(board.pawnsOnFile, 0, sizeof board.pawnsOnFile);
    std::memset(board.pawnAttacks, 0, sizeof board.pawnAttacks);
    board.key1 = board.key2 = 0;
    board.key3 = 0;
    for (int side = 0; side < 2; ++side) {
        board.material[side] = 0;
        board.pieceUnits[side] = 0;
        board.kingSquare[side] = 0;
        board.canCastleShort[side] = setup.canCastleShort[side];
        board.canCastleLong[side] = setup.canCastleLong[side];
    }

    for (int s = 0; s < squareCount; ++s) {
        const int piece = board.squares[s];
        board.emptyFlag[s] = piece == 0 && onBoard[s];
        if (piece == 0) continue;
        const int side = sideOf(piece), type = typeOf(piece);
        board.toggleKey(side, s, type);
        if (type == king) {
            board.kingSquare[side] = s;
            continue;
        }
        int* list = board.pieceList(side, type);
        list[++list[0]] = s;
        board.material[side] += materialValue[type];
        board.pieceUnits[side] += pieceUnitValue[type];
        if (type == pawn) {
            board.pawnsOnFile[side][fileOf(s)]++;
            board.pawnAttacks[side][s + pawnStep[side] - 1]++;
            board.pawnAttacks[side][s + pawnStep[side] + 1]++;
        }
    }

    if (setup.sideToMove == black) board.toggleSide();
    for (int side = 0; side < 2; ++side) {
        if (!board.canCastleLong[side]) board.toggleKey(side, castlingKeySquare, longCastlingSlot);
        if (!board.canCastleShort[side]) board.toggleKey(side, castlingKeySquare, shortCastlingSlot);
    }
    board.epSquare = 0;
    const int ep = setup.epSquare;
    if (ep && board.pawnAttacks[setup.sideToMove][ep - pawnStep[1 - setup.sideToMove]]) {
        board.epSquare = ep;
        board.toggleKey(white, ep, 0);
    }

    board.halfmoveClock = setup.halfmoveClock;
    board.fullCheckTest = 0;
    board.capturedType = 0;
    board.savedEmptyFlag = 1;
    board.movedType = 0;
    board.lastFrom = 0;
    board.lastTo = 0;
}

PositionSetup describePosition(const posicion& board, int sideToMove) {
    PositionSetup setup;
    std::memcpy(setup.squares, board.squares, sizeof setup.squares);
    for (int side = 0; side < 2; ++side) {
        setup.canCastleShort[side] = board.canCastleShort[side];
        setup.canCastleLong[side] = board.canCastleLong[side];
    }
    setup.epSquare = board.epSquare;
    setup.halfmoveClock = board.halfmoveClock;
    setup.sideToMove = sideToMove;
    return setup;
}

std::string squareName(int square) {
    return {char('a' + fileOf(square) - 1), char('0' + rankOf(square))};
}

namespace {

const char pieceLetters[] = " PNBRQK  pnbrqk";

int pieceFromLetter(char c) {
    const char* p = std::strchr(pieceLetters, c);
    return (c != ' ' && c != '\0' && p) ? int(p - pieceLetters) : 0;
}

// A counter field: digits only, no sign, bounded so it cannot overflow.
bool readCounter(const std::string& text, int limit, int& value) {
    if (text.empty() || text.size() > 6) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return value <= limit;
}

std::string readPlacement(const std::string& field, PositionSetup& setup) {
    int rank = 8, file = 1;
    for (char c : field) {
        if (c == '/') {
            if (file != 9) return "rank " + std::to_string(rank) + " does not have 8 squares";
            if (--rank < 1) return "more than 8 ranks";
            file = 1;
        } else if (c >= '1' && c <= '8') {
            file += c - '0';
            if (file > 9) return "rank " + std::to_string(rank) + " has more than 8 squares";
        } else {
            const int piece = pieceFromLetter(c);
            if (piece == 0) return std::string("bad piece letter '") + c + "'";
            if (file > 8) return "rank " + std::to_string(rank) + " has more than 8 squares";
            setup.squares[10 * rank + file++] = piece;
        }
    }
    if (rank != 1) return "fewer than 8 ranks";
    if (file != 9) return "rank 1 does not have 8 squares";
    return "";
}

std::string checkMaterial(const PositionSetup& setup) {
    static const char* sideNames[2] = {"white", "black"};
    int count[2][7] = {};
    for (int s = 11; s <= 88; ++s) {
        const int piece = setup.squares[s];
        if (piece == 0) continue;
        count[sideOf(piece)][typeOf(piece)]++;
        if (typeOf(piece) == pawn && (rankOf(s) == 1 || rankOf(s) == 8))
            return "pawn on " + squareName(s);
    }
    for (int side = 0; side < 2; ++side) {
        const std::string name = sideNames[side];
        if (count[side][king] != 1) return name + " must have exactly one king";
        if (count[side][pawn] > 8) return name + " has more than 8 pawns";
        // Every piece beyond the initial set must come from a promoted pawn.
        int promoted = 0;
        static const int initial[7] = {0, 8, 2, 2, 2, 1, 1};
        for (int type = knight; type <= queen; ++type)
            if (count[side][type] > initial[type]) promoted += count[side][type] - initial[type];
        if (promoted > 8 - count[side][pawn]) return name + " has more pieces than promotions allow";
    }
    return "";
}

std::string readCastling(const std::string& field, PositionSetup& setup) {
    if (field == "-") return "";
    for (char c : field) {
        const char* p = std::strchr("KQkq", c);
        if (c == '\0' || !p) return std::string("bad castling letter '") + c + "'";
        const int side = std::islower(static_cast<unsigned char>(c)) ? black : white;
        const bool isShort = std::toupper(static_cast<unsigned char>(c)) == 'K';
        int& right = isShort ? setup.canCastleShort[side] : setup.canCastleLong[side];
        if (right) return std::string("castling letter '") + c + "' repeated";
        const int kingHome = 15 + 70 * side, rookHome = (isShort ? 18 : 11) + 70 * side;
        if (setup.squares[kingHome] != pieceCode(side, king) ||
            setup.squares[rookHome] != pieceCode(side, rook))
            return std::string("castling right '") + c + "' needs the king on " + squareName(kingHome) +
                   " and a rook on " + squareName(rookHome);
        right = 1;
    }
    return "";
}

std::string readEnPassant(const std::string& field, PositionSetup& setup) {
    if (field == "-") return "";
    if (field.size() != 2 || field[0] < 'a' || field[0] > 'h' || (field[1] != '3' && field[1] != '6'))
        return "bad en-passant square '" + field + "'";
    const int target = 10 * (field[1] - '0') + (field[0] - 'a' + 1);
    const int mover = 1 - setup.sideToMove;
    if ((mover == white) != (field[1] == '3')) return "en-passant square " + field + " does not fit the side to move";
    const int pawnSquare = target + pawnStep[mover];
    if (setup.squares[pawnSquare] != pieceCode(mover, pawn) || setup.squares[target] != 0 ||
        setup.squares[target - pawnStep[mover]] != 0)
        return "no pawn can just have passed " + field;
    setup.epSquare = pawnSquare;
    return "";
}

}  // namespace

std::string readFen(posicion& board, const std::string& fen, FenGame& game) {
    std::istringstream in(fen);
    std::vector<std::string> fields;
    for (std::string field; in >> field;) {
        if (fields.size() == 6) return "FEN has more than 6 fields";
        fields.push_back(field);
    }
    if (fields.size() != 4 && fields.size() != 6)
        return "FEN needs 6 fields (or 4 without the move counters), found " + std::to_string(fields.size());

    PositionSetup setup{};
    std::string error = readPlacement(fields[0], setup);
    if (error.empty()) error = checkMaterial(setup);
    if (!error.empty()) return "bad FEN: " + error;

    if (fields[1] != "w" && fields[1] != "b") return "bad FEN: side to move must be 'w' or 'b'";
    setup.sideToMove = fields[1] == "w" ? white : black;

    error = readCastling(fields[2], setup);
    if (error.empty()) error = readEnPassant(fields[3], setup);
    if (!error.empty()) return "bad FEN: " + error;

    int fullmove = 1;
    setup.halfmoveClock = 0;
    if (fields.size() == 6) {
        if (!readCounter(fields[4], fenCounterLimit, setup.halfmoveClock)) return "bad FEN: bad halfmove clock '" + fields[4] + "'";
        if (!readCounter(fields[5], fenCounterLimit, fullmove) || fullmove < 1)
            return "bad FEN: bad move number '" + fields[5] + "'";
    }

    posicion candidate;
    setupPosition(candidate, setup);
    const int stm = setup.sideToMove;
    if (isAttacked(candidate, candidate.kingSquare[1 - stm], stm))
        return "bad FEN: the side not to move is in check";

    setupPosition(board, setup);
    game.sideToMove = stm;
    game.fullmoveNumber = fullmove;
    return "";
}

std::string writeFen(const posicion& board, const FenGame& game) {
    std::string fen;
    for (int rank = 8; rank >= 1; --rank) {
        int empty = 0;
        for (int file = 1; file <= 8; ++file) {
            const int piece = board.squares[10 * rank + file];
            if (piece == 0) {
                ++empty;
                continue;
            }
            if (empty) fen += char('0' + empty);
            empty = 0;
            fen += pieceLetters[piece];
        }
        if (empty) fen += char('0' + empty);
        if (rank > 1) fen += '/';
    }
    fen += game.sideToMove == white ? " w " : " b ";
    std::string castling;
    if (board.canCastleShort[white]) castling += 'K';
    if (board.canCastleLong[white]) castling += 'Q';
    if (board.canCastleShort[black]) castling += 'k';
    if (board.canCastleLong[black]) castling += 'q';
    fen += castling.empty() ? "-" : castling;
    fen += ' ';
    fen += board.epSquare ? squareName(board.epSquare - pawnStep[1 - game.sideToMove]) : "-";
    fen += ' ' + std::to_string(board.halfmoveClock) + ' ' + std::to_string(game.fullmoveNumber);
    return fen;
}

}  // namespace zarvi
