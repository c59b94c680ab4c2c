// The windows of the real tovani.exe in the system's dark appearance for
// applications, and following the user's change of it while they run.
#include "ui/common/palette.h"
#include "ui/menu/menu_model.h"
#include "views.h"

namespace tovani::testing_win32 {
namespace {

COLORREF ColourOfRole(ColourRole role, bool dark) {
  const RoleColours& c = ColoursOf(role);
  const std::uint32_t v = dark ? c.dark : c.light;
  return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

// The screen's colour at a point of a window (its top left corner + at).
COLORREF PixelOf(HWND w, POINT at) {
  RECT r{};
  GetWindowRect(w, &r);
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, r.left + at.x, r.top + at.y);
  ReleaseDC(nullptr, screen);
  return c;
}

using DarkPalette = ProgramTest;

// What a place of a window must show in a role.
struct Spot {
  const char* what;
  int control;  // 0: the window itself
  POINT at;     // from the window's (or control's) top left corner
  ColourRole role;
};

void ExpectSpots(HWND window, const std::vector<Spot>& spots, bool dark, const char* step) {
  for (const Spot& s : spots) {
    HWND w = s.control == 0 ? window : GetDlgItem(window, s.control);
    const COLORREF want = ColourOfRole(s.role, dark);
    COLORREF got = CLR_INVALID;
    WaitUntil([&] { return (got = PixelOf(w, s.at)) == want; }, 5000);
    EXPECT_EQ(got, want) << step << ": " << s.what;
  }
}

TEST_F(DarkPalette, TheWindowsTakeTheSystemsChoiceAndFollowItsChanges) {
  ChooseAppsUseLightTheme(0, false);
  // 15 March 2025: the month begins on a Saturday, in cell 7; the 15th is
  // in cell 21.  Records are off: no balloon covers the day window.
  HWND day = StartAt(L"2025-03-15 10:00:00", L"TOVANI_DFORM");
  ASSERT_NE(day, nullptr);
  const std::vector<Spot> daySpots = {
      {"the stamp", 0, {7, 10}, ColourRole::kStamp},
      {"text line 2", day::kTextLine2Id, {2, 2}, ColourRole::kField},
  };
  ExpectSpots(day, daySpots, true, "day window started dark");
  SaveShot(day, "dark-day");

  // The menu, drawn in the dark palette.
  PostMessageW(day, WM_RBUTTONUP, 0, MAKELPARAM(20, 20));
  HWND menu = WaitForWindow(*program_, L"#32768");
  ASSERT_NE(menu, nullptr);
  COLORREF menuColour = CLR_INVALID;
  WaitUntil([&] { return (menuColour = PixelOf(menu, {12, 8})) == ColourOfRole(ColourRole::kMenu, true); }, 5000);
  EXPECT_EQ(menuColour, ColourOfRole(ColourRole::kMenu, true));
  SaveShot(menu, "dark-menu");
  Send(day, WM_CANCELMODE);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }, 5000));

  ChooseAppsUseLightTheme(1, true);
  ExpectSpots(day, daySpots, false, "day window turned light");
  ChooseAppsUseLightTheme(0, true);
  ExpectSpots(day, daySpots, true, "day window turned dark");

  HWND month = SwitchTo(day, menu::kShowMonthWindow, L"TOVANI_MFORM");
  ASSERT_NE(month, nullptr);
  // The stamp just inside the client area, below the caption.
  POINT origin{0, 0};
  ClientToScreen(month, &origin);
  RECT outer{};
  GetWindowRect(month, &outer);
  const std::vector<Spot> spots = {
      {"the stamp", 0, {origin.x - outer.left + 5, origin.y - outer.top + 5}, ColourRole::kStamp},
      {"an empty cell", month::kCellBase + 1, {4, 4}, ColourRole::kField},
      {"the displayed day's frame", month::kCellBase + 21, {2, 2}, ColourRole::kSelectedFrame},
      {"the displayed day", month::kCellBase + 21, {6, 6}, ColourRole::kSelectedBack},
  };
  ExpectSpots(month, spots, true, "month window opened dark");
  SaveShot(month, "dark-month");

  // A tool window, on its face.
  PostMessageW(month, WM_COMMAND, menu::kSearchDays, 0);
  HWND search = WaitForWindow(*program_, L"TOVANI_SFORM");
  ASSERT_NE(search, nullptr);
  POINT inside{0, 0};
  ClientToScreen(search, &inside);
  GetWindowRect(search, &outer);
  ExpectSpots(search, {{"the face", 0, {inside.x - outer.left + 4, inside.y - outer.top + 4}, ColourRole::kFace}},
              true, "search window");
  SaveShot(search, "dark-search");
  PostMessageW(search, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(search); }, 10000));

  ChooseAppsUseLightTheme(std::nullopt, true);  // no value: light
  ExpectSpots(month, spots, false, "month window turned light");
  EXPECT_TRUE(CloseAndWait(month));
}

}  // namespace
}  // namespace tovani::testing_win32
