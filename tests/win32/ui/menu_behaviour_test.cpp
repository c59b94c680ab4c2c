// The menu commands and window behaviours of the real tovani.exe, from
// outside: placement, move lock, transparency, hiding and the hot keys, going
// to today, what closing stores, and the user's records on screen.
#include <set>

#include "ui/common/day_records.h"
#include "ui/menu/menu_model.h"
#include "views.h"

namespace tovani::testing_win32 {
namespace {

class MenuBehaviour : public ProgramTest {
 protected:
  static GUITHREADINFO ThreadInfo(HWND hwnd) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info);
    return info;
  }
  static bool InMoveLoop(HWND hwnd) { return (ThreadInfo(hwnd).flags & GUI_INMOVESIZE) != 0; }
  // The balloon of the day window (a tooltip with the balloon style).
  HWND Balloon() const {
    for (HWND tip : WindowsOf(program_->id(), L"tooltips_class32")) {
      if (GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON) return tip;
    }
    return nullptr;
  }
  void Escape(HWND hwnd) { PressEscape(hwnd); }
};

// Where an embedded window goes: the desktop's icon view, or the desktop
// itself where there is none (as under Wine).
HWND DesktopIconView() {
  HWND view = FindWindowExW(FindWindowW(L"Progman", L"Program Manager"), nullptr, L"SHELLDLL_DefView", nullptr);
  HWND list = view != nullptr ? FindWindowExW(view, nullptr, L"SysListView32", nullptr) : nullptr;
  return list != nullptr ? list : GetDesktopWindow();
}

// The program's own visible top-level windows (no message boxes, lists or tooltips).
struct VisibleSearch {
  DWORD pid;
  std::set<HWND> found;
};
BOOL CALLBACK CollectVisible(HWND h, LPARAM p) {
  auto* s = reinterpret_cast<VisibleSearch*>(p);
  DWORD owner = 0;
  GetWindowThreadProcessId(h, &owner);
  wchar_t cls[16] = {};
  GetClassNameW(h, cls, 16);
  if (owner == s->pid && IsWindowVisible(h) && std::wstring(cls).rfind(L"TOVANI_", 0) == 0) s->found.insert(h);
  return TRUE;
}
std::set<HWND> VisibleWindowsOf(DWORD pid) {
  VisibleSearch search{pid, {}};
  EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A menu caption without its mnemonic and dots: "计算儒略日(&J)..." is 计算儒略日.
std::string Plain(std::string caption) {
  if (const std::size_t amp = caption.find("(&"); amp != std::string::npos) caption.erase(amp, 4);
  while (!caption.empty() && caption.back() == '.') caption.pop_back();
  return caption;
}

// Every tool command of the menu opens a window of its own, captioned as its
// item (the question of the computer's date excepted) and holding all its
// controls, which closes again and gives the calendar window back.
TEST_F(MenuBehaviour, EveryToolCommandOpensItsWindow) {
  HWND main = Start(L"TOVANI_DFORM");
  ASSERT_NE(main, nullptr);
  AnswerQuestions(IDNO);
  for (const menu::CommandRow& row : menu::CommandTable()) {
    if (row.kind != menu::Kind::kTool) continue;
    SCOPED_TRACE(row.caption);
    const std::set<HWND> before = VisibleWindowsOf(program_->id());
    PostMessageW(main, WM_COMMAND, static_cast<WPARAM>(row.id), 0);
    HWND tool = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
          for (HWND h : VisibleWindowsOf(program_->id())) {
            if (before.count(h) == 0 && GetWindow(h, GW_OWNER) == main) tool = h;
          }
          return tool != nullptr;
        },
        10000));
    EXPECT_EQ(TextOf(tool), row.id == menu::kSetSystemDate ? "警告" : Plain(row.caption));
    ExpectControlsInside(tool);
    PostMessageW(tool, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(tool) && IsWindowEnabled(main); }, 10000));
  }
  EXPECT_TRUE(CloseAndWait(main));
}

