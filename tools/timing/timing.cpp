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
// chosen and the next-month button in the month window.  Each step is sent to the window and
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

#include "ui/day/day_frame.h"
#include "ui/day/day_model.h"
#include "ui/menu/menu_model.h"
#include "ui/month/month_frame.h"

namespace {

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

std::wstring NextToMe(const wchar_t* name) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p = path;
  return p.substr(0, p.find_last_of(L"\\/") + 1) + name;
}

struct Search {
  DWORD pid;
  const wchar_t* cls;
  HWND found;
};

BOOL CALLBACK Match(HWND h, LPARAM param) {
  auto* s = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  wchar_t cls[64] = {};
  GetClassNameW(h, cls, 64);
  if (pid == s->pid && s->cls == std::wstring(cls) && IsWindowVisible(h)) {
    s->found = h;
    return FALSE;
  }
  return TRUE;
}

// The window painted: every pending paint of it and its controls done.
void Repaint(HWND h) { RedrawWindow(h, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

// One started copy of a program, ended when it goes.
class Running {
 public:
  explicit Running(const std::wstring& path) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring command = L"\"" + path + L"\"";
    started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_);
  }
  ~Running() {
    if (!started_) return;
    // The calendar ends when its window is closed; force only a straggler.
    HWND w = window_;
    if (w != nullptr) PostMessageW(w, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi_.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi_.hProcess, 1);
    WaitForSingleObject(pi_.hProcess, 10000);
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
  }
  Running(const Running&) = delete;
  Running& operator=(const Running&) = delete;

  // The visible window of the class, once it answers; nullptr after 30 s.
  HWND WaitFor(const wchar_t* cls) {
    const double until = Milliseconds() + 30000;
    while (started_ && Milliseconds() < until) {
      Search s{pi_.dwProcessId, cls, nullptr};
      EnumWindows(Match, reinterpret_cast<LPARAM>(&s));
      if (s.found != nullptr) {
        DWORD_PTR ignored = 0;
        if (SendMessageTimeoutW(s.found, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored) == 0) return nullptr;
        window_ = s.found;
        return s.found;
      }
      Sleep(1);
    }
    return nullptr;
  }

 private:
  PROCESS_INFORMATION pi_{};
  BOOL started_ = FALSE;
  HWND window_ = nullptr;
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
  Repaint(window);
  return Milliseconds() - start;
}

double Click(HWND window, int buttonId) {
  const double start = Milliseconds();
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, buttonId)));
  Repaint(window);
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

}  // namespace

int main(int argc, char** argv) {
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
  Running program(calendar);
  HWND day = program.WaitFor(dayClass.c_str());
  if (day == nullptr) {
    std::fprintf(stderr, "the day window did not come up\n");
    return 1;
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
    return 1;
  }
  Row("month window: a month chosen", Repeat(runs, [&](int i) { return Choose(month, tovani::month::kMonthListId, i); }),
      emptyChoice);
  Row("month window: next month button",
      Repeat(runs, [&](int) { return Click(month, tovani::month::kButtonBase + tovani::month::kNextMonth); }),
      emptyChoice);
  return 0;
}
