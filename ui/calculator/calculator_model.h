// The calculator window's rules, without any Win32: the reading of its date
// fields in the three calendars, the four pages' computations, and what the
// window shows after each event (the view renders it and forwards events).
//
// A date field holds month "-" day "-" year ("MM-DD-YYYY"); the year is a
// positive number, meaning 1 - year when the field's "纪元前" box is ticked.
// A lunar month is its month code (13..24 for the leap months).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/dates.h"
#include "engine/calendar_range.h"
#include "engine/rules.h"
#include "engine/sexagenary.h"

namespace tovani::calculator {

enum Page : int { kJulianDayPage = 1, kIntervalPage = 2, kSexagenaryPage = 3, kConvertPage = 4 };

enum class Calendar : int { kGregorian = 0, kLunar = 1, kHijri = 2 };
inline constexpr int kCalendarCount = 3;

inline constexpr std::int32_t kLastYear = 5000;
// What a double click puts into an empty date field.
inline constexpr const char* kZeroDatePattern = "00-00-0000";

// "计算儒略日", "计算间隔日", "计算干支历", "公历农历回历互转"; empty for another page.
const char* PageCaption(int page);
// The client size at 96 DPI: 273 wide, 176 (pages 1 and 3), 236 (page 2) or 211 (page 4) high.
inline constexpr int kClientWidth = 273;
int ClientHeight(int page);
// "公历日期", "农历日期", "回历日期".
const char* CalendarLabel(Calendar calendar);
// "计算" (pages 1-3) or "转换" (page 4).
const char* ActionLabel(int page);
// The result field's label: "儒略日数", "间隔日数", "干支历"; empty on page 4.
const char* ResultLabel(int page);

// The days the window accepts, 1 January of the first Gregorian year to
// 31 December 5000, with the years of its two ends in each calendar.
struct DateSpan {
  CalendarRules rules;  // the lunar calendar's
  DayNumber first = 0, last = 0;
  std::array<std::int32_t, kCalendarCount> firstYear{}, lastYear{};  // by Calendar
};
DateSpan MakeDateSpan(CalendarRules rules, std::int32_t firstGregorianYear, std::int32_t lastGregorianYear = kLastYear);

// A calendar's "纪元前" box can be ticked: the span reaches its years <= 0.
bool BeforeEraAllowed(const DateSpan& span, Calendar calendar);

struct DateField {
  std::string text;
  bool beforeEra = false;
  friend bool operator==(const DateField&, const DateField&) = default;
};

// The field that shows a date of the calendar (the year as a positive number,
// the box ticked for years <= 0).
DateField FieldOf(const CalendarTriple& date);

// The day number of a field's date in a calendar, or InvalidDayNumber (the
// sentinel -100000000) when the text is not a date of that calendar (typed
// loosely, "1-5-824", it is normalised first) or the day lies outside the span.
DayNumber ReadDate(std::string_view text, bool beforeEra, Calendar calendar, const DateSpan& span);

// The calendar-date text ("AD04-10-2023") of a day in a calendar; empty when
// the day has none.
std::string DayText(DayNumber day, Calendar calendar, CalendarRules rules);

// A number of days as typed for the offset: digits with at most one "-",
// which must come first.  Empty when the text is anything else (or too long
// to be a count of days).
std::optional<std::int64_t> ParseDayCount(std::string_view text);

// The window's controls: the view's ids.
enum ControlId : int {
  kDateFieldId = 100,      // + field index 0, 1
  kBeforeEraId = 110,      // + field index
  kRadioId = 120,          // + 3 * group + Calendar
  kResultFieldId = 130,
  kResultLabelId = 131,
  kActionButtonId = 140,   // "计算" / "转换"
  kCancelButtonId = 141,   // "取消"
};
inline constexpr int RadioId(int group, Calendar c) { return kRadioId + 3 * group + static_cast<int>(c); }

// The state of one calculator window.  Group 0 is the calendar of date field
// 0; group 1 is, on page 2, the calendar of date field 1 (interval mode) or of
// the resulting date (offset mode), on page 4 the target calendar.
class Calculator {
 public:
  // The fields show the displayed Gregorian date; all groups choose the
  // Gregorian calendar, but page 4 converts to the lunar calendar.
  Calculator(int page, const DateSpan& span, const CalendarTriple& displayedGregorian, YearStart yearStart);

  int page() const { return page_; }
  bool HasSecondGroup() const { return page_ == kIntervalPage || page_ == kConvertPage; }
  // Page 2 in interval mode: date field 1 and its box are in use.
  bool HasSecondDate() const { return page_ == kIntervalPage && !offsetMode_; }
  bool offsetMode() const { return offsetMode_; }
  // The result field is an input (the number of days of offset mode).
  bool ResultEditable() const { return offsetMode_; }

  const DateField& field(int index) const { return fields_[index]; }
  Calendar calendar(int group) const { return calendars_[group]; }
  bool BeforeEraEnabled(int group) const { return BeforeEraAllowed(span_, calendars_[group]); }
  const std::string& result() const { return result_; }

  // Events; each leaves what the window is to show.
  void EditDate(int index, std::string text);
  void TickBeforeEra(int index, bool ticked);
  // Choosing a calendar unticks and disables the group's box where the
  // calendar has no years <= 0.
  void Choose(int group, Calendar calendar);
  // The result field typed into (offset mode).
  void EditResult(std::string text);
  // A double click on a date field: true when it filled the empty field
  // with the zero pattern (otherwise the view selects the text).
  bool FillEmptyDate(int index);
  // Page 2: the double click on "间隔日数" switches interval and offset mode.
  void ToggleMode();
  // "计算" / "转换" (or Enter).
  void Compute();

 private:
  // The day of a field, the field normalised, or emptied when it is no date.
  DayNumber TakeDate(int index);
  void ClearResult();

  int page_;
  DateSpan span_;
  YearStart yearStart_;
  std::array<DateField, 2> fields_;
  std::array<Calendar, 2> calendars_{Calendar::kGregorian, Calendar::kGregorian};
  std::string result_;
  bool offsetMode_ = false;
  // The result field shows a computed result (not what the user typed).
  bool computed_ = false;
};

}  // namespace tovani::calculator
