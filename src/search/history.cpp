#include "search/history.h"

namespace zarvi {

GameHistory gameHistory;

}  // namespace zarvi
