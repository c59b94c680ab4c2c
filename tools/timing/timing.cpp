// How fast the calendar answers, measured from outside as a user meets it,
// side by side with a minimal window (empty_window.exe) started and driven
// the same way.  Runs on Windows or under Wine, with tovani.exe and
// empty_window.exe next to it:
//
//   tovani_timing [RUNS]
//
// Prints the median of RUNS (default 7) for each row: the launch to the
// window visible, answering and painted; a choice in a list to its texts
// repainted (the day window's Gregorian year, month and lunar year); a month
// chosen and the next-month button in the month window.  Then the searches
// against the same search run alone in this program: page 2 over 100 years
// with one condition, "查询" to the result; and page 1's leap months of 5000
// years in a calendar just started.  Each step is sent to the window and
// followed by a synchronous repaint of the window and its controls, so the
// time is what the user waits for.  Nothing is timed in the tests; this is
// for the README's table.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tests/win32/driver.h"
#include "ui/day/day_frame.h"
#include "ui/day/day_model.h"
#include "ui/menu/menu_model.h"
#include "ui/month/month_frame.h"
#include "ui/search/search_model.h"
#include "ui/search/search_window_win32.h"

namespace {

using tovani::driver::NextToMe;

double Milliseconds() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

BOOL CALLBACK PendingPaint(HWND h, LPARAM param) {
  if (GetUpdateRect(h, nullptr, FALSE)) {
    *reinterpret_cast<bool*>(param) = true;
    return FALSE;
  }
  return TRUE;
}

// The window painted: every pending paint of it and its controls done by the
// program's own message loop, as a user sees it (asking the other process to
// paint now would time the messages between the processes instead).
void Repaint(HWND h) {
  const double until = Milliseconds() + 10000;
  while (Milliseconds() < until) {
    bool pending = GetUpdateRect(h, nullptr, FALSE) != 0;
    if (!pending) EnumChildWindows(h, PendingPaint, reinterpret_cast<LPARAM>(&pending));
    if (!pending) return;
    Sleep(0);
  }
}

// One started copy of a program, closed as a user closes it when it goes.
class Running : public tovani::driver::Program {
 public:
  explicit Running(const std::wstring& path) : Program(tovani::driver::Launch::Other(path)) {}
  // The visible window of the class, once it answers; nullptr after 30 s.
  HWND WaitFor(const wchar_t* cls) { return Program::WaitFor(cls, nullptr, 30000, 1); }
};

// Launch to the window visible, answering and painted.
double Launch(const std::wstring& path, const wchar_t* cls) {
  const double start = Milliseconds();
  Running program(path);
  HWND w = program.WaitFor(cls);
  if (w == nullptr) return -1;
  Repaint(w);
  return Milliseconds() - start;
}

// A list choice as the window gets it from a key on a closed list: the
// selection, the notification, then the repaint.  Alternates between the
// item after the selected one and the selected one.
double Choose(HWND window, int listId, int step) {
  HWND list = GetDlgItem(window, listId);
  const int selected = static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0));
  const int count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
  const int to = step % 2 == 0 ? std::min(selected + 1, count - 1) : std::max(selected - 1, 0);
  const double start = Milliseconds();
  SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(to), 0);
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(listId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  const double handled = Milliseconds() - start;
  Repaint(window);
  if (std::getenv("TIMING_DEBUG")) std::printf("  handled %.1f painted %.1f\n", handled, Milliseconds() - start);
  return Milliseconds() - start;
}

double Click(HWND window, int buttonId) {
  const double start = Milliseconds();
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, buttonId)));
  Repaint(window);
  return Milliseconds() - start;
}

// A field's whole text typed, as the window sees it.
void Type(HWND window, int id, const wchar_t* text) {
  HWND field = GetDlgItem(window, id);
  SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, EN_CHANGE), reinterpret_cast<LPARAM>(field));
}

// A control's text in another process: asked of the control itself
// (GetWindowText would give only a caption stored by the system).
std::wstring TextOf(HWND h) {
  const LRESULT length = SendMessageW(h, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
  const LRESULT got = SendMessageW(h, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return text;
}

// "查询" pressed (posted, as a click arrives) to the result shown.
double SearchToResult(HWND window) {
  using namespace tovani::search;
  HWND box = GetDlgItem(window, kResultId);
  const double start = Milliseconds();
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(kSearchButtonId, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, kSearchButtonId)));
  while (Milliseconds() - start < 60000) {
    static const std::wstring kFound = L"    共找到 ";
    const std::wstring text = TextOf(box);
    if (text.compare(0, kFound.size(), kFound) == 0) return Milliseconds() - start;
    Sleep(1);
  }
  return -1;
}

double ModelAlone(const std::function<std::unique_ptr<tovani::search::Search>()>& make) {
  const double start = Milliseconds();
  auto search = make();
  while (search->Step()) {
  }
  search->Result();
  return Milliseconds() - start;
}

std::vector<double> Repeat(int runs, const std::function<double(int)>& one) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const double t = one(i);
    if (t >= 0) times.push_back(t);
  }
  return times;
}

void Row(const char* what, const std::vector<double>& ours, const std::vector<double>& empty) {
  const double a = Median(ours), b = Median(empty);
  std::printf("%-44s %9.1f ms %9.1f ms %7.1f\n", what, a, b, b > 0 ? a / b : 0.0);
}


