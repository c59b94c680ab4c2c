// The calculator window (Win32 view over its model).
#pragma once

#include <windows.h>

#include "ui/base/main_window_win32.h"

namespace tovani::calculator {

// Opens the window on a page (1..4, by the menu command) modally, owned by
// the main window, and returns when it has closed.
void OpenCalculatorWindow(ProgramContext& program, HWND owner, int page);

}  // namespace tovani::calculator
