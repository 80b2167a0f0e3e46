// The three modal dialogs of the menu: the about box and the engine and
// board options, whose check boxes show the settings when they open and
// store them when the button closes them. Run by DialogBoxParamA from the
// window's commands with the templates "DATOS", "OPCIONESMOTOR" and
// "OPCIONESTABLERO".
#pragma once

#include <windows.h>

namespace zarvi {

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK engineOptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK boardOptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace zarvi
