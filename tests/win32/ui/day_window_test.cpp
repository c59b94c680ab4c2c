// The day window of the real tovani.exe, from outside: its frame, choices in
// its nine lists as a user makes them, stepping at the lists' ends, its size
// at a higher DPI, and how long it takes.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "views.h"

namespace tovani::testing_win32 {
namespace {

using day::ListId;

class DayWindow : public ProgramTest {
 protected:
  HWND StartDay() { return Start(L"TOVANI_DFORM"); }
};

// The window's region agrees with the outline, scaled, at every pixel that
// is clearly inside or clearly outside it (GDI rounds the circles' edges its
// own way).
void ExpectRegionFollowsOutline(HWND hwnd, double scale) {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(hwnd, region), ERROR);
  const day::Outline& outline = day::DayWindowOutline();
  int inside = 0, outside = 0;
  for (int y = 0; y < day::kWindowHeight * scale; ++y) {
    for (int x = 0; x < day::kWindowWidth * scale; ++x) {
      const double cx = (x + 0.5) / scale, cy = (y + 0.5) / scale;
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
  EXPECT_GT(inside, 30000 * scale * scale);
  EXPECT_GT(outside, 50 * scale);
}

TEST_F(DayWindow, FrameIsACentredPostageStampThatClosesWithAltX) {
  HWND hwnd = StartDay();
  ASSERT_NE(hwnd, nullptr) << "no TOVANI_DFORM window";
  EXPECT_EQ(FindWindowW(L"TOVANI_DFORM", nullptr), hwnd);

  RECT r{};
  GetWindowRect(hwnd, &r);
  ExpectControlsInside(hwnd);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - day::kWindowWidth) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - day::kWindowHeight) / 2);
  EXPECT_EQ(TextOf(hwnd), "青鹭日历");
  const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME));
  EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(Topmost(hwnd));

  ExpectRegionFollowsOutline(hwnd, 1.0);

  // The window paints itself in its blue.
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  const COLORREF blue = RGB(day::kBackgroundRed, day::kBackgroundGreen, day::kBackgroundBlue);
  COLORREF colour = CLR_INVALID;
  WaitUntil(
      [&] {
        HDC screen = GetDC(nullptr);
        colour = GetPixel(screen, r.left + 130, r.top + 141);
        ReleaseDC(nullptr, screen);
        return colour == blue;
      },
      2000);
  EXPECT_EQ(colour, blue);

  // A second copy ends at once with 0 and leaves the first alone.
  {
    Program second;
    ASSERT_TRUE(second.started());
    EXPECT_EQ(second.WaitForExit(20000), 0u);
  }
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_EQ(program_->WaitForExit(0), STILL_ACTIVE);

  // Alt+X closes it and the program ends with 0; a new start is then the
  // only copy again.
  PostMessageW(hwnd, WM_SYSKEYDOWN, 'X', 1 << 29);
  EXPECT_EQ(program_->WaitForExit(20000), 0u);
  EXPECT_FALSE(IsWindow(hwnd));
  HWND again = StartDay();
  ASSERT_NE(again, nullptr);
  EXPECT_TRUE(CloseAndWait(again));
}

enum class Act { kChoose, kKey, kWheel };

// One user action on a list, and the day the window must show after it.
struct Step {
  ListId list;
  Act act;
  int value;  // kChoose: the year, month (code) or day to pick; else the direction, -1 or +1
  CalendarTriple gregorian;  // {0, 0, 0}: whatever day the window shows, consistently
  CalendarTriple lunar = {};  // instead of gregorian, when given
};

