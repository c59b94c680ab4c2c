// What the real tovani.exe must not gather while it stays up for weeks, seen
// from outside: switches between the day window (with a background picture)
// and the month window, and the tool windows opened and closed, many times.
// No GDI or USER object and no handle may be left behind where they are
// counted (all three on Windows; GDI objects and handles under Wine); the
// bytes in use on the program's heaps may grow only by a few bytes per
// operation; and where USER objects are not counted (Wine) the process's
// private memory may grow only within a bound far above its noise and far
// below what a picture or a window lost per operation would take.  The soak
// program (tools/soak) measures the slopes; this keeps the cheapest case.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <functional>
#include <optional>

#include "held.h"
#include "remote.h"
#include "ui/day/day_frame.h"
#include "ui/menu/menu_model.h"

namespace tovani::testing_win32 {
namespace {

using held::Held;

Held HeldBy(DWORD pid, HWND main) {
  HANDLE p = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (p == nullptr) return {};
  const Held h = held::HeldBy(p, pid, main);
  CloseHandle(p);
  return h;
}

// A 24-bit picture of the day window's size.
std::wstring WritePicture() {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  const std::wstring path = std::wstring(folder) + L"tovani-no-growth.bmp";
  const LONG w = 260, h = 150, stride = (w * 3 + 3) & ~3;
  BITMAPINFOHEADER info{sizeof info, w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof file + sizeof info + stride * h), 0, 0,
                        static_cast<DWORD>(sizeof file + sizeof info)};
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out << std::string(static_cast<std::size_t>(stride * h), '\x70');
  return path;
}

class NoGrowth : public ProgramTest {
 protected:
  // What the operation, done count times after a warm-up, leaves behind:
  // at most mostObjects GDI or USER objects or handles (a cache filled late
  // may take a few; one per operation would be count of them), and where
  // USER objects are not counted (Wine), at most mostKb of memory; and at
  // most mostHeapKb more in use on the heaps of the program (its main
  // window, which the operation may replace, tells them).  Each figure is
  // the least of three readings a moment apart (a reading may catch a buffer
  // or a device context on its way out).
  void ExpectNothingKept(int warmUp, int count, double mostObjects, double mostKb, double mostHeapKb, const HWND& main,
                         const std::function<bool()>& operation) {
    for (int i = 0; i < warmUp; ++i) ASSERT_TRUE(operation()) << "warm-up " << i;
    const Held before = Lowest(main);
    for (int i = 0; i < count; ++i) ASSERT_TRUE(operation()) << "operation " << i;
    const Held after = Lowest(main);
    ASSERT_TRUE(before.heapKb && after.heapKb) << "the program tells what its heaps hold";
    EXPECT_LE(*after.heapKb - *before.heapKb, mostHeapKb) << *before.heapKb << " -> " << *after.heapKb << " KB";
    const auto expectFew = [&](const std::optional<double>& was, const std::optional<double>& is, const char* what) {
      if (was && is) {
        EXPECT_LE(*is, *was + mostObjects) << what;
      }
    };
    expectFew(before.gdi, after.gdi, "GDI objects");
    expectFew(before.user, after.user, "USER objects");
    expectFew(before.handles, after.handles, "handles");
    if (!before.user) {
      EXPECT_LE(after.kb - before.kb, mostKb) << before.kb << " -> " << after.kb << " KB";
    }
  }
  Held Lowest(HWND main) {
    Held lowest = HeldBy(program_->id(), main);
    const auto lower = [](std::optional<double>& low, const std::optional<double>& v) {
      if (low && v && *v < *low) low = v;
    };
    for (int i = 0; i < 2; ++i) {
      Sleep(100);
      const Held h = HeldBy(program_->id(), main);
      lowest.kb = std::min(lowest.kb, h.kb);
      lower(lowest.heapKb, h.heapKb);
      lower(lowest.gdi, h.gdi);
      lower(lowest.user, h.user);
      lower(lowest.handles, h.handles);
    }
    return lowest;
  }
};

// A picture the day window loses at its end is some 150 KB under Wine: six
// switches would keep some 900 KB.  On the heaps, Wine's static controls
// keep 12 bytes for each one given a font or a picture (nine a pair).
TEST_F(NoGrowth, SwitchingBetweenTheDayAndTheMonthWindow) {
  const std::wstring picture = WritePicture();
  SeedSettings({{L"Version", L"4.1"}, {L"DFORMBackBitmapName", picture}});
  HWND day = Start(L"TOVANI_DFORM");
  ASSERT_NE(day, nullptr);
  ASSERT_TRUE(IsWindowVisible(GetDlgItem(day, day::kPictureId)));  // the picture shows
  ExpectNothingKept(1, 6, 2, 400, 2, day, [&] {
    HWND month = SwitchTo(day, menu::kShowMonthWindow, L"TOVANI_MFORM");
    day = month != nullptr ? SwitchTo(month, menu::kShowDayWindow, L"TOVANI_DFORM") : nullptr;
    return day != nullptr;
  });
  EXPECT_TRUE(CloseAndWait(day));
  DeleteFileW(picture.c_str());
}

// The tool windows in turn, each opened by its menu command and closed as by
// its close box; a window with its controls and fonts lost each time would
// be kilobytes.  Wine's static controls keep 12 bytes for each label (19 in
// the six windows: some 3.6 KB here).
TEST_F(NoGrowth, OpeningAndClosingTheToolWindows) {
  SeedSettings({{L"Version", L"4.1"}, {L"VersionPage", L"127.0.0.1:9/none"}});
  HWND day = Start(L"TOVANI_DFORM");
  ASSERT_NE(day, nullptr);
  const struct {
    int command;
    const wchar_t* cls;
  } tools[] = {{menu::kCalcInterval, L"TOVANI_JFORM"}, {menu::kTableTerms, L"TOVANI_TFORM"},
               {menu::kSearchDays, L"TOVANI_SFORM"},   {menu::kEditAlarms, L"TOVANI_LFORM"},
               {menu::kEditMemorials, L"TOVANI_EFORM"}, {menu::kHelp, L"TOVANI_HFORM"}};
  int next = 0;
  ExpectNothingKept(12, 96, 8, 500, 8, day, [&] {
    const auto& t = tools[next++ % std::size(tools)];
    PostMessageW(day, WM_COMMAND, static_cast<WPARAM>(t.command), 0);
    HWND tool = WaitForWindow(*program_, t.cls);
    if (tool == nullptr) return false;
    PostMessageW(tool, WM_CLOSE, 0, 0);
    return WaitUntil([&] { return !IsWindow(tool) && IsWindowEnabled(day); }, 10000);
  });
  EXPECT_TRUE(CloseAndWait(day));
}

}  // namespace
}  // namespace tovani::testing_win32
