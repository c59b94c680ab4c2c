// Writing iCalendar files (RFC 5545): one calendar of all-day events.
//
// Every text given here is UTF-8.  Lines end in CRLF and are folded at 75
// octets without splitting a character.  Days are the program's day numbers;
// a calendar file speaks the proleptic Gregorian calendar, so a day before
// 1582-10-15 (a Julian date in this program) is written as the Gregorian date
// of the same day.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <string_view>

#include "engine/dates.h"

namespace tovani {

// The days a calendar file can hold: proleptic Gregorian 0001-01-01 (Julian
// 0001-01-03) .. 9999-12-30 (an event ends on the next day, and years have
// four digits).
inline constexpr DayNumber kFirstIcsDay = 1721426;
inline constexpr DayNumber kLastIcsDay = LastValidDayNumber - 1;

struct AllDayEvent {
  DayNumber day = InvalidDayNumber;
  std::string kind;     // a word naming the set ("term", "festival"...), part of the UID
  std::string summary;
  std::string description;  // none when empty
  std::string category;     // none when empty
};

// "YYYYMMDD" of a day in the proleptic Gregorian calendar; empty outside
// kFirstIcsDay..kLastIcsDay.
std::string IcsDate(DayNumber day);
// "YYYYMMDDTHHMMSSZ" of seconds since 1970-01-01 00:00 UTC; empty outside the
// years 1..9999.
std::string IcsUtcStamp(std::int64_t unixSeconds);
// A TEXT value: backslash, semicolon and comma escaped, line breaks as "\n",
// other control characters left out.
std::string IcsText(std::string_view utf8);
// A content line (without its line break) folded into lines of at most 75
// octets, each ending in CRLF; a continuation line starts with one blank.
std::string FoldIcsLine(std::string_view line);
// The same event (kind, day, summary) gets the same UID in every export.
std::string IcsUid(std::string_view kind, DayNumber day, std::string_view summary);
// The text is well-formed UTF-8.
bool IsUtf8(std::string_view s);

class IcsWriter {
 public:
  // Writes the calendar's head; stamp is the DTSTAMP value of every event.
  IcsWriter(std::ostream& out, std::string stamp);
  // Writes an event; false (and nothing written) for a day the file cannot
  // hold or an event already written (same UID).
  bool Add(const AllDayEvent& e);
  // Writes the calendar's end.
  void Finish();
  std::size_t EventCount() const { return uids_.size(); }

 private:
  void Property(std::string_view line);
  std::ostream& out_;
  std::string stamp_;
  std::set<std::string> uids_;
};

}  // namespace tovani
