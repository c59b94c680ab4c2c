// Starting the real tovani.exe from a Windows-side test and finding its window.
#pragma once

#include <windows.h>

#include <string>

namespace tovani::testing_win32 {

// tovani.exe lies next to the test programs.
inline std::wstring ProgramPath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p = path;
  return p.substr(0, p.find_last_of(L"\\/") + 1) + L"tovani.exe";
}

// One started copy of the program; ended by force if a test leaves it running,
// and with the test when that is killed (a left-over copy would keep every
// later one from starting).
class Program {
 public:
  // With arguments after the program's name, as a command line has them.
  explicit Program(const std::wstring& arguments = L"") {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring command = L"\"" + ProgramPath() + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                              &si, &pi_);
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

}  // namespace tovani::testing_win32
