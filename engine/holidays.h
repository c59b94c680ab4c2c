// Official holidays of mainland China: the statutory days off (休) and the
// make-up working days (班) of each year whose arrangement has been announced.
//
// A year's arrangement is what the State Council's notice for that year sets.
// It reaches back into the year before: the New Year's Day holiday may begin,
// or its make-up days fall, on 28..31 December, so those days belong to the
// following year's arrangement (ArrangementYear).  The last days of the last
// announced year are therefore "not announced" until the next year is.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/dates.h"

namespace tovani {

enum class HolidayStatus {
  kOrdinary,      // an announced year, neither a day off nor a make-up working day
  kDayOff,        // 休
  kWorkDay,       // 班
  kNotAnnounced,  // a year whose arrangement is not known (never "a working day")
};

struct HolidayInfo {
  HolidayStatus status = HolidayStatus::kNotAnnounced;
  std::string name;  // the holiday's name (program text), empty unless 休 or 班
};

// One line of additions that could not be used: its number (from 1) and text.
struct HolidayLineError {
  int line = 0;
  std::string text;
};

// A day off or make-up working day of an arrangement.
struct HolidayDay {
  CivilDate date;
  HolidayStatus status = HolidayStatus::kDayOff;
  std::string name;
};

// The year whose arrangement settles a date: the next year for 28..31
// December, otherwise the date's own year.
std::int32_t ArrangementYear(const CivilDate& d);

// The built-in arrangements plus additions (years announced after a release).
// An added year replaces the built-in days of that year.
class HolidayCalendar {
 public:
  // The built-in table only.
  HolidayCalendar();

  // Adds lines "YYYY-MM-DD" = "休 名称" / "班 名称" (program text); returns
  // the lines that were skipped (numbered by their place in entries, the text
  // "name=value").  Lines are grouped by ArrangementYear; each year that gets
  // a line is announced with exactly the added days (added by this and earlier
  // calls; a later line for the same date wins).  Dates are Gregorian, years
  // 1583..9999; the mark is followed by a blank (a space, a tab or a
  // full-width space) and a name that is not empty.
  std::vector<HolidayLineError> Add(const std::vector<std::pair<std::string, std::string>>& entries);
  // The same from a text of lines "YYYY-MM-DD 休 名称" (also "YYYY-MM-DD=休 名称"
  // and the quoted form "\"YYYY-MM-DD\"=\"休 名称\"").  A "#" at the start of a
  // line or after a blank ends its content (a comment); lines with nothing
  // before it are passed over.  In entries, a value's comment is left out too.
  std::vector<HolidayLineError> AddText(std::string_view text);

  HolidayInfo Of(const CivilDate& d) const;
  // The announced years: first and last (built-in or added).  A year between
  // them that is neither built in nor added is not announced.
  std::int32_t FirstYear() const;
  std::int32_t LastYear() const;
  bool Announced(std::int32_t year) const;
  // The days off and make-up working days of a year's arrangement, in date
  // order; none when the year is not announced.
  std::vector<HolidayDay> Arrangement(std::int32_t year) const;

 private:
  struct Day {
    std::int32_t key;  // YYYYMMDD
    HolidayStatus status;
    std::string name;
  };
  // Added years, each with its days in date order.
  std::map<std::int32_t, std::vector<Day>> added_;
};

// The status mark "休", "班" or "" (program text).
std::string HolidayMark(HolidayStatus s);

// An official working day: Monday to Friday unless it is a day off, and the
// make-up working days; in a year not announced, Monday to Friday.
bool IsOfficialWorkingDay(const HolidayCalendar& calendar, const CivilDate& d);

}  // namespace tovani
