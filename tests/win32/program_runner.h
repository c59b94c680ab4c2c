// Starting the real tovani.exe from a Windows-side test and finding its
// window (the driver the soak and timing programs share), on the program's
// clock of the test.
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "framework/win32/clock.h"
#include "tests/win32/driver.h"

namespace tovani::testing_win32 {

using driver::CalendarWindowOf;
using driver::CaughtExceptionsOf;
using driver::WaitUntil;

// ---- The program's clock ----
// What the program shows never depends on the computer's clock in a test:
// every copy of the program a test starts runs on a clock of its own
// (TOVANI_CLOCK), from a moment the test names or else from the suite's
// moment, and a test that must know the program's "now" or "today" asks
// ProgramNow, never the computer.

// The suite's moment: TOVANI_TEST_CLOCK ("YYYY-MM-DD HH:MM:SS") when set, or
// an ordinary weekday morning.  tools/date_sweep.sh runs the suite at others.
inline const std::wstring& SuiteMoment() {
  static const std::wstring moment = [] {
    wchar_t text[64] = {};
    const DWORD n = GetEnvironmentVariableW(L"TOVANI_TEST_CLOCK", text, 64);
    if (n == 0) return std::wstring(L"2025-06-18 10:20:00");
    if (n >= 64 || !win32::ReadClockSetting(text)) {
      std::fprintf(stderr, "TOVANI_TEST_CLOCK is not a moment (YYYY-MM-DD HH:MM:SS)\n");
      std::exit(2);
    }
    return std::wstring(text);
  }();
  return moment;
}

// The clock of the copy of the program started last (before any, the
// suite's): its setting, and the computer's tick count when it was started.
struct StartedClock {
  win32::ClockSetting setting;
  ULONGLONG startedAt = 0;
};
inline StartedClock& LastStartedClock() {
  static StartedClock clock{*win32::ReadClockSetting(SuiteMoment().c_str()), GetTickCount64()};
  return clock;
}
// Notes the clock of a copy being started now: a moment, or none (the
// computer's clock).
inline void NoteStartedClock(const std::wstring& moment) {
  StartedClock& clock = LastStartedClock();
  std::optional<win32::ClockSetting> setting;
  if (!moment.empty()) setting = win32::ReadClockSetting(moment.c_str());
  if (setting) {
    clock.setting = *setting;
  } else {
    clock.setting = {};
    GetLocalTime(&clock.setting.moment);
  }
  clock.startedAt = GetTickCount64();
}

// The local time by the clock of the copy started last.  That copy read its
// clock a little after it was started, so its own may be that much behind.
inline SYSTEMTIME ProgramNow() {
  const StartedClock& clock = LastStartedClock();
  FILETIME f{};
  SystemTimeToFileTime(&clock.setting.moment, &f);
  const auto elapsed = static_cast<unsigned long long>(GetTickCount64() - clock.startedAt) * 10000ULL *
                       static_cast<unsigned long long>(clock.setting.rate);
  const unsigned long long ticks =
      ((static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime) + elapsed;
  f = {static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
  SYSTEMTIME now{};
  FileTimeToSystemTime(&f, &now);
  return now;
}

// One started copy of the program; ended by force if a test leaves it
// running, and with the test when that is killed.
class Program : public driver::Program {
 public:
  // With arguments after the program's name, as a command line has them, and
  // its clock started at a moment (TOVANI_CLOCK; empty: the computer's).
  explicit Program(const std::wstring& arguments = L"", const std::wstring& moment = SuiteMoment())
      : driver::Program(Noted(arguments, moment)) {}

 private:
  static driver::Launch Noted(const std::wstring& arguments, const std::wstring& moment) {
    NoteStartedClock(moment);
    driver::Launch launch = driver::Launch::Calendar(moment, false);
    launch.arguments = arguments;
    return launch;
  }
};

// The visible window of a class that belongs to the program, once it
// answers; nullptr after about fifteen seconds without one.
inline HWND WaitForWindow(Program& p, const wchar_t* className) { return p.WaitFor(className, nullptr, 15000, 50); }

}  // namespace tovani::testing_win32
