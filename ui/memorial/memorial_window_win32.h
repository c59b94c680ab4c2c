// The memorial editor (Win32 view over its model).
#pragma once

#include <windows.h>

#include "ui/base/main_window_win32.h"

namespace tovani::memorial {

// Opens the window (kind 1 memorial days, 2 reminder days, 3 the countdown day), owned by the main window, and
// returns when it has closed.
void OpenMemorialEditor(ProgramContext& program, HWND owner, int kind);

}  // namespace tovani::memorial
