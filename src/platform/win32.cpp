#include "platform/win32.h"

#include "platform/platform.h"

namespace zarvi {

namespace {

HWND statusWindow = nullptr;

}  // namespace

Timer searchClock;
int pollsPerSecond = 4;

Timer::Timer() {
    LARGE_INTEGER value;
    if (QueryPerformanceFrequency(&value) && value.QuadPart != 0) {
        frequency = value.QuadPart;
        usesHighResolution = 1;
        QueryPerformanceCounter(&value);
        startCount = value.QuadPart;
        secondsPerTick = 1.0 / double(frequency);
    } else {
        frequency = 0;
        secondsPerTick = 0.001;
        usesHighResolution = 0;
        startCount = int64_t(GetTickCount());
    }
    currentCount = startCount;
    startCalendar = std::time(nullptr);
}

double Timer::elapsedSeconds() {
    const double fallback = std::difftime(std::time(nullptr), startCalendar);
    if (usesHighResolution) {
        LARGE_INTEGER value;
        QueryPerformanceCounter(&value);
        currentCount = value.QuadPart;
    } else {
        currentCount = int64_t(GetTickCount());
    }
    const double elapsed = double(currentCount - startCount) * secondsPerTick;
    // A wrapped tick count gives a negative span: the calendar still knows.
    return elapsed < 0 ? fallback : elapsed;
}

// One waiting message per poll keeps the window painting while the engine
// thinks; the window procedure itself refuses clicks and commands then.
bool pollMessages() {
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) return false;
    if (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    } else {
        // The quit message belongs to the message loop, which ends on it.
        PostQuitMessage(int(message.wParam));
    }
    return false;
}

void showStatusText(const char* text) {
    if (statusWindow) SetWindowTextA(statusWindow, text);
}

void setStatusWindow(HWND statusBar) { statusWindow = statusBar; }

}  // namespace zarvi
