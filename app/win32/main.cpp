// The Windows program: one copy at a time; settings, ranges and today; then
// the calendar window until the user quits.
#include <windows.h>
#include <commctrl.h>

#include "app/app_state.h"
#include "app/startup.h"
#include "app/win32/platform_win32.h"
#include "app/win32/registry_win32.h"
#include "ui/day/day_window_win32.h"
#include "ui/month/month_window_win32.h"

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

  tovani::AppState state;
  tovani::Win32Registry registry;
  tovani::Win32Platform platform;
  tovani::SetProgramLocation(state, tovani::ModulePath());
  tovani::StartUp(state, registry, platform);

  tovani::ProgramContext program{instance, state, registry, platform, {}, {}, {}};
  // The window loop: the day or the month window by CalendarKind, again
  // while a window closed only to let the other one open.  A window that
  // cannot be created ends the loop.
  for (;;) {
    state.ReopenFlag = 0;
    const bool ran = state.CalendarKind == 1 ? tovani::month::RunMonthWindow(program)
                                             : tovani::day::RunDayWindow(program);
    if (!ran || state.ReopenFlag != 1) break;
  }

  CloseHandle(mutex);
  return 0;
}