TEST_F(MenuBehaviour, PlacementMoveLockAndTransparency) {
  HWND hwnd = Start(L"TOVANI_DFORM");
  ASSERT_NE(hwnd, nullptr);
  EXPECT_TRUE(Topmost(hwnd));
  Command(hwnd, 3035);
  EXPECT_FALSE(Topmost(hwnd));
  Command(hwnd, 3035);
  EXPECT_TRUE(Topmost(hwnd));
  Command(hwnd, 3036);  // embedded: no longer topmost
  EXPECT_FALSE(Topmost(hwnd));
  EXPECT_EQ(GetAncestor(hwnd, GA_PARENT), DesktopIconView());
  EXPECT_TRUE(IsWindowVisible(hwnd));
  Command(hwnd, 3035);
  EXPECT_TRUE(Topmost(hwnd));
  EXPECT_EQ(GetAncestor(hwnd, GA_PARENT), GetDesktopWindow());

  // Locked, a press on the window's body does not move it; unlocked it does.
  Command(hwnd, 3037);
  PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(130, 141));
  EXPECT_FALSE(WaitUntil([&] { return InMoveLoop(hwnd); }, 500));
  Command(hwnd, 3037);
  PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(130, 141));
  EXPECT_TRUE(WaitUntil([&] { return InMoveLoop(hwnd); }, 5000));
  PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(130, 141));
  ASSERT_TRUE(WaitUntil([&] { return !InMoveLoop(hwnd); }, 5000));

  for (int level = 0; level <= 9; ++level) {
    Command(hwnd, 3040 + level);
    EXPECT_EQ(AlphaOf(hwnd), 255 - 25 * level) << "level " << level;
  }
  EXPECT_EQ(AlphaOf(hwnd), 30);

  // Automatic: with the cursor away the window fades step by step to 30 and
  // no further; a touch makes it opaque, and it fades again.
  SetCursorPos(0, 0);
  Command(hwnd, 3050);
  EXPECT_EQ(AlphaOf(hwnd), 255);
  std::set<int> seen;
  int last = 255;
  bool rising = false;
  EXPECT_TRUE(WaitUntil(
      [&] {
        const int alpha = AlphaOf(hwnd);
        rising = rising || alpha > last;
        last = alpha;
        seen.insert(alpha);
        return alpha <= 30;
      },
      10000));
  EXPECT_FALSE(rising);
  EXPECT_EQ(*seen.begin(), 30);
  EXPECT_GE(seen.size(), 5u);
  for (int alpha : seen) EXPECT_EQ((255 - alpha) % 15, 0) << alpha;
  const DayView v(hwnd);
  Send(v[day::kLunarMonth], WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_GT(AlphaOf(hwnd), 150);
  EXPECT_TRUE(WaitUntil([&] { return AlphaOf(hwnd) == 30; }, 10000));
  // With the cursor over the window it stays opaque.
  RECT r{};
  GetWindowRect(v[day::kLunarMonth], &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  Send(v[day::kLunarMonth], WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_FALSE(WaitUntil([&] { return AlphaOf(hwnd) < 255; }, 3500));
  // A switch of window begins topmost again, and goes on fading.
  SetCursorPos(0, 0);
  Command(hwnd, 3035);
  ASSERT_FALSE(Topmost(hwnd));
  hwnd = SwitchTo(hwnd, 3026, L"TOVANI_MFORM");
  ASSERT_NE(hwnd, nullptr);
  EXPECT_TRUE(Topmost(hwnd));
  EXPECT_TRUE(WaitUntil([&] { return AlphaOf(hwnd) == 30; }, 10000));
  EXPECT_TRUE(CloseAndWait(hwnd));
}

TEST_F(MenuBehaviour, EscapeHidesTheHotKeysShowAndClose) {
  HWND hwnd = Start(L"TOVANI_DFORM");
  ASSERT_NE(hwnd, nullptr);
  const DayView day(hwnd);
  ChooseItem(day[day::kGregorianYear], 2000 + 103);
  ASSERT_NE(day.Gregorian(), Today());
  Command(hwnd, 3105);
  ExpectDayShows(day, *FromGregorian(Today(), kHistoricalRules));

  // Esc in an open list closes the list, not the window.
  Send(day[day::kGregorianMonth], CB_SHOWDROPDOWN, TRUE);
  ASSERT_TRUE(WaitUntil([&] { return Send(day[day::kGregorianMonth], CB_GETDROPPEDSTATE) != 0; }, 5000));
  PostMessageW(day[day::kGregorianMonth], WM_KEYDOWN, VK_ESCAPE, 1);
  PostMessageW(day[day::kGregorianMonth], WM_KEYUP, VK_ESCAPE, 0xC0000001);
  EXPECT_TRUE(WaitUntil([&] { return Send(day[day::kGregorianMonth], CB_GETDROPPEDSTATE) == 0; }, 5000));
  EXPECT_FALSE(WaitUntil([&] { return !IsWindowVisible(hwnd); }, 500));

  for (const bool monthWindow : {false, true}) {
    SCOPED_TRACE(monthWindow ? "month window" : "day window");
    if (monthWindow) {
      hwnd = SwitchTo(hwnd, 3026, L"TOVANI_MFORM");
      ASSERT_NE(hwnd, nullptr);
    }
    Escape(hwnd);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(hwnd); }, 5000));
    EXPECT_TRUE(IsWindow(hwnd));
    PostMessageW(hwnd, WM_HOTKEY, 45057, 0);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(hwnd) != FALSE; }, 5000));
  }
  PostMessageW(hwnd, WM_HOTKEY, 45060, 0);
  EXPECT_EQ(program_->WaitForExit(20000), 0u);
}

