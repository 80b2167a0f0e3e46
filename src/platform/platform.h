// The engine core's one seam to the outside world: the clock that times
// the search, the poll the search makes every few thousand nodes, and the
// status text it shows. The window program links the Win32 implementation;
// the engine binary and the tests link the portable one.
#pragma once

#include <cstdint>
#include <ctime>

namespace zarvi {

// Seconds since the program started, from the best clock the machine has.
class Timer {
public:
    Timer();
    double elapsedSeconds();

private:
    double secondsPerTick;
    int64_t frequency;
    int64_t startCount;
    int64_t currentCount;
    uint8_t usesHighResolution;
    std::time_t startCalendar;
};

// The program's one clock, running from before main().
extern Timer searchClock;

// Lets the host handle what waits for it: the window program dispatches one
// pending window message, the engine binary looks at its input. Returns
// true when the host wants the running search to end now.
bool pollMessages();

// How often a second the search should poll; the search tunes its node
// interval to it.
extern int pollsPerSecond;

// Shows the status text (the status bar while the engine thinks).
void showStatusText(const char* text);

}  // namespace zarvi