TEST_F(DayWindow, ChoicesAndStepsKeepTheThreeCalendarsOnOneDay) {
  using enum day::ListId;
  const Step steps[] = {
      {kGregorianYear, Act::kChoose, 2023, {}},
      {kGregorianMonth, Act::kChoose, 1, {}},
      {kGregorianDay, Act::kChoose, 31, {2023, 1, 31}},
      {kGregorianMonth, Act::kChoose, 2, {2023, 2, 28}},  // 31 January to February: its last day
      {kGregorianYear, Act::kChoose, 2024, {2024, 2, 28}},
      {kGregorianDay, Act::kChoose, 29, {2024, 2, 29}},
      {kGregorianYear, Act::kChoose, 2023, {2023, 2, 28}},
      {kGregorianYear, Act::kChoose, 1581, {1581, 2, 28}},
      {kGregorianMonth, Act::kChoose, 10, {1581, 10, 28}},
      {kGregorianDay, Act::kChoose, 10, {1581, 10, 10}},
      {kGregorianYear, Act::kChoose, 1582, {1582, 10, 4}},  // the 10th does not exist in 1582
      {kGregorianDay, Act::kChoose, 15, {1582, 10, 15}},    // the item after the 4th
      {kGregorianDay, Act::kKey, -1, {1582, 10, 4}},
      {kHijriMonth, Act::kKey, -1, {}},
      {kLunarMonth, Act::kWheel, +1, {}},
      // A leap month chosen away to a year without it: the regular month.
      {kGregorianYear, Act::kChoose, 2023, {}},
      {kGregorianMonth, Act::kChoose, 4, {}},
      {kGregorianDay, Act::kChoose, 10, {}, {2023, 14, 20}},
      {kLunarYear, Act::kChoose, 2024, {}, {2024, 2, 20}},
      // Across the year at the ends of the month list, and by day at the
      // ends of a day list.
      {kGregorianMonth, Act::kChoose, 12, {2024, 12, 29}},
      {kGregorianMonth, Act::kKey, +1, {2025, 1, 29}},
      {kGregorianMonth, Act::kKey, -1, {2024, 12, 29}},
      {kGregorianDay, Act::kChoose, 31, {2024, 12, 31}},
      {kGregorianDay, Act::kWheel, +1, {2025, 1, 1}},
      {kGregorianDay, Act::kWheel, -1, {2024, 12, 31}},
      {kGregorianDay, Act::kWheel, -1, {2024, 12, 30}},
      // Nothing before the first day or after the last day of the range.
      {kGregorianYear, Act::kChoose, -103, {-103, 12, 30}},
      {kGregorianMonth, Act::kChoose, 1, {-103, 1, 30}},
      {kGregorianDay, Act::kChoose, 1, {-103, 1, 1}},
      {kGregorianDay, Act::kKey, -1, {-103, 1, 1}},
      {kGregorianDay, Act::kWheel, -1, {-103, 1, 1}},
      {kGregorianMonth, Act::kKey, -1, {-103, 1, 1}},
      {kLunarDay, Act::kKey, -1, {-103, 1, 1}},
      {kGregorianYear, Act::kChoose, 4103, {4103, 1, 1}},
      {kGregorianMonth, Act::kChoose, 12, {4103, 12, 1}},
      {kGregorianDay, Act::kChoose, 31, {4103, 12, 31}},
      {kGregorianDay, Act::kKey, +1, {4103, 12, 31}},
      {kHijriDay, Act::kWheel, +1, {4103, 12, 31}},
  };
  HWND hwnd = StartDay();
  ASSERT_NE(hwnd, nullptr);
  const DayView v(hwnd);
  int n = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE(testing::Message() << "step " << ++n << ": " << day::ListName(s.list) << " " << s.value);
    switch (s.act) {
      case Act::kChoose: {
        const int index = ItemIndexOf(v, s.list, s.value);
        ASSERT_GE(index, 0);
        ChooseItem(v[s.list], index);
        break;
      }
      case Act::kKey: Key(v[s.list], s.value < 0 ? VK_LEFT : VK_RIGHT); break;
      case Act::kWheel: Wheel(v[s.list], s.value); break;
    }
    const std::optional<DayInCalendars> want =
        s.lunar.year != 0 ? FromLunar(s.lunar, kHistoricalRules) : FromGregorian(s.gregorian.year != 0 ? s.gregorian : v.Gregorian(), kHistoricalRules);
    ASSERT_TRUE(want.has_value());
    EXPECT_EQ(v.Gregorian(), want->gregorian);
    ExpectDayShows(v, *want);
    if (want->gregorian.year == 1582 && want->gregorian.month == 10) {
      EXPECT_EQ(Send(v[kGregorianDay], CB_GETCOUNT), 21);
    }
    if (HasFailure()) return;  // the next steps build on this one
  }

  // An open list neither steps nor chooses, and closed without a choice it
  // shows the displayed day again.
  ChooseItem(v[kGregorianYear], 2000 + 103);
  const DayInCalendars shown = *FromGregorian({2000, 12, 31}, kHistoricalRules);
  ASSERT_EQ(v.Gregorian(), shown.gregorian);
  Send(v[kGregorianDay], CB_SHOWDROPDOWN, TRUE);
  ASSERT_TRUE(WaitUntil([&] { return Send(v[kGregorianDay], CB_GETDROPPEDSTATE) != 0; }, 5000));
  Wheel(v[kGregorianDay], +1);
  Key(v[kGregorianMonth], VK_RIGHT);
  Send(v[kGregorianDay], CB_SETCURSEL, 0);
  Send(v[kGregorianDay], CB_SHOWDROPDOWN, FALSE);
  EXPECT_TRUE(WaitUntil([&] { return Send(v[kGregorianDay], CB_GETCURSEL) == 30; }, 5000));
  ExpectDayShows(v, shown);
  EXPECT_TRUE(CloseAndWait(hwnd));
}

