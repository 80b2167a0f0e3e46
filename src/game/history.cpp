#include "game/history.h"

namespace zarvi {

GameHistory gameHistory;

}  // namespace zarvi
