// The portable implementation of the platform seam, for the engine binary
// and the tests: the host installs what a poll, the status text and (in
// tests) the clock should do.
#pragma once

namespace zarvi {

using PollHook = bool (*)();
using StatusHook = void (*)(const char* text);
using ClockHook = double (*)();

// nullptr restores the default: polls never stop a search, the status
// text goes nowhere, the clock is the monotonic system clock.
void setPollHook(PollHook hook);
void setStatusHook(StatusHook hook);
void setClockHook(ClockHook hook);

}  // namespace zarvi