// The screen's DPI, which Wine reads when a program starts; the old value
// comes back at the end.
struct ScreenDpi {
  explicit ScreenDpi(DWORD dpi) {
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    DWORD size = sizeof old;
    had = RegQueryValueExW(key, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&old), &size) == 0;
    RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
  }
  ~ScreenDpi() {
    if (had) {
      RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old), sizeof old);
    } else {
      RegDeleteValueW(key, L"LogPixels");
    }
    RegCloseKey(key);
  }
  HKEY key = nullptr;
  DWORD old = 0;
  bool had = false;
};

TEST_F(DayWindow, At144DpiEverythingIsHalfAsLargeAgain) {
  ScreenDpi dpi(144);
  HWND hwnd = StartDay();
  ASSERT_NE(hwnd, nullptr);
  RECT r{};
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.right - r.left, 390);
  EXPECT_EQ(r.bottom - r.top, 225);
  ExpectRegionFollowsOutline(hwnd, 1.5);
  const DayView v(hwnd);
  RECT list{};
  GetWindowRect(v[day::kHijriDay], &list);
  const ControlPlace place = day::ListPlace(2, 2);
  EXPECT_EQ(list.left - r.left, MulDiv(place.x, 3, 2));
  EXPECT_EQ(list.top - r.top, MulDiv(place.y, 3, 2));
  EXPECT_EQ(list.right - list.left, MulDiv(place.width, 3, 2));
  ExpectDayShows(v, *FromGregorian(v.Gregorian(), kHistoricalRules));
  EXPECT_TRUE(CloseAndWait(hwnd));
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Measurements only: the times are printed, not judged.
TEST_F(DayWindow, HowLongStartingAndChoosingTake) {
  std::vector<double> starts, choices;
  HWND hwnd = nullptr;
  for (int run = 0; run < 5; ++run) {
    if (hwnd != nullptr) {
      ASSERT_TRUE(CloseAndWait(hwnd));
    }
    const LARGE_INTEGER start = Now();
    program_ = std::make_unique<Program>();
    ASSERT_TRUE(WaitUntil(
        [&] {
          const auto found = WindowsOf(program_->id(), L"TOVANI_DFORM");
          hwnd = found.empty() || !IsWindowVisible(found[0]) ? nullptr : found[0];
          return hwnd != nullptr && !TextOf(GetDlgItem(hwnd, day::kTextLine1Id)).empty();
        },
        20000));
    starts.push_back(MsSince(start));
  }
  const DayView v(hwnd);
  for (int i = 0; i < 21; ++i) {
    const std::string before = TextOf(v.line1);
    const LARGE_INTEGER start = Now();
    ChooseItem(v[day::kGregorianYear], 1900 + 103 + i * 7);
    choices.push_back(MsSince(start));
    EXPECT_NE(TextOf(v.line1), before);
  }
  std::printf("[ measure  ] day window, start of tovani.exe to its texts: median %.0f ms (5 starts)\n",
              Median(starts));
  std::printf("[ measure  ] day window, one year chosen to updated texts: median %.1f ms (21 choices)\n",
              Median(choices));
  EXPECT_TRUE(CloseAndWait(hwnd));
}

}  // namespace
}  // namespace tovani::testing_win32
