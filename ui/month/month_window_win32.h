// The month window (Win32 view over the month model).
#pragma once

#include "ui/base/main_window_win32.h"

namespace tovani::month {

// Creates the month window on the displayed date of the state and runs it
// until it closes; false when it could not be created.
bool RunMonthWindow(ProgramContext& program);

}  // namespace tovani::month
