// The ways a game ends, as the end-of-game sequence reports them to the
// front end, with the texts the announcement shows in both languages.
#pragma once

namespace zarvi {

enum class Ending {
    none,
    repetitionDraw,
    fiftyMoveDraw,
    engineResigns,
    userWins,          // the user mated the engine
    engineDeclaresDraw,  // stalemate, too little material, or a full history
    engineWins,        // the engine mated the user
};

// language 0 Spanish, 1 English.
const char* endingText(Ending ending, int language);
const char* endingTitle(int language);

}  // namespace zarvi
