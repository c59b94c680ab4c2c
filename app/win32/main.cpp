// The Windows program: one copy at a time, then the calendar window.
#include <windows.h>
#include <commctrl.h>

#include "ui/day/day_window_win32.h"

namespace {

constexpr wchar_t kInstanceMutexName[] = L"Tovani3.0";

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // A second copy ends at once and silently; the running one is left alone.
  HANDLE mutex = CreateMutexW(nullptr, FALSE, kInstanceMutexName);
  if (mutex == nullptr || GetLastError() == ERROR_ALREADY_EXISTS) {
    if (mutex != nullptr) CloseHandle(mutex);
    return 0;
  }

  INITCOMMONCONTROLSEX icc{sizeof icc, 0x7FFF};
  if (!InitCommonControlsEx(&icc)) InitCommonControls();

  tovani::day::RunDayWindow(instance);

  CloseHandle(mutex);
  return 0;
}
