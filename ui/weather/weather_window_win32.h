// The weather window (Win32 view over its model).
#pragma once

#include <windows.h>

#include "ui/base/main_window_win32.h"

namespace tovani::weather {

// Opens the window and returns at once: the window is not modal.  While it is
// open (and not closed) a second call only brings it to the front.  It is
// owned by the main window that opens it, so that it stays above that one,
// and centred on its monitor; the main windows hand it on at a switch
// between the day and the month window, which it outlives.  While it exists
// program.modeless is its handle.
void OpenWeatherWindow(ProgramContext& program, HWND owner, int);

}  // namespace tovani::weather
