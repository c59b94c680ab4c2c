#include "app/startup.h"

#include <gtest/gtest.h>

#include "app/settings.h"
#include "engine/solar_terms.h"
#include "fake_platform.h"

namespace tovani {
namespace {

constexpr RegistryRoot kUser = RegistryRoot::kCurrentUser;

TEST(StartUp, WhereTheProgramLies) {
  struct Case {
    const char* path;
    const char* folder;
    const char* file;
  };
  const Case cases[] = {
      {"C:\\Tools\\tovani.exe", "C:\\Tools\\", "tovani.exe"},
      {"C:tovani.exe", "C:", "tovani.exe"},
      {"/home/user/tovani.exe", "/home/user/", "tovani.exe"},
      {"tovani.exe", "", "tovani.exe"},
      {"C:\\日历\\青鹭.exe", "C:\\日历\\", "青鹭.exe"},
  };
  for (const auto& c : cases) {
    AppState s;
    SetProgramLocation(s, c.path);
    EXPECT_EQ(s.ProgramFolder, c.folder) << c.path;
    EXPECT_EQ(s.ProgramFileName, c.file) << c.path;
  }
  AppState s;
  SetProgramLocation(s, "C:tovani.exe");
  EXPECT_EQ(s.ProgramPath(), "C:\\tovani.exe");
  SetProgramLocation(s, "C:\\Tools\\tovani.exe");
  EXPECT_EQ(s.ProgramPath(), "C:\\Tools\\tovani.exe");
}

TEST(StartUp, AFirstStartComputesTodayAndTheRanges) {
  MemoryRegistry registry;
  FakePlatform platform;
  AppState s;
  SetProgramLocation(s, "C:\\Tools\\tovani.exe");
  StartUp(s, registry, platform);
  EXPECT_FALSE(s.RegistryUseFlag);
  EXPECT_EQ(s.CalendarKind, WindowKind::kDay);
  EXPECT_EQ(s.NowCityCode, 1);
  EXPECT_EQ(s.LayerMode, Layer::kTopmost);
  EXPECT_EQ(s.PositionLock, MoveLock::kMovable);
  EXPECT_EQ(s.BitmapDialogFolder, "C:\\Tools\\");
  EXPECT_EQ(s.AudioDialogFolder, "C:\\Tools\\");
  EXPECT_EQ((CivilDate{s.CurrentYear, s.CurrentMonth, s.CurrentDay}), (CivilDate{2026, 12, 7}));
  // 2026-12-07 is 十月廿九 of 2026 and 1448-06-26 in the Hijri calendar.
  EXPECT_EQ((CivilDate{s.CurrentLunarYear, s.CurrentLunarMonth, s.CurrentLunarDay}), (CivilDate{2026, 10, 29}));
  EXPECT_EQ((CivilDate{s.CurrentHijriYear, s.CurrentHijriMonth, s.CurrentHijriDay}), (CivilDate{1448, 6, 26}));
  EXPECT_EQ(s.FirstDayNumber, DateToDayNumber(-103, 1, 1));
  EXPECT_EQ(s.ToolLastDayNumber, DateToDayNumber(5000, 12, 31));
  EXPECT_EQ(s.LunarFirst.year, -104);
  EXPECT_EQ(s.RecordLunarFirstYear, 1799);
  EXPECT_EQ(s.RecordLunarLastYear, 2200);
  EXPECT_EQ(s.Range().lastDay, DateToDayNumber(4103, 12, 31));
  // Nothing was stored, and the end removes nothing that was not there.
  ShutDown(s, registry, 300, 200);
  EXPECT_TRUE(registry.Values().empty());
  EXPECT_EQ(s.FormLeft, 300);
}

TEST(StartUp, StoredSettingsChooseTheWindowAndTheCalendarMode) {
  MemoryRegistry registry;
  registry.Set(kUser, kSettingsKey, "Version", "4.1");
  registry.Set(kUser, kSettingsKey, "ShowCalendarTypeFlag", "1");
  registry.Set(kUser, kSettingsKey, "ModernCalculateAncientFlag", "1");
  FakePlatform platform;
  AppState s;
  StartUp(s, registry, platform);
  EXPECT_EQ(s.CalendarKind, WindowKind::kMonth);
  EXPECT_EQ(s.Rules(), kModernRules);
}

TEST(StartUp, ClosingSavesUnlessItOnlySwitchesWindows) {
  MemoryRegistry registry;
  FakePlatform platform;
  AppState s;
  StartUp(s, registry, platform);
  ToggleRegistryUse(s, registry);  // on: "Version" is written at once
  s.ReopenFlag = true;
  ShutDown(s, registry, 10, 20);
  EXPECT_EQ(ReadRegistryText(registry, kUser, kSettingsKey, "FormLeft"), "");
  s.ReopenFlag = false;
  ShutDown(s, registry, 10, 20);
  EXPECT_EQ(ReadRegistryText(registry, kUser, kSettingsKey, "FormLeft"), "10.0");
  EXPECT_EQ(ReadRegistryText(registry, kUser, kSettingsKey, "FormTop"), "20.0");
}

TEST(StartUp, SwitchingWindowsKeepsTheDateAndSavesNothing) {
  MemoryRegistry registry;
  FakePlatform platform;
  AppState s;
  StartUp(s, registry, platform);
  ToggleRegistryUse(s, registry);
  s.LayerMode = Layer::kDesktop;
  s.PositionLock = MoveLock::kLocked;
  EXPECT_FALSE(SwitchToDayWindow(s));  // already the day window
  EXPECT_FALSE(s.ReopenFlag);
  EXPECT_TRUE(SwitchToMonthWindow(s));
  EXPECT_EQ(s.CalendarKind, WindowKind::kMonth);
  EXPECT_TRUE(s.ReopenFlag);
  EXPECT_EQ(s.LayerMode, Layer::kTopmost);
  EXPECT_EQ(s.PositionLock, MoveLock::kMovable);
  ShutDown(s, registry, 40, 50);  // the switch's close
  EXPECT_EQ(ReadRegistryText(registry, kUser, kSettingsKey, "FormLeft"), "");
  EXPECT_EQ(s.FormLeft, 40);  // the other window opens where this one was
  // The month window moved the date; back in the day window the other
  // calendars follow it.
  s.ReopenFlag = false;
  s.CurrentYear = 2023;
  s.CurrentMonth = 4;
  s.CurrentDay = 10;
  EXPECT_TRUE(SwitchToDayWindow(s));
  EXPECT_EQ((CivilDate{s.CurrentLunarYear, s.CurrentLunarMonth, s.CurrentLunarDay}), (CivilDate{2023, 14, 20}));
}

TEST(StartUp, AComputerDateOutsideTheRangeShowsItsEnd) {
  MemoryRegistry registry;
  FakePlatform platform;
  platform.today = {4200, 1, 1};
  AppState s;
  StartUp(s, registry, platform);
  EXPECT_EQ((CivilDate{s.CurrentYear, s.CurrentMonth, s.CurrentDay}), (CivilDate{4103, 12, 31}));
}

}  // namespace
}  // namespace tovani