bool MainWindowRows(int runs, const std::wstring& calendar, const std::wstring& dayClass,
                    const std::wstring& monthClass, const std::vector<double>& emptyChoice) {
  Running program(calendar);
  HWND day = program.WaitFor(dayClass.c_str());
  if (day == nullptr) {
    std::fprintf(stderr, "the day window did not come up\n");
    return false;
  }
  using tovani::day::ListId;
  const struct {
    const char* what;
    ListId list;
  } lists[] = {{"day window: Gregorian year chosen", tovani::day::kGregorianYear},
               {"day window: Gregorian month chosen", tovani::day::kGregorianMonth},
               {"day window: lunar year chosen", tovani::day::kLunarYear}};
  for (const auto& l : lists) {
    Row(l.what, Repeat(runs, [&](int i) { return Choose(day, tovani::day::kListBase + l.list, i); }), emptyChoice);
  }
  PostMessageW(day, WM_COMMAND, tovani::menu::kShowMonthWindow, 0);
  HWND month = program.WaitFor(monthClass.c_str());
  if (month == nullptr) {
    std::fprintf(stderr, "the month window did not come up\n");
    return false;
  }
  Row("month window: a month chosen", Repeat(runs, [&](int i) { return Choose(month, tovani::month::kMonthListId, i); }),
      emptyChoice);
  Row("month window: next month button",
      Repeat(runs, [&](int) { return Click(month, tovani::month::kButtonBase + tovani::month::kNextMonth); }),
      emptyChoice);

  using namespace tovani::search;
  std::printf("\n%-44s %12s %12s %7s\n", "what", "calendar", "alone", "ratio");
  PostMessageW(month, WM_COMMAND, tovani::menu::kSearchDays, 0);
  HWND days = program.WaitFor(L"TOVANI_SFORM");
  if (days == nullptr) {
    std::fprintf(stderr, "the search window did not come up\n");
    return false;
  }
  HWND gregorianDay = GetDlgItem(days, kListBaseId + static_cast<int>(kGregorianDay));
  SendMessageW(gregorianDay, CB_SETCURSEL, 1, 0);
  SendMessageW(days, WM_COMMAND, MAKEWPARAM(kListBaseId + static_cast<int>(kGregorianDay), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(gregorianDay));
  Type(days, kStartId, L"1950");
  Type(days, kRangeId, L"100");
  DayConditions first;
  first.values[kGregorianDay] = 1;
  const auto daySearch = [&] {
    return MakeConditionDaySearch(1950, 100, first, tovani::YearStart::kStartOfSpring, tovani::kHistoricalRules);
  };
  Row("search page 2, 100 years, one condition", Repeat(runs, [&](int) { return SearchToResult(days); }),
      Repeat(runs, [&](int) { return ModelAlone(daySearch); }));
  PostMessageW(days, WM_CLOSE, 0, 0);
  Sleep(200);
  return true;
}

// Leap months of 5000 years, each time in a calendar just started; the
// search alone here from a cold cache once (later runs would find it warm).
void ColdSearchRow(int runs, const std::wstring& calendar, const std::wstring& dayClass) {
  using namespace tovani::search;
  std::vector<double> cold;
  for (int i = 0; i < runs; ++i) {
    Running fresh(calendar);
    HWND main = fresh.WaitFor(dayClass.c_str());
    if (main == nullptr) break;
    PostMessageW(main, WM_COMMAND, tovani::menu::kSearchMonths, 0);
    HWND months = fresh.WaitFor(L"TOVANI_SFORM");
    if (months == nullptr) break;
    Type(months, kStartId, L"1");
    Type(months, kRangeId, L"5000");
    cold.push_back(SearchToResult(months));
    PostMessageW(months, WM_CLOSE, 0, 0);
    Sleep(200);
  }
  Row("search page 1, leap months of 5000 years, cold", cold,
      {ModelAlone([] { return MakeLeapMonthSearch(1, 5000, 0, tovani::kHistoricalRules); })});
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);  // each row as it is measured
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  const std::wstring calendar = NextToMe(L"tovani.exe"), empty = NextToMe(L"empty_window.exe");
  const std::wstring dayClass(tovani::day::kClassName, tovani::day::kClassName + std::strlen(tovani::day::kClassName));
  const std::wstring monthClass(tovani::month::kClassName,
                                tovani::month::kClassName + std::strlen(tovani::month::kClassName));
  constexpr int kEmptyListId = 100;

  std::printf("medians of %d runs\n%-44s %12s %12s %7s\n", runs, "what", "calendar", "empty", "ratio");
  Launch(calendar, dayClass.c_str());  // the first start loads what later ones find ready
  Launch(empty, L"TOVANI_EMPTY");
  Row("launch to the day window painted", Repeat(runs, [&](int) { return Launch(calendar, dayClass.c_str()); }),
      Repeat(runs, [&](int) { return Launch(empty, L"TOVANI_EMPTY"); }));

  std::vector<double> emptyChoice;
  {
    Running program(empty);
    HWND w = program.WaitFor(L"TOVANI_EMPTY");
    if (w != nullptr) emptyChoice = Repeat(runs, [&](int i) { return Choose(w, kEmptyListId, i); });
  }
  if (!MainWindowRows(runs, calendar, dayClass, monthClass, emptyChoice)) return 1;
  ColdSearchRow(runs, calendar, dayClass);
  return 0;
}
