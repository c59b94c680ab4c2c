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

namespace tovani {

// The days an alarm rings on.
enum AlarmDays : std::int16_t { kEveryDay = 0, kWorkingDays = 1, kDaysOff = 2 };

// One alarm clock: armed, the minute of the day, its sound 0..4, and the
// days it rings on.
struct AlarmSetting {
  std::int16_t on = 0;
  std::int32_t time = 0;
  std::int16_t soundNo = 0;
  std::int16_t days = kEveryDay;
  friend bool operator==(const AlarmSetting&, const AlarmSetting&) = default;
};

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
  std::int16_t CalendarKind = 0;  // 0 day window, 1 month window; stored as ShowCalendarTypeFlag
  std::int16_t ReopenFlag = 0;
  std::int16_t RegistryUseFlag = 0;
  // The settings key was there at start but not as this program writes it (an
  // older version's, or a damaged "Version"): it was not read, and the end
  // leaves it alone unless the user turns registry use on or off.
  bool ForeignSettingsKey = false;
  std::int16_t AutoRunFlag = 0;
  std::string LayerMode = "T";     // "T" topmost, "D" in the desktop, "N" normal
  std::string PositionLock = "N";  // "Y" locked
  std::int16_t FORMTransFlag = 0;
  std::string BitmapDialogFolder, AudioDialogFolder;

  // Settings.
  std::int16_t WholeAutoReportTimeFlag = 0;
  std::int16_t GanZhiFromChunjieFlag = 0;
  std::int16_t CloseFORMAudioPlayFlag = 0;
  std::int16_t ModernCalculateAncientFlag = 0;
  std::int16_t NearLocateMemorialFlag = 0;
  std::int16_t DFORMShowDynastyFlag = 0;
  std::int16_t DFORMShowInfoTypeFlag = 0;
  std::array<AlarmSetting, 3> Alarms;  // A, B, C
  // The hourly announcement is silent from..to ("22:00-07:00"; equal times:
  // never), and with the flag speaks on official working days only.
  std::string HourlyQuietTime = "22:00-07:00";
  std::int16_t HourlyWorkdaysOnlyFlag = 0;
  OwnPlace MyCity;                     // MyCityName, MyCityLongitude, MyCityLatitude
  std::int32_t NowCityCode = 1;
  CurrentPlace Current;  // CurrentCityName, CurrentLongitude, CurrentLatitude, weather province and city
  std::int32_t FormLeft = -1, FormTop = -1;
  std::string DFORMBackBitmapName;
  std::string WeatherHost;  // "name[:port]"; empty for the public service

  // The rules of the lunar calendar the user chose (按现代天文算法计算古历).
  CalendarRules Rules() const { return {ModernCalculateAncientFlag == 1}; }
  // The range of the calendar windows in three calendars, under those rules.
  CalendarRange Range() const;
  // The program's full path: folder, a "\" when it does not end in one, name.
  std::string ProgramPath() const;
};

}  // namespace tovani
