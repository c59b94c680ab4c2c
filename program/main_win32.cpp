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
#include "ui/calculator/calculator_model.h"
#include "ui/calculator/calculator_window_win32.h"
#include "ui/coordinates/coordinates_model.h"
#include "ui/coordinates/coordinates_window_win32.h"
#include "ui/day/day_window_win32.h"
#include "ui/help/help_model.h"
#include "ui/help/help_window_win32.h"
#include "ui/memorial/memorial_model.h"
#include "ui/memorial/memorial_window_win32.h"
#include "ui/menu/menu_model.h"
#include "ui/month/month_window_win32.h"
#include "ui/search/search_model.h"
#include "ui/search/search_window_win32.h"
#include "ui/tables/tables_model.h"
#include "ui/tables/tables_window_win32.h"
#include "ui/weather/weather_window_win32.h"

namespace {

constexpr wchar_t kInstanceMutexName[] = L"Tovani3.0";

namespace menu = tovani::menu;
using Opener = void (*)(tovani::ProgramContext&, HWND owner, int page);

// The tool windows by their menu commands, each with the page, mode or kind
// it opens on.
struct ToolCommand {
  int command;
  Opener open;
  int page;
};
constexpr ToolCommand kToolCommands[] = {
    {menu::kCoordinates, tovani::coordinates::OpenCoordinatesWindow, tovani::coordinates::kPlaceMode},
    {menu::kEditAlarms, tovani::coordinates::OpenCoordinatesWindow, tovani::coordinates::kAlarmMode},
    {menu::kSetSystemDate, tovani::coordinates::OpenCoordinatesWindow, tovani::coordinates::kSystemDateMode},
    {menu::kEditMemorials, tovani::memorial::OpenMemorialEditor, tovani::memorial::kMemorials},
    {menu::kEditReminders, tovani::memorial::OpenMemorialEditor, tovani::memorial::kReminders},
    {menu::kEditCountdown, tovani::memorial::OpenMemorialEditor, tovani::memorial::kCountdown},
    {menu::kCalcJulianDay, tovani::calculator::OpenCalculatorWindow, tovani::calculator::kJulianDayPage},
    {menu::kCalcInterval, tovani::calculator::OpenCalculatorWindow, tovani::calculator::kIntervalPage},
    {menu::kCalcSexagenary, tovani::calculator::OpenCalculatorWindow, tovani::calculator::kSexagenaryPage},
    {menu::kCalcConvert, tovani::calculator::OpenCalculatorWindow, tovani::calculator::kConvertPage},
    {menu::kTableMonths, tovani::tables::OpenTablesWindow, tovani::tables::kLunarMonths},
    {menu::kTableTerms, tovani::tables::OpenTablesWindow, tovani::tables::kSolarTerms},
    {menu::kTableMoons, tovani::tables::OpenTablesWindow, tovani::tables::kMoons},
    {menu::kTableSun, tovani::tables::OpenTablesWindow, tovani::tables::kSunTimes},
    {menu::kSearchMonths, tovani::search::OpenSearchWindow, tovani::search::kMonths},
    {menu::kSearchDays, tovani::search::OpenSearchWindow, tovani::search::kDays},
    {menu::kHelp, tovani::help::OpenHelpWindow, tovani::help::kFeatures},
    {menu::kWeather, tovani::weather::OpenWeatherWindow, 0},
};

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
  if (state.RegistryUseFlag) program.holidays = tovani::ReadRegistryHolidays(registry).calendar;
  for (const ToolCommand& t : kToolCommands) {
    program.tools[t.command] = [&program, t](HWND owner) { t.open(program, owner, t.page); };
  }
  // The window loop: the day or the month window by CalendarKind, again
  // while a window closed only to let the other one open.  A window that
  // cannot be created ends the loop.
  for (;;) {
    state.ReopenFlag = false;
    const bool ran = state.CalendarKind == tovani::WindowKind::kMonth ? tovani::month::RunMonthWindow(program)
                                                                      : tovani::day::RunDayWindow(program);
    if (!ran || !state.ReopenFlag) break;
  }

  CloseHandle(mutex);
  return 0;
}
