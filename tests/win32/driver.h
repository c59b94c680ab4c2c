// Starting the real tovani.exe (or another program beside it), finding its
// windows and waiting on them from another process: what the Windows-side
// tests, the soak program and the timing program share.  Header only; no
// test framework.
#pragma once

#include <windows.h>

#include <cwchar>
#include <functional>
#include <string>

#include "framework/win32/faults.h"

namespace tovani::driver {

// True once done() is; false if it is still not after timeoutMs.  pollMs
// apart (a timing wants a fine step, a test a light one).
inline bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD pollMs = 20) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (!done()) {
    if (GetTickCount64() > end) return false;
    Sleep(pollMs);
  }
  return true;
}

// A message sent with a time-out, so that a hung program cannot stall the
// caller; false when it went unanswered.
inline bool SendWithin(HWND h, UINT msg, WPARAM w, LPARAM l, LRESULT& result, DWORD ms = 15000) {
  DWORD_PTR answer = 0;
  if (SendMessageTimeoutW(h, msg, w, l, SMTO_ABORTIFHUNG, ms, &answer) == 0) return false;
  result = static_cast<LRESULT>(answer);
  return true;
}

// The window has handled everything sent or posted to it before.  Waits even
// for a window whose thread the system counts as hung (one still being
// built, on a busy machine, may be for seconds).
inline bool Settled(HWND h, DWORD ms = 30000) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_NORMAL, ms, &ignored) != 0;
}

// A file next to the running program (tovani.exe lies next to the tests and
// tools).
inline std::wstring NextToMe(const wchar_t* name) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring p = path;
  return p.substr(0, p.find_last_of(L"\\/") + 1) + name;
}

struct WindowSearch {
  DWORD pid;
  const wchar_t* cls;
  HWND skip;
  HWND found;
};

inline BOOL CALLBACK MatchWindow(HWND h, LPARAM param) {
  auto* s = reinterpret_cast<WindowSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  wchar_t cls[64] = {};
  GetClassNameW(h, cls, 64);
  if (pid == s->pid && h != s->skip && lstrcmpiW(cls, s->cls) == 0 && IsWindowVisible(h)) {
    s->found = h;
    return FALSE;
  }
  return TRUE;
}

// A visible top-level window of the class of the process (other than skip);
// nullptr when there is none.
inline HWND VisibleWindowOf(DWORD pid, const wchar_t* cls, HWND skip = nullptr) {
  WindowSearch s{pid, cls, skip, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&s));
  return s.found;
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
  LRESULT count = 0;
  const UINT ask = RegisterWindowMessageW(win32::kCaughtExceptionsMessageName);
  if (window == nullptr || !SendWithin(window, ask, 0, 0, count, 5000)) return -1;
  return static_cast<long>(count);
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

// How a program is started and ended.
struct Launch {
  // tovani.exe with its clock at a moment (empty: the computer's).
  static Launch Calendar(const std::wstring& clock, bool closeGently) {
    Launch l;
    l.clock = clock;
    l.closeGently = closeGently;
    return l;
  }
  // Another program beside the caller, closed gently.
  static Launch Other(const std::wstring& path) {
    Launch l;
    l.path = path;
    l.closeGently = true;
    return l;
  }

  std::wstring path = NextToMe(L"tovani.exe");
  std::wstring arguments;  // after the program's name, as a command line has them
  std::wstring clock;      // TOVANI_CLOCK, the moment its clock starts at; empty: the computer's
  // At the end: first WM_CLOSE to its calendar window (or the window it
  // showed first), as a user closes it, its settings saved, and force only
  // after ten seconds; or at once by force.
  bool closeGently = false;
};

// One started copy of a program, in a job of its own so that it goes with
// the caller when that is killed (a left-over calendar would keep every
// later one from starting).
class Program {
 public:
  explicit Program(const Launch& launch) : gently_(launch.closeGently) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring command = L"\"" + launch.path + L"\"" + (launch.arguments.empty() ? L"" : L" " + launch.arguments);
    std::wstring environment = EnvironmentWith(L"TOVANI_CLOCK", launch.clock);
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
    if (gently_) {
      HWND main = CalendarWindowOf(pi_.dwProcessId);
      if (main == nullptr && first_ != nullptr && IsWindow(first_)) main = first_;
      if (main != nullptr) PostMessageW(main, WM_CLOSE, 0, 0);
      WaitForSingleObject(pi_.hProcess, 10000);
    }
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 99);
    WaitForSingleObject(pi_.hProcess, 10000);
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
    if (job_ != nullptr) CloseHandle(job_);
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  bool started() const { return started_ != FALSE; }
  DWORD id() const { return pi_.dwProcessId; }
  HANDLE process() const { return pi_.hProcess; }
  // The exit code, or STILL_ACTIVE when the process has not ended in time.
  DWORD WaitForExit(DWORD ms) const {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(pi_.hProcess, ms) == WAIT_OBJECT_0) GetExitCodeProcess(pi_.hProcess, &code);
    return code;
  }
  // The visible window of the class (other than skip) once it answers:
  // found as soon as it is created, its thread may take a while (on a busy
  // machine, seconds) to finish building it and reach its message loop.
  // nullptr when none came in time or it does not answer.
  HWND WaitFor(const wchar_t* cls, HWND skip = nullptr, DWORD timeoutMs = 15000, DWORD pollMs = 20) {
    HWND found = nullptr;
    if (!started_ ||
        !WaitUntil([&] { return (found = VisibleWindowOf(pi_.dwProcessId, cls, skip)) != nullptr; }, timeoutMs,
                   pollMs) ||
        !Settled(found)) {
      return nullptr;
    }
    if (first_ == nullptr) first_ = found;
    return found;
  }

 private:
  PROCESS_INFORMATION pi_{};
  HANDLE job_ = nullptr;
  BOOL started_ = FALSE;
  bool gently_;
  HWND first_ = nullptr;  // the first window it showed: its main window
};

}  // namespace tovani::driver
