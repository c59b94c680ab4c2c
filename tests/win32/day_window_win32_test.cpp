// Starts the real tovani.exe and checks its window from outside.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "program_runner.h"
#include "ui/day/day_frame.h"

namespace tovani::day {
namespace {

using testing_win32::Program;

HWND WaitForDayWindow(const Program& p) { return testing_win32::WaitForWindow(p, L"TOVANI_DFORM"); }

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
