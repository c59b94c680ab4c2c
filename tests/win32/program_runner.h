// Starting the real tovani.exe from a Windows-side test and finding its window.
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <optional>
#include <string>

#include "framework/win32/clock.h"
#include "framework/win32/faults.h"

namespace tovani::testing_win32 {

// tovani.exe lies next to the test programs.
inline std::wstring ProgramPath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p = path;
  return p.substr(0, p.find_last_of(L"\\/") + 1) + L"tovani.exe";
}

// ---- The program's clock ----
// What the program shows never depends on the computer's clock in a test:
// every copy of the program a test starts runs on a clock of its own
// (TOVANI_CLOCK), from a moment the test names or else from the suite's
// moment, and a test that must know the program's "now" or "today" asks
// ProgramNow, never the computer.

// The suite's moment: TOVANI_TEST_CLOCK ("YYYY-MM-DD HH:MM:SS") when set, or
// an ordinary weekday morning.  `tools/dev.sh dates` runs the suite at others.
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

// The process environment with one variable set to a value (or removed, for
// an empty value), as CreateProcessW takes it.
inline std::wstring EnvironmentWith(const std::wstring& name, const std::wstring& value) {
  const std::wstring prefix = name + L"=";
  std::wstring block;
  wchar_t* all = GetEnvironmentStringsW();
  for (const wchar_t* p = all; p != nullptr && *p != L'\0'; p += std::wcslen(p) + 1) {
    if (_wcsnicmp(p, prefix.c_str(), prefix.size()) != 0) block.append(p).push_back(L'\0');
  }
  if (all != nullptr) FreeEnvironmentStringsW(all);
  if (!value.empty()) block.append(prefix + value).push_back(L'\0');
  block.push_back(L'\0');
  return block;
}

// One started copy of the program; ended by force if a test leaves it running,
// and with the test when that is killed (a left-over copy would keep every
// later one from starting).
class Program {
 public:
  // With arguments after the program's name, as a command line has them, and
  // its clock started at a moment (TOVANI_CLOCK; empty: the computer's).
  explicit Program(const std::wstring& arguments = L"", const std::wstring& moment = SuiteMoment()) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring command = L"\"" + ProgramPath() + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    std::wstring environment = EnvironmentWith(L"TOVANI_CLOCK", moment);
    NoteStartedClock(moment);
    started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE,
                              CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT, environment.data(), nullptr, &si, &pi_);
    if (!started_) return;
    job_ = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job_ != nullptr) {
      SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);
      AssignProcessToJobObject(job_, pi_.hProcess);
    }
    ResumeThread(pi_.hThread);
  }
  ~Program() {
    if (!started_) return;
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 99);
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
    if (job_ != nullptr) CloseHandle(job_);
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  bool started() const { return started_; }
  DWORD id() const { return pi_.dwProcessId; }
  // The exit code, or STILL_ACTIVE when the process has not ended in time.
  DWORD WaitForExit(DWORD ms) const {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(pi_.hProcess, ms) == WAIT_OBJECT_0) GetExitCodeProcess(pi_.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION pi_{};
  HANDLE job_ = nullptr;
  BOOL started_ = FALSE;
};

struct WindowSearch {
  DWORD pid;
  const wchar_t* cls;
  HWND found;
};

inline BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<WindowSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  if (pid == s->pid && std::wstring(cls) == s->cls && IsWindowVisible(hwnd)) {
    s->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

// The visible window of a class that belongs to the program; nullptr after
// about fifteen seconds without one.
inline HWND WaitForWindow(const Program& p, const wchar_t* className) {
  for (int i = 0; i < 300; ++i) {
    WindowSearch s{p.id(), className, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&s));
    if (s.found != nullptr) {
      // A window is found as soon as it is created; its thread may take a while
      // (on a busy machine, seconds) to finish building it and reach its message
      // loop, and until then it counts as hung to a time-out send.
      DWORD_PTR ignored = 0;
      return SendMessageTimeoutW(s.found, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored) != 0 ? s.found : nullptr;
    }
    Sleep(50);
  }
  return nullptr;
}

// The program's calendar window (the day or the month window, shown or
// hidden); nullptr when it has none.
inline HWND CalendarWindowOf(DWORD pid) {
  for (const wchar_t* cls : {L"TOVANI_DFORM", L"TOVANI_MFORM"}) {
    for (HWND h = FindWindowExW(nullptr, nullptr, cls, nullptr); h != nullptr;
         h = FindWindowExW(nullptr, h, cls, nullptr)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(h, &owner);
      if (owner == pid) return h;
    }
  }
  return nullptr;
}

// The exceptions the program caught at the edges of its window procedures
// (each a fault the user may not have seen); -1 when it cannot be asked.
inline long CaughtExceptionsOf(DWORD pid) {
  HWND window = CalendarWindowOf(pid);
  DWORD_PTR count = 0;
  const UINT ask = RegisterWindowMessageW(win32::kCaughtExceptionsMessageName);
  if (window == nullptr || SendMessageTimeoutW(window, ask, 0, 0, SMTO_ABORTIFHUNG, 5000, &count) == 0) {
    return -1;
  }
  return static_cast<long>(count);
}

}  // namespace tovani::testing_win32
