// The debug check of a position: recompute every view from the squares and
// rights and name the first that differs from the incrementally kept one.
// Asserted after every make and take-back in builds with assertions, and
// used by the tests.
#pragma once

#include <string>

#include "board/posicion.h"

namespace zarvi {

// "" when every view agrees with a recomputation, else what differs.
// A position whose king was taken by a pseudo-legal search move is not
// checked: it has no consistent description.
std::string findInconsistency(const posicion& board, int sideToMove);

}  // namespace zarvi
