// The system's light or dark appearance for applications.
#pragma once

#include <windows.h>

namespace tovani::win32 {

// True when the user asked Windows for dark applications
// (Personalize\AppsUseLightTheme = 0); a missing key or value is light.
bool AppsUseDarkTheme();

// A WM_SETTINGCHANGE that says the choice may have changed.
bool IsColourSetChange(UINT msg, LPARAM lParam);

// A window's caption in the dark or light (Windows 10 2004 and later; on
// older systems nothing happens).
void UseDarkCaption(HWND window, bool dark);

// Repaints a window, its frame and all its children, backgrounds included.
void RepaintAll(HWND window);

}  // namespace tovani::win32
