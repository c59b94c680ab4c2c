// The weather window (Win32 view over its model).
#pragma once

#include <windows.h>

#include "ui/menu/main_window_win32.h"

namespace tovani::weather {

// Opens the window, owned by the main window, and
// returns when it has closed (the weather window is not modal: it returns at once, and a second call while it is open and visible only brings it to the front).
void OpenWeatherWindow(ProgramContext& program, HWND owner, int);

}  // namespace tovani::weather