// Ctrl+Alt+R held by another program: the program starts all the same, with
// the other three keys its own, names the one it lacks in a balloon of its
// tray icon (the shell shows it as a tooltip of its own), and gives the keys
// back when it ends.
TEST_F(MenuBehaviour, AHotKeyHeldElsewhereIsSkippedAndNamed) {
  ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, 'R'));
  HWND hwnd = Start(L"TOVANI_DFORM");
  ASSERT_NE(hwnd, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return ShellTooltipSays(menu::HotKeysTakenText("R")); }, 10000));
  const DayView v(hwnd);
  ExpectDayShows(v, *FromGregorian(v.Gregorian(), kHistoricalRules));
  for (UINT key : {'W', 'V', 'X'}) {
    EXPECT_FALSE(RegisterHotKey(nullptr, 2, MOD_CONTROL | MOD_ALT, key)) << char(key);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));
    UnregisterHotKey(nullptr, 2);
  }
  PostMessageW(hwnd, WM_HOTKEY, 45060, 0);
  EXPECT_EQ(program_->WaitForExit(20000), 0u);
  EXPECT_TRUE(RegisterHotKey(nullptr, 2, MOD_CONTROL | MOD_ALT, 'W'));
  UnregisterHotKey(nullptr, 2);
  EXPECT_TRUE(UnregisterHotKey(nullptr, 1));  // still ours
}

