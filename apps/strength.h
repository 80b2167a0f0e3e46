// The strength limit for people (UCI_LimitStrength with UCI_Elo): how a
// limited engine searches, and which of its best lines it plays. The
// session asks for the plan on every go and for the choice after the
// search. Nodes, not time, bound the search, so that the strength is the
// same on any machine; the clock's plan stays as a ceiling, which the node
// budget keeps the engine far below.
#pragma once

#include <cstdint>

#include "search/buscador.h"

namespace zarvi {

// The Elo range the option offers: the weakest the limit plays, and the
// full strength it reaches at the top (measured on the blitz rating list's
// scale at 10 s + 0.1 s).
constexpr int weakestElo = 1350;
constexpr int strongestElo = 2000;

struct StrengthPlan {
    int64_t nodes;      // the search's node budget for the move
    int lines;          // the best root moves the search scores exactly
    int marginCp;       // a line this much worse than the best is never played
    int temperatureCp;  // the loss at which a line is e times less likely
};

StrengthPlan strengthFor(int elo);

// The index of the line to play among the count lines, best first: one
// within the margin, drawn with weight exp(-loss / temperature) by u, a
// uniform number in [0, 1). A mate found is never given away.
int chooseLine(const RootLine* lines, int count, const StrengthPlan& plan, double u);

}  // namespace zarvi
