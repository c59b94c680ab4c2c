// What the two calendar windows show of the user's records for a day, and
// the tray icon's tip for today.
#pragma once

#include <string>
#include <vector>

#include "app/records.h"
#include "ui/common/calendar_range.h"

namespace tovani {

struct DayRecords {
  std::string countdown;            // "距…还有N天" or ""
  std::vector<std::string> titles;  // reminder, Gregorian, lunar, Hijri memorial names, those found
  std::string audio;                // the first record's audio path, or ""
};

// The countdown and the records that fall on the day.
DayRecords FindDayRecords(const RecordContext& context, const DayInCalendars& day);

// The day window's balloon: the countdown, three blanks, the titles with three
// blanks between them, trimmed.
std::string BalloonText(const DayRecords& records);

// The month window's details with the records added to their festival line
// (each item after one blank); a line of its own when the day has no festival.
std::string DetailsWithRecords(const std::string& details, const DayRecords& records);

// "农历腊月廿二 乙未日": today's lunar date and the day's stem and branch.
std::string TrayTipText(const DayInCalendars& today);

}  // namespace tovani
