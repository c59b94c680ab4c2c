// The day window (Win32 view over the day model).
#pragma once

#include "ui/base/main_window_win32.h"

namespace tovani::day {

// Creates the day window on the displayed date of the state and runs it until
// it closes; false when it could not be created.
bool RunDayWindow(ProgramContext& program);

}  // namespace tovani::day
