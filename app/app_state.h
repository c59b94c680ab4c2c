// The one application state record: where the program lies, the displayed
// date in three calendars, the ranges of the calendar, the window control, and
// the settings.  It lives for the whole process; the windows read and change
// it on the user-interface thread only.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/cities.h"
#include "engine/dates.h"
#include "engine/calendar_range.h"
#include "engine/sexagenary.h"

namespace tovani {

// The days an alarm rings on (stored as 0, 1, 2).
enum AlarmDays : std::int16_t { kEveryDay = 0, kWorkingDays = 1, kDaysOff = 2 };

// One alarm clock: armed, the minute of the day, its sound 0..4, and the
// days it rings on.
struct AlarmSetting {
  bool on = false;
  std::int32_t time = 0;
  std::int16_t soundNo = 0;
  AlarmDays days = kEveryDay;
  friend bool operator==(const AlarmSetting&, const AlarmSetting&) = default;
};

// The calendar window shown (stored as 0 and 1).
enum class WindowKind : std::int16_t { kDay = 0, kMonth = 1 };
// Where the calendar window lies among the others.
enum class Layer { kTopmost, kDesktop, kNormal };
// Whether the window can be dragged.
enum class MoveLock { kMovable, kLocked };
// The window's transparency: opaque, 10 % .. 90 % in steps of ten (the
// levels 1..9 between the two names), or automatic, fading while the mouse
// is away (stored as 0..10).
enum class Transparency : std::int16_t { kOpaque = 0, kAutomatic = 10 };
constexpr Transparency TransparencyOfLevel(int level) { return static_cast<Transparency>(level); }
constexpr int LevelOf(Transparency t) { return static_cast<int>(t); }
// What the day window's second line tells besides the weekday (stored as
// 0, 1, 2): festivals and seasonal periods, sunrise and sunset, or dawn and
// dusk.
enum class DayInfo : std::int16_t { kFestivals = 0, kSunriseSunset = 1, kDawnDusk = 2 };

struct AppState {
  // Program location.
  std::string ProgramFolder;  // with its trailing separator
  std::string ProgramFileName;

  // The displayed date (the day summary of today at start).
  std::int32_t CurrentYear = 0, CurrentMonth = 0, CurrentDay = 0;
  std::int32_t CurrentLunarYear = 0, CurrentLunarMonth = 0, CurrentLunarDay = 0;
  std::int32_t CurrentHijriYear = 0, CurrentHijriMonth = 0, CurrentHijriDay = 0;

  // Range limits.
  std::int32_t LowestYear = -103, HighestYear = 4103;
  std::int32_t RecordLowestYear = 1800, RecordHighestYear = 2200;
  std::int32_t ToolHighestYear = 5000;

  // Range bounds.
  DayNumber FirstDayNumber = 0, ToolLastDayNumber = 0;
  CalendarTriple LunarFirst, LunarLast, HijriFirst, HijriLast;
  std::int32_t RecordLunarFirstYear = 0, RecordLunarLastYear = 0;
  std::int32_t RecordHijriFirstYear = 0, RecordHijriLastYear = 0;

  // Window control.
  WindowKind CalendarKind = WindowKind::kDay;  // stored as ShowCalendarTypeFlag
  bool ReopenFlag = false;
  bool RegistryUseFlag = false;
  // The settings key was there at start but not as this program writes it (an
  // older version's, or a damaged "Version"): it was not read, and the end
  // leaves it alone unless the user turns registry use on or off.
  bool ForeignSettingsKey = false;
  bool AutoRunFlag = false;
  Layer LayerMode = Layer::kTopmost;
  MoveLock PositionLock = MoveLock::kMovable;
  Transparency FORMTransFlag = Transparency::kOpaque;
  std::string BitmapDialogFolder, AudioDialogFolder;

  // Settings.
  bool WholeAutoReportTimeFlag = false;
  bool GanZhiFromChunjieFlag = false;
  bool CloseFORMAudioPlayFlag = false;
  bool ModernCalculateAncientFlag = false;
  bool NearLocateMemorialFlag = false;
  bool DFORMShowDynastyFlag = false;
  bool MFORMMondayFirstFlag = false;  // the month window's weeks from Monday
  bool TraditionalCharsFlag = false;  // the windows' texts in traditional characters
  DayInfo DFORMShowInfoTypeFlag = DayInfo::kFestivals;
  std::array<AlarmSetting, 3> Alarms;  // A, B, C
  // The hourly announcement is silent from..to ("22:00-07:00"; equal times:
  // never), and with the flag speaks on official working days only.
  std::string HourlyQuietTime = "22:00-07:00";
  bool HourlyWorkdaysOnlyFlag = false;
  OwnPlace MyCity;                     // MyCityName, MyCityLongitude, MyCityLatitude
  std::int32_t NowCityCode = 1;
  CurrentPlace Current;  // CurrentCityName, CurrentLongitude, CurrentLatitude, weather province and city
  std::int32_t FormLeft = -1, FormTop = -1;
  std::string DFORMBackBitmapName;
  std::string WeatherHost;  // "name[:port]"; empty for the public service

  // The rules of the lunar calendar the user chose (按现代天文算法计算古历).
  CalendarRules Rules() const { return {ModernCalculateAncientFlag}; }
  // Where the sexagenary year begins (干支从春节起).
  YearStart CycleYearStart() const {
    return GanZhiFromChunjieFlag ? YearStart::kLunarNewYear : YearStart::kStartOfSpring;
  }
  // The range of the calendar windows in three calendars, under those rules.
  CalendarRange Range() const;
  // The program's full path: folder, a "\" when it does not end in one, name.
  std::string ProgramPath() const;
};

}  // namespace tovani
