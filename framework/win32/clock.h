// The local time as the program reads it.  Normally the computer's clock;
// with the environment variable TOVANI_CLOCK set to a moment
// ("YYYY-MM-DD HH:MM" or "YYYY-MM-DD HH:MM:SS") the program's clock starts at
// that moment when the program starts and runs on from there (" xN" after the
// moment: N times as fast, up to 86400), so that a test
// (or a user trying a date out) sees another day and hour without the
// computer's clock being touched.
#pragma once

#include <windows.h>

namespace tovani::win32 {

// Reads TOVANI_CLOCK; called once at the start, before any thread is made.
void StartProgramClock();
// The program's local time (GetLocalTime, moved by TOVANI_CLOCK).
SYSTEMTIME LocalNow();

}  // namespace tovani::win32
