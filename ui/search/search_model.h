// The search window's searches, without any Win32: the leap months of lunar
// years, runs of big or small months, and the days that meet up to twelve
// conditions.  A search runs in steps (a year on page 1, a day on page 2) and
// makes its result text as it goes.  The form and the condition lists it
// takes its requests from come with it; the worker session that runs it for
// the window is in search_session.h.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "engine/rules.h"
#include "engine/sexagenary.h"
#include "ui/search/search_conditions.h"
#include "ui/search/search_form.h"

namespace tovani::search {

inline constexpr const char* kLineBreak = "\r\n";

class Search {
 public:
  virtual ~Search() = default;
  // One step; false once the search has nothing left to do.
  virtual bool Step() = 0;
  // The finished search's text: a header line, then the items.
  virtual std::string Result() const = 0;
  // "    正在查询，已完成 12.3%..." when it is to be shown at nowMs: the
  // rounded percentage changed since the last text shown, and at least
  // minIntervalMs passed since then (or, for the first, since the first
  // call: a search shorter than that shows none); empty otherwise.
  std::string ProgressUpdate(std::int64_t nowMs = 0, std::int64_t minIntervalMs = 0);

 protected:
  virtual std::string Progress() const = 0;  // the formatted percentage

 private:
  std::string shown_;
  std::optional<std::int64_t> shownAt_;
};

enum class RunKind { kThreeBig, kThreeSmall, kFourBig };

// Page 1: the leap months of the lunar years start .. start + years - 1 (of
// one month number when restricted to 1..12).
std::unique_ptr<Search> MakeLeapMonthSearch(std::int32_t start, int years, int monthRestriction, CalendarRules rules);
// Page 1: runs of three big, three small or four big months, across years.
std::unique_ptr<Search> MakeRunSearch(std::int32_t start, int years, RunKind kind, CalendarRules rules);
// Page 1's search of a kind; the month restriction counts for leap months
// only.
std::unique_ptr<Search> MakeMonthSearch(MonthSearchKind kind, const Request& request, int monthRestriction,
                                        CalendarRules rules);

// Page 2: the days of the Gregorian years start .. start + years - 1 that meet
// every condition given; none given, nothing is searched.
std::unique_ptr<Search> MakeConditionDaySearch(std::int32_t start, int years, const DayConditions& conditions,
                                               YearStart yearStart, CalendarRules rules);

}  // namespace tovani::search
