#include "game/ending.h"

namespace zarvi {

const char* endingText(Ending ending, int language) {
    const bool english = language == 1;
    switch (ending) {
        case Ending::repetitionDraw: return english ? "Draw because repetition!" : "Tablas por repeticion!";
        case Ending::fiftyMoveDraw:
            return english ? "Draw because the 50th move rule." : "Tablas por regla de las 50 jugadas.";
        case Ending::engineResigns: return english ? "Okey I give up!" : "Ya! Me rindo!";
        case Ending::userWins: return english ? "CheckMate! You Win!!" : "Jaque Mate! Tu ganas!";
        case Ending::engineDeclaresDraw: return english ? "This is a Draw!" : "Esto es tablas!";
        case Ending::engineWins: return english ? "CheckMATE! This is easy!" : "Jaque Mate! Que facil!";
        case Ending::none: break;
    }
    return "";
}

const char* endingTitle(int language) { return language == 1 ? "end of game" : "fin del juego"; }

}  // namespace zarvi
