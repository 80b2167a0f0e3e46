// The thinking output: while the engine searches, the root reports depth,
// score, node count and principal variation into the status text (or a
// murmur when showing the thinking is off). The variation is rebuilt each
// time from the best move and the exact entries of the table.
#pragma once

#include "board/posicion.h"
#include "search/buscador.h"

namespace zarvi {

enum ThinkingMark { plainMark = 1, failHighMark = 2, failLowMark = 3 };

constexpr int maxVariationMoves = 20;
constexpr int variationTextLimit = 115;

// The last variation formatted: a leading space, each move and a space,
// then ".".
extern char principalVariation[statusTextLength + 1];

// Another listener to the same reports (the engine binary turns them into
// info lines); called after the status text is set.
using ThinkingListener = void (*)(const buscador& searcher, int mark);
extern ThinkingListener thinkingListener;

void displayThinking(buscador& searcher, const posicion& board, int mark);
// The best move's variation into principalVariation.
void formatPrincipalVariation(buscador& searcher, const posicion& board);
// The variation that starts with first, formatted the same way into text
// (statusTextLength + 1 characters).
void formatVariation(buscador& searcher, const posicion& board, Move first, char* text);
// The reply that the table expects after first: the move of any entry of
// the position after it, when legal there; {0, 0} when there is none.
Move expectedReply(buscador& searcher, const posicion& board, Move first);

}  // namespace zarvi
