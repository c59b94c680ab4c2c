// The local time as the program reads it.  Normally the computer's clock;
// with the environment variable TOVANI_CLOCK set to a moment
// ("YYYY-MM-DD HH:MM" or "YYYY-MM-DD HH:MM:SS") the program's clock starts at
// that moment when the program starts and runs on from there (" xN" after the
// moment: N times as fast, up to 86400), so that a test
// (or a user trying a date out) sees another day and hour without the
// computer's clock being touched.
#pragma once

#include <windows.h>

#include <optional>

namespace tovani::win32 {

// What TOVANI_CLOCK says: the moment the clock starts at, and how many times
// as fast as the computer's it runs.
struct ClockSetting {
  SYSTEMTIME moment{};
  long long rate = 1;
};
// The setting a text gives; nothing when it is not one (no valid moment).
std::optional<ClockSetting> ReadClockSetting(const wchar_t* text);

// Reads TOVANI_CLOCK; called once at the start, before any thread is made.
void StartProgramClock();
// The program's local time (GetLocalTime, moved by TOVANI_CLOCK).
SYSTEMTIME LocalNow();

}  // namespace tovani::win32
