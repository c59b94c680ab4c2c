// The Windows program: one copy at a time; settings, ranges and today; then
// the calendar window until the user quits.
#include <windows.h>
#include <commctrl.h>

#include "app/app_state.h"
#include "app/holidays.h"
#include "app/startup.h"
#include "app/win32/platform_win32.h"
#include "app/win32/registry_win32.h"
#include "framework/win32/clock.h"
#include "ui/calculator/calculator_window_win32.h"
#include "ui/coordinates/coordinates_window_win32.h"
#include "ui/day/day_window_win32.h"
#include "ui/help/help_window_win32.h"
#include "ui/memorial/memorial_window_win32.h"
#include "ui/menu/menu_model.h"
#include "ui/month/month_window_win32.h"
#include "ui/search/search_window_win32.h"
#include "ui/tables/tables_window_win32.h"
#include "ui/weather/weather_window_win32.h"

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

  tovani::win32::StartProgramClock();
  INITCOMMONCONTROLSEX icc{sizeof icc, 0x7FFF};
  if (!InitCommonControlsEx(&icc)) InitCommonControls();

  tovani::AppState state;
  tovani::Win32Registry registry;
  tovani::Win32Platform platform;
  tovani::SetProgramLocation(state, tovani::ModulePath());
  tovani::StartUp(state, registry, platform);

  tovani::ProgramContext program{instance, state, registry, platform, {}, {}, {}, nullptr, false, false, {}};
  // Years announced after this release, added by the user; a value that
  // cannot be used is passed over.  Read, as the settings are, only while
  // registry use is on.
  if (state.RegistryUseFlag == 1) program.holidays = tovani::ReadRegistryHolidays(registry).calendar;
  // The tool windows by their menu commands; each is told its page.
  namespace menu = tovani::menu;
  const auto tool = [&program](void (*open)(tovani::ProgramContext&, HWND, int), int firstCommand) {
    return [&program, open, firstCommand](HWND owner, int command) { open(program, owner, command - firstCommand + 1); };
  };
  for (int c = menu::kCalcJulianDay; c <= menu::kCalcConvert; ++c) {
    program.tools[c] = tool(tovani::calculator::OpenCalculatorWindow, menu::kCalcJulianDay);
  }
  for (int c = menu::kTableMonths; c <= menu::kTableSun; ++c) {
    program.tools[c] = tool(tovani::tables::OpenTablesWindow, menu::kTableMonths);
  }
  for (int c = menu::kSearchMonths; c <= menu::kSearchDays; ++c) {
    program.tools[c] = tool(tovani::search::OpenSearchWindow, menu::kSearchMonths);
  }
  for (int c = menu::kEditMemorials; c <= menu::kEditCountdown; ++c) {
    program.tools[c] = tool(tovani::memorial::OpenMemorialEditor, menu::kEditMemorials);
  }
  program.tools[menu::kCoordinates] = tool(tovani::coordinates::OpenCoordinatesWindow, menu::kCoordinates);
  program.tools[menu::kEditAlarms] = tool(tovani::coordinates::OpenCoordinatesWindow, menu::kEditAlarms - 1);
  program.tools[menu::kSetSystemDate] = tool(tovani::coordinates::OpenCoordinatesWindow, menu::kSetSystemDate - 2);
  program.tools[menu::kHelp] = tool(tovani::help::OpenHelpWindow, menu::kHelp);
  program.tools[menu::kWeather] = tool(tovani::weather::OpenWeatherWindow, menu::kWeather);
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
