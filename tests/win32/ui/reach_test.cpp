// The windows of the real tovani.exe stay within the user's reach: the
// weather window above the calendar window, a minimised or hidden window
// brought back by the hot key or the tray icon of either window, the records
// balloon only with its window, and the automatic fade after a menu closed
// without a choice.
#include <windows.h>
#include <shellapi.h>

#include "ui/menu/menu_model.h"
#include "views.h"

namespace tovani::testing_win32 {
namespace {

constexpr UINT kTrayMessage = WM_USER + 100;

class Reach : public ProgramTest {
 protected:
  HWND ProgramBalloon() const {
    for (HWND tip : WindowsOf(program_->id(), L"tooltips_class32")) {
      if (GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON) return tip;
    }
    return nullptr;
  }
};

// a lies above b in the order of the screen's windows.
bool Above(HWND a, HWND b) {
  for (HWND h = GetWindow(a, GW_HWNDNEXT); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
    if (h == b) return true;
  }
  return false;
}

// Whether the tray holds the window's icon (the shell answers for it).
bool HasTrayIcon(HWND window) {
  NOTIFYICONDATAW d{};
  d.cbSize = sizeof d;
  d.hWnd = window;
  d.uID = 1;
  return Shell_NotifyIconW(NIM_MODIFY, &d) != FALSE;
}

// The weather window comes up above the calendar window that opened it, stays
// above it when that one is brought to the front, and after a switch of
// calendar window, which it outlives, above the new one.
TEST_F(Reach, TheWeatherWindowStaysAboveTheCalendarWindow) {
  HWND main = Start(L"TOVANI_DFORM");
  ASSERT_NE(main, nullptr);
  Command(main, menu::kWeather);
  HWND weather = WaitForWindow(*program_, L"TOVANI_WFORM");
  ASSERT_NE(weather, nullptr);
  for (const wchar_t* cls : {L"TOVANI_DFORM", L"TOVANI_MFORM"}) {
    SCOPED_TRACE(cls == std::wstring(L"TOVANI_DFORM") ? "day window" : "month window");
    if (cls != std::wstring(L"TOVANI_DFORM")) {
      main = SwitchTo(main, menu::kShowMonthWindow, cls);
      ASSERT_NE(main, nullptr);
      ASSERT_TRUE(IsWindow(weather));
    }
    EXPECT_TRUE(WaitUntil([&] { return Above(weather, main); }, 5000));
    SetWindowPos(main, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitUntil([&] { return Above(weather, main); }, 5000));
    EXPECT_TRUE(IsWindowVisible(weather));
  }
  EXPECT_TRUE(CloseAndWait(main));
}

// Both calendar windows keep the tray icon; from hidden (Esc) or minimised,
// a click on it or Ctrl+Alt+R shows the window again.
TEST_F(Reach, AHiddenOrMinimisedWindowComesBack) {
  HWND main = Start(L"TOVANI_DFORM");
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return HasTrayIcon(main); }, 5000)) << "day window";
  main = SwitchTo(main, menu::kShowMonthWindow, L"TOVANI_MFORM");
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return HasTrayIcon(main); }, 5000)) << "month window";
  struct Case {
    const char* what;
    UINT away;  // how the window goes: hidden or minimised
    UINT back, backW, backL;
  };
  const Case cases[] = {
      {"hidden, the tray icon", SW_HIDE, kTrayMessage, 1, WM_LBUTTONDOWN},
      {"hidden, Ctrl+Alt+R", SW_HIDE, WM_HOTKEY, 45057, 0},
      {"minimised, the tray icon", SW_MINIMIZE, kTrayMessage, 1, WM_LBUTTONDOWN},
      {"minimised, Ctrl+Alt+R", SW_MINIMIZE, WM_HOTKEY, 45057, 0},
  };
  for (const Case& c : cases) {
    ShowWindow(main, static_cast<int>(c.away));
    ASSERT_TRUE(WaitUntil([&] { return c.away == SW_HIDE ? !IsWindowVisible(main) : IsIconic(main) != FALSE; }, 5000))
        << c.what;
    PostMessageW(main, c.back, c.backW, c.backL);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) && !IsIconic(main); }, 5000)) << c.what;
  }
  EXPECT_TRUE(CloseAndWait(main));
}

// The records balloon shows only with its window, and above it: a date with a
// record reached while the window is hidden shows it when the window comes
// back.
TEST_F(Reach, TheRecordsBalloonWaitsForItsWindow) {
  const CalendarTriple today = Today();
  wchar_t name[8] = {};
  swprintf(name, 8, L"%02d-%02d", today.month, today.day);
  SeedSettings({{L"Version", L"4.1"}});
  SeedSettings({{name, L"AD2000            今天的"}}, L"SolarMemorial");
  HWND main = Start(L"TOVANI_DFORM");
  ASSERT_NE(main, nullptr);
  const DayView v(main);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(ProgramBalloon()) && TextOf(ProgramBalloon()) == "今天的"; },
                        5000));
  EXPECT_TRUE(WaitUntil([&] { return Above(ProgramBalloon(), main); }, 2000));
  ChooseItem(v[day::kGregorianYear], 1990 + 103);  // another day
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(ProgramBalloon()); }, 5000));
  PressEscape(main);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }, 5000));
  Command(main, menu::kGoToday);  // as from the tray icon's menu
  EXPECT_FALSE(WaitUntil([&] { return IsWindowVisible(ProgramBalloon()) != FALSE; }, 1500));
  PostMessageW(main, WM_HOTKEY, 45057, 0);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(ProgramBalloon()) && TextOf(ProgramBalloon()) == "今天的"; },
                        5000));
  EXPECT_TRUE(WaitUntil([&] { return Above(ProgramBalloon(), main); }, 2000));
  EXPECT_TRUE(CloseAndWait(main));
}

// Automatic transparency goes on fading after the menu was closed without a
// choice (Esc).
TEST_F(Reach, TheFadeGoesOnAfterAMenuClosedWithoutAChoice) {
  HWND main = Start(L"TOVANI_DFORM");
  ASSERT_NE(main, nullptr);
  SetCursorPos(0, 0);
  Command(main, menu::kTransparencyAuto);
  ASSERT_TRUE(WaitUntil([&] { return AlphaOf(main) == 30; }, 10000));
  Send(GetDlgItem(main, day::kListBase), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));  // touched: opaque
  ASSERT_GT(AlphaOf(main), 150);
  PostMessageW(main, WM_RBUTTONUP, 0, MAKELPARAM(130, 141));
  HWND menu = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        menu = FindWindowW(L"#32768", nullptr);
        return menu != nullptr && IsWindowVisible(menu);
      },
      5000));
  PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 1);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }, 5000));
  SetCursorPos(0, 0);
  EXPECT_TRUE(WaitUntil([&] { return AlphaOf(main) == 30; }, 10000));
  EXPECT_TRUE(CloseAndWait(main));
}

}  // namespace
}  // namespace tovani::testing_win32
