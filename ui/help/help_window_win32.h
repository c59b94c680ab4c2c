// The help window (Win32 view over its model).
#pragma once

#include <windows.h>

#include "ui/base/main_window_win32.h"

namespace tovani::help {

// Opens the window, owned by the main window, and
// returns when it has closed.
void OpenHelpWindow(ProgramContext& program, HWND owner, int);

}  // namespace tovani::help
