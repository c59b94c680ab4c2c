// Date and number texts.
//
// Every text here is GB2312 (code page 936) bytes: a Chinese character is two
// bytes, an ASCII character one, and every length counts bytes.
//
// The calendar-date text, shared by the Gregorian, lunar and Hijri calendars,
// is 12 bytes: "AD" (year >= 1) or "BC" (year <= 0), the month as two digits
// (for the lunar calendar the month code 01..24, 13..24 being leap months),
// "-", the day as two digits, "-", and four digits of the year number: the
// year itself after "AD", 1 - year after "BC".  An empty text means there is
// no such date.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/dates.h"

namespace tovani {

// Calendar-date text of a year, month and day as given (no validity test);
// empty when the year number does not fit in four digits or month or day in two.
std::string CalendarDateText(std::int32_t year, std::int32_t month, std::int32_t day);
// The year, month and day of a calendar-date text; empty unless the text has
// the layout above.
std::optional<CivilDate> ParseCalendarDateText(std::string_view text);

// Calendar-date text of the civil date of a day number; empty outside the range.
std::string DateText(DayNumber z);
// The local date and time of day (seconds truncated) of an instant; nothing
// unless FirstValidDayNumber <= t < LastValidDayNumber + 1.
struct LocalDateTime {
  CivilDate date;
  int hour = 0, minute = 0, second = 0;
};
std::optional<LocalDateTime> DateTimeOf(LocalInstant t);
// Calendar-date text, a blank and HH:MM:SS of an instant; empty where
// DateTimeOf gives nothing.
std::string DateTimeText(LocalInstant t);

// A typed month-day-year date ("1-5-824") as "MM-DD-YYYY" ("01-05-0824"), or
// empty when it does not have that shape or a part is 0.  No range test.
std::string NormalizeDateInput(std::string_view s);
// The month, day and year number of such a typed date (the year as typed, no
// era); nothing when it does not have that shape.
std::optional<CivilDate> ReadDateInput(std::string_view s);
// Every byte of the text is one of the set.
bool AllCharsIn(std::string_view s, std::string_view set);

// A lunar month of 30 days is big (大), one of 29 small (小).
enum class MonthSize { kSmall, kBig };
constexpr MonthSize MonthSizeOf(int length) { return length == 30 ? MonthSize::kBig : MonthSize::kSmall; }
// Month name with leap and size marks, e.g. "闰四月小"; empty outside 1..24.
std::string LunarMonthName(int code, MonthSize size);
// The plain name of month 1..12 ("正月" .. "腊月"); empty otherwise.
std::string LunarMonthBaseName(int month);
// "初一" .. "三十" for 1..30; empty otherwise.
std::string LunarDayName(int day);
// A month code (leap months as month + 12) as it is read: "闰四月"; and with
// the day: "闰四月十五".
std::string LunarMonthReading(int monthCode);
std::string LunarReading(int monthCode, int day);
// "一" .. "九" for 1..9; empty otherwise.
std::string ChineseDigitName(int n);
// The year in Chinese digits ("前" and 1 - year before year 1), right-aligned
// to 10 bytes; empty outside -9998..9999.
std::string YearNumeralText(std::int32_t year);
// The year in decimal digits ("前" and 1 - year before year 1), right-aligned
// to 8 bytes; empty outside -9998..9999.
std::string YearNumberText(std::int32_t year);
// The longest prefix of at most n bytes that does not split a two-byte character.
std::string TruncateBytes(std::string_view s, int n);
// The text without leading and trailing blanks (the right-aligned texts
// above, in running text).
std::string TrimBlanks(std::string_view s);

}  // namespace tovani
