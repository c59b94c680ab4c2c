// The search window's form, without any Win32: its two pages, the fields as
// typed, the rules that turn them into a request (or empty what is wrong),
// and the captions and labels the window shows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tovani::search {

enum Page { kMonths = 1, kDays = 2 };
inline constexpr std::int32_t kLastYear = 5000;
inline constexpr int kMaxDayRange = 100;

// "查询条件月" or "查询条件日".
const char* PageCaption(int page);
// The start field's label: "起始农历年份" (page 1) or "起始公历年份" (page 2).
const char* StartLabel(int page);
inline constexpr const char* kRangeLabel = "查询年份范围";

// The fields of the window as typed.
struct Fields {
  std::string start;
  bool beforeEra = false;
  std::string range;
  std::string month;  // page 1: restricts the leap-month search to one month
};

// The fields at the window's opening: the displayed Gregorian year as a
// positive number, "纪元前" ticked for years up to 0; the range empty.
Fields InitialFields(std::int32_t displayedYear);

struct Request {
  std::int32_t start = 0;
  int years = 0;
};

// Applies the rules of the fields for "查询": a field with anything but digits
// is emptied; a start year outside firstYear..5000 empties the start field; on
// page 2 a range above 100 becomes 100; a range reaching past 5000 is cut; the
// fields show what was made of them.  Nothing to search (empty result) when
// the start is missing or the range is empty or 0.
std::optional<Request> ReadRequest(Fields& fields, int page, std::int32_t firstYear);
// The leap-month restriction 1..12 of the month field, 0 for none; any other
// text is cleared.
int ReadMonthRestriction(Fields& fields);

// Page 1's four searches, in the order of their radio buttons.
enum class MonthSearchKind { kLeapMonths, kThreeBig, kThreeSmall, kFourBig };
inline constexpr int kMonthSearchKinds = 4;
// "农历闰月", "三连大月", "三连小月", "四连大月".
const char* MonthSearchLabel(MonthSearchKind kind);

}  // namespace tovani::search
