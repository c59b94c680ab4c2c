// The coordinates window (Win32 view over its model).
#pragma once

#include <windows.h>

#include "ui/base/main_window_win32.h"

namespace tovani::coordinates {

// Opens the window (mode 1 the place, 2 the alarms, 3 the computer's date), owned by the main window, and
// returns when it has closed.
void OpenCoordinatesWindow(ProgramContext& program, HWND owner, int mode);

}  // namespace tovani::coordinates
