// What the two calendar windows show of the user's records for a day and of
// those ahead, of the official holiday arrangement, and the tray icon's tip
// for today.
#pragma once

#include <string>
#include <vector>

#include "app/records.h"
#include "engine/holidays.h"
#include "engine/calendar_range.h"

namespace tovani {

struct DayRecords {
  std::string countdown;            // "距…还有N天" or ""
  std::vector<std::string> titles;  // reminder, Gregorian, lunar, Hijri memorial names, those found
  std::string audio;                // the first record's audio path, or ""
  std::string countdownName;        // the countdown's name when it is counted, or ""
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

// ---- The records ahead ----

// One record on a day after today.
struct RecordAhead {
  CivilDate date;
  int daysAway = 0;   // 1.. from today
  std::string title;  // the record's name (the countdown's name on its day)
};
// How far the windows look ahead.
inline constexpr int kDaysAhead = 30;
// The records of the days after today up to days ahead, nearest first and in
// the order of the day's lookups: the countdown on its own day, reminders,
// Gregorian, lunar and Hijri memorial days as they fall (approximate
// placement included).
std::vector<RecordAhead> FindRecordsAhead(const RecordContext& context, const CivilDate& today, int days = kDaysAhead);
// "12月25日 5天后 母亲生日".
std::string RecordAheadText(const RecordAhead& record);
// The balloon of today: today's records, then one line for each record ahead.
std::string BalloonTextWithAhead(const DayRecords& today, const std::vector<RecordAhead>& ahead);
// The user's own texts in what the windows show of the records (the names of
// the day's records and of those ahead): never shown in other characters.
std::vector<std::string> UserTextsOf(const DayRecords& records, const std::vector<RecordAhead>& ahead = {});

// ---- The official holiday arrangement ----

// What the windows say of a day's arrangement.
struct HolidayNote {
  HolidayStatus status = HolidayStatus::kNotAnnounced;
  std::string mark;  // the status's mark: "休" or "班", "" on other days
  std::string name;  // the holiday's name, with a mark
  bool notAnnounced = false;  // a day of 2000 up to next year without an arrangement
};
inline constexpr const char* kNotAnnouncedText = "放假安排未公布";
// The note of a day; thisYear is the year of the computer's today.
HolidayNote HolidayNoteOf(const HolidayCalendar& calendar, const CivilDate& day, std::int32_t thisYear);
// A month cell with the mark in its first line (which is otherwise empty).
std::string CellWithMark(const std::string& cell, const HolidayNote& note);
// The day window's second line with festivals: "休 国庆节" first, and the
// holiday's name not again among the festivals.
std::string LineWithHoliday(const std::string& line, const HolidayNote& note);
// The month window's details: "国庆节 休" on the festival line (in place of
// the festival of that name), or "放假安排未公布"; a festival line of its own
// when the day has no festival.
std::string DetailsWithHoliday(const std::string& details, const HolidayNote& note);
// The tray tip: today's tip, "国庆节 休" for a day off or make-up working day,
// and on a line of its own the nearest record ahead.
std::string TrayTipWith(const std::string& tip, const HolidayNote& today, const std::vector<RecordAhead>& ahead);

}  // namespace tovani
