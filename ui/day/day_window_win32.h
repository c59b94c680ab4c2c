// The day window (Win32 view).
#pragma once

#include <windows.h>

#include <functional>

namespace tovani::day {

struct DayWindowOptions {
  int storedLeft = -1, storedTop = -1;  // where the window last was; -1 for none
  // Called once when the window closes, with its left and top edges, before
  // the message loop ends.
  std::function<void(int left, int top)> onClose;
};

// Registers the class, creates and shows the window and runs its message loop
// until the window is gone or WM_QUIT arrives.
void RunDayWindow(HINSTANCE instance, const DayWindowOptions& options);

}  // namespace tovani::day
