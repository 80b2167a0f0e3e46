// The Win32 side of the platform seam: the window program tells it which
// status bar shows the search's text.
#pragma once

#include <windows.h>

namespace zarvi {

void setStatusWindow(HWND statusBar);

}  // namespace zarvi
