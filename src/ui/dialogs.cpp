#include "ui/dialogs.h"

#include "eval/settings.h"
#include "ui/resources/resourceids.h"

namespace zarvi {

namespace {

struct CheckBox {
    int id;
    int* setting;
};

// Escape and the close box send IDCANCEL, which is not handled: a dialog
// is left only through its button, and leaving stores the boxes.
template <int n>
INT_PTR runOptions(HWND dialog, UINT message, WPARAM wParam, const CheckBox (&boxes)[n]) {
    if (message == WM_INITDIALOG) {
        for (const CheckBox& box : boxes)
            if (*box.setting) CheckDlgButton(dialog, box.id, BST_CHECKED);
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        for (const CheckBox& box : boxes) *box.setting = IsDlgButtonChecked(dialog, box.id) == BST_CHECKED;
        EndDialog(dialog, 1);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        EndDialog(dialog, 1);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK engineOptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    const CheckBox boxes[] = {
        {ID_USE_BOOK, &settings.useBook},
        {ID_SELECTIVITY, &settings.selectivity},
        {ID_POSITIONAL_KNOWLEDGE, &settings.positionalKnowledge},
        {ID_CAN_RESIGN, &settings.canResign},
    };
    return runOptions(dialog, message, wParam, boxes);
}

INT_PTR CALLBACK boardOptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    const CheckBox boxes[] = {
        {ID_SHOW_THINKING, &settings.showThinking},
        {ID_SHOW_GRID, &settings.showGrid},
    };
    return runOptions(dialog, message, wParam, boxes);
}

}  // namespace zarvi
