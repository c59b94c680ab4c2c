// Starts the real tovani.exe and checks its window from outside.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ui/day/day_frame.h"

namespace tovani::day {
namespace {

std::wstring ProgramPath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p = path;
  return p.substr(0, p.find_last_of(L"\\/") + 1) + L"tovani.exe";
}

// One started copy of the program; ended by force if a test leaves it running.
class Program {
 public:
  Program() {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring command = L"\"" + ProgramPath() + L"\"";
    started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_);
  }
  ~Program() {
    if (!started_) return;
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 99);
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
  }
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
  BOOL started_ = FALSE;
};

struct Search {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  if (pid == s->pid && std::wstring(cls) == L"TOVANI_DFORM" && IsWindowVisible(hwnd)) {
    s->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND WaitForDayWindow(const Program& p) {
  for (int i = 0; i < 300; ++i) {
    Search s{p.id(), nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&s));
    if (s.found != nullptr) return s.found;
    Sleep(50);
  }
  return nullptr;
}

TEST(DayWindow, FrameIsACentredPostageStampThatClosesWithAltX) {
  Program first;
  ASSERT_TRUE(first.started());
  HWND hwnd = WaitForDayWindow(first);
  ASSERT_NE(hwnd, nullptr) << "no TOVANI_DFORM window";
  EXPECT_EQ(FindWindowW(L"TOVANI_DFORM", nullptr), hwnd);

  RECT r{};
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.right - r.left, kWindowWidth);
  EXPECT_EQ(r.bottom - r.top, kWindowHeight);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - kWindowWidth) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - kWindowHeight) / 2);

  wchar_t caption[32] = {};
  GetWindowTextW(hwnd, caption, 32);
  EXPECT_EQ(std::wstring(caption), L"青鹭日历");
  const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  const LONG exStyle = GetWindowLongW(hwnd, GWL_EXSTYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & WS_CAPTION);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);

  // The region agrees with the outline at every pixel that is clearly inside
  // or clearly outside it (GDI rounds the circles' edges its own way).
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(hwnd, region), ERROR);
  const Outline& outline = DayWindowOutline();
  int inside = 0, outside = 0;
  for (int y = 0; y < kWindowHeight; ++y) {
    for (int x = 0; x < kWindowWidth; ++x) {
      const double cx = x + 0.5, cy = y + 0.5;
      if (OutlineContains(outline, cx, cy, 1.5)) {
        ++inside;
        ASSERT_TRUE(PtInRegion(region, x, y)) << x << "," << y;
      } else if (!OutlineContains(outline, cx, cy, -1.5)) {
        ++outside;
        ASSERT_FALSE(PtInRegion(region, x, y)) << x << "," << y;
      }
    }
  }
  DeleteObject(region);
  EXPECT_GT(inside, 30000);
  EXPECT_GT(outside, 50);

  // The window paints itself in its blue.
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  HDC screen = GetDC(nullptr);
  COLORREF colour = CLR_INVALID;
  for (int i = 0; i < 50 && colour != RGB(kBackgroundRed, kBackgroundGreen, kBackgroundBlue); ++i) {
    Sleep(20);
    colour = GetPixel(screen, r.left + 130, r.top + 75);
  }
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(colour, RGB(kBackgroundRed, kBackgroundGreen, kBackgroundBlue));

  // A second copy ends at once with 0 and leaves the first alone.
  {
    Program second;
    ASSERT_TRUE(second.started());
    EXPECT_EQ(second.WaitForExit(20000), 0u);
  }
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_EQ(first.WaitForExit(0), STILL_ACTIVE);

  // Alt+X closes it and the program ends with 0.
  PostMessageW(hwnd, WM_SYSKEYDOWN, 'X', 1 << 29);
  EXPECT_EQ(first.WaitForExit(20000), 0u);
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST(DayWindow, ClosingTheWindowEndsTheProgram) {
  Program p;
  ASSERT_TRUE(p.started());
  HWND hwnd = WaitForDayWindow(p);
  ASSERT_NE(hwnd, nullptr);
  PostMessageW(hwnd, WM_CLOSE, 0, 0);
  EXPECT_EQ(p.WaitForExit(20000), 0u);
  // With the first copy gone, a new start is the only copy again.
  Program again;
  ASSERT_TRUE(again.started());
  HWND next = WaitForDayWindow(again);
  ASSERT_NE(next, nullptr);
  PostMessageW(next, WM_CLOSE, 0, 0);
  EXPECT_EQ(again.WaitForExit(20000), 0u);
}

}  // namespace
}  // namespace tovani::day