TEST_F(MenuBehaviour, TheWindowChosenLastOpensFirstAndTheEndOfASessionSaves) {
  SeedSettings({{L"Version", L"4.1"}});
  HWND hwnd = Start(L"TOVANI_DFORM");
  ASSERT_NE(hwnd, nullptr);
  Command(hwnd, 3025);  // the window that is open already: nothing happens
  EXPECT_FALSE(WaitUntil([&] { return !IsWindow(hwnd); }, 1000));
  EXPECT_EQ(StoredSetting(L"FormLeft"), L"<none>");
  hwnd = SwitchTo(hwnd, 3026, L"TOVANI_MFORM");
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(StoredSetting(L"ShowCalendarTypeFlag"), L"<none>");  // a switch stores nothing
  Command(hwnd, 3045);
  ASSERT_TRUE(CloseAndWait(hwnd));
  EXPECT_EQ(StoredSetting(L"ShowCalendarTypeFlag"), L"1");
  EXPECT_EQ(StoredSetting(L"FORMTransFlag"), L"5");
  EXPECT_EQ(StoredSetting(L"GanZhiFromChunjieFlag"), L"<none>");  // a flag of 0 is not stored

  hwnd = Start(L"TOVANI_MFORM");
  ASSERT_NE(hwnd, nullptr);
  EXPECT_TRUE(WindowsOf(program_->id(), L"TOVANI_DFORM").empty());
  EXPECT_EQ(AlphaOf(hwnd), 255);  // the stored transparency is not read back
  const MonthView v(hwnd);
  Command(hwnd, 3090);
  ExpectMonthShows(v, *FromGregorian(Today(), kHistoricalRules), {.yearStart = YearStart::kLunarNewYear}, false);
  Send(hwnd, WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(StoredSetting(L"GanZhiFromChunjieFlag"), L"1");
  EXPECT_TRUE(CloseAndWait(hwnd));
}

TEST_F(MenuBehaviour, ARecordShowsInTheBalloonAndInTheDetails) {
  SeedSettings({{L"Version", L"4.1"}});
  SeedSettings({{L"05-01", L"AD2000            母亲生日"}}, L"SolarMemorial");
  HWND hwnd = Start(L"TOVANI_DFORM");
  ASSERT_NE(hwnd, nullptr);
  const DayView v(hwnd);
  const auto goTo = [&](int year, int month, int day) {
    ChooseItem(v[day::kGregorianYear], year + 103);
    ChooseItem(v[day::kGregorianMonth], month - 1);
    ChooseItem(v[day::kGregorianDay], day - 1);
  };
  const auto balloonShows = [&](const char* text) {
    HWND balloon = Balloon();
    return balloon != nullptr && IsWindowVisible(balloon) && TextOf(balloon) == text;
  };
  goTo(2024, 5, 1);
  EXPECT_TRUE(WaitUntil([&] { return balloonShows("母亲生日"); }, 5000));
  goTo(2024, 5, 2);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(Balloon()); }, 5000));
  goTo(2030, 5, 1);
  EXPECT_TRUE(WaitUntil([&] { return balloonShows("母亲生日"); }, 5000));
  Escape(hwnd);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(hwnd) && !IsWindowVisible(Balloon()); }, 5000));
  PostMessageW(hwnd, WM_HOTKEY, 45057, 0);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(hwnd) != FALSE; }, 5000));

  hwnd = SwitchTo(hwnd, 3026, L"TOVANI_MFORM");
  ASSERT_NE(hwnd, nullptr);
  const MonthView m(hwnd);
  const auto date = FromGregorian({2030, 5, 1}, kHistoricalRules);
  const std::string details = MonthDetails(*date, YearStart::kStartOfSpring);
  EXPECT_EQ(TextOf(m.details), DetailsWithRecords(details, DayRecords{"", {"母亲生日"}, "", ""}));
  EXPECT_NE(TextOf(m.details).find("母亲生日"), std::string::npos);
  // Registry use off (after its question): no records, and nothing stored
  // after the close.
  PostMessageW(hwnd, WM_COMMAND, 3085, 0);
  HWND question = WaitForMessageBox(program_->id());
  ASSERT_NE(question, nullptr);
  ASSERT_TRUE(Answer(question, IDYES));
  EXPECT_TRUE(WaitUntil([&] { return TextOf(m.details) == details; }, 5000));
  ASSERT_TRUE(CloseAndWait(hwnd));
  HKEY key = nullptr;
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key), ERROR_SUCCESS);
}

}  // namespace
}  // namespace tovani::testing_win32
