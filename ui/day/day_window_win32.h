// The day window (Win32 view).
#pragma once

#include <windows.h>

namespace tovani::day {

// Registers the class, creates and shows the window and runs its message loop
// until the window is gone or WM_QUIT arrives.
void RunDayWindow(HINSTANCE instance);

}  // namespace tovani::day
