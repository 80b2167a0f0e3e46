#include "ui/mainmenu.h"

#include "ui/frontend.h"
#include "ui/resources/resourceids.h"

namespace zarvi {

namespace {

struct MenuText {
    int command;  // 0 for the pop-up's own title
    const char* spanish;
    const char* english;
};

constexpr MenuText gameMenu[] = {
    {0, "Partida", "Game"},
    {ID_NEW_GAME, "inicio", "new game"},
    {ID_SWITCH_SIDES, "cambiar bandos", "switch sides"},
    {ID_RETRACT, "<- ups !", "retract move"},
    {ID_QUIT, "adios :(", "bye bye :("},
};
constexpr MenuText levelMenuTexts[] = {
    {0, "Nivel", "Level"},
    {ID_LEVEL_BLITZ, "blitz(~5s)", "blitz(~5s)"},
    {ID_LEVEL_NORMAL, "normal(~25s)", "normal(~25s)"},
    {ID_LEVEL_STANDARD, "standard(~125s)", "standard(~125s)"},
};
constexpr MenuText optionsMenu[] = {
    {0, "Opciones", "Options"},
    {ID_BOARD_OPTIONS, "del tablero...", "about the board"},
    {ID_ENGINE_OPTIONS, "del motor...", "about the engine"},
};
constexpr MenuText detailsMenu[] = {
    {0, "Detalles", "Details"},
    {ID_ABOUT, "version,autor.", "version,autor."},
};

template <int n>
HMENU appendPopup(HMENU bar, const MenuText (&texts)[n], int language) {
    HMENU popup = CreatePopupMenu();
    for (int i = 1; i < n; ++i)
        AppendMenuA(popup, MF_STRING, texts[i].command, language == 1 ? texts[i].english : texts[i].spanish);
    AppendMenuA(bar, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(popup),
                language == 1 ? texts[0].english : texts[0].spanish);
    return popup;
}

}  // namespace

HMENU buildMainMenu(int language, HMENU* levelMenu) {
    HMENU bar = CreateMenu();
    appendPopup(bar, gameMenu, language);
    *levelMenu = appendPopup(bar, levelMenuTexts, language);
    appendPopup(bar, optionsMenu, language);
    appendPopup(bar, detailsMenu, language);
    return bar;
}

void markLevel(HMENU levelMenu, int item) { CheckMenuRadioItem(levelMenu, 0, levelCount - 1, item, MF_BYPOSITION); }

}  // namespace zarvi
