#include <chrono>

#include "platform/platform.h"
#include "platform/portable.h"

namespace zarvi {

namespace {

PollHook pollHook = nullptr;
StatusHook statusHook = nullptr;
ClockHook clockHook = nullptr;

int64_t monotonicTicks() { return std::chrono::steady_clock::now().time_since_epoch().count(); }

}  // namespace

Timer searchClock;
int pollsPerSecond = 4;

Timer::Timer() {
    using Period = std::chrono::steady_clock::period;
    frequency = Period::den / Period::num;
    secondsPerTick = double(Period::num) / double(Period::den);
    usesHighResolution = 1;
    startCount = monotonicTicks();
    currentCount = startCount;
    startCalendar = std::time(nullptr);
}

double Timer::elapsedSeconds() {
    if (clockHook) return clockHook();
    currentCount = monotonicTicks();
    const double elapsed = double(currentCount - startCount) * secondsPerTick;
    return elapsed < 0 ? std::difftime(std::time(nullptr), startCalendar) : elapsed;
}

bool pollMessages() { return pollHook && pollHook(); }

void showStatusText(const char* text) {
    if (statusHook) statusHook(text);
}

void setPollHook(PollHook hook) { pollHook = hook; }
void setStatusHook(StatusHook hook) { statusHook = hook; }
void setClockHook(ClockHook hook) { clockHook = hook; }

}  // namespace zarvi
