// The search window's form: the fields at the opening, their checking for
// "查询", and the captions and labels of the pages.
#include "ui/search/search_form.h"

#include "engine/date_text.h"

namespace tovani::search {
namespace {

// The value of a digit field, saturating far beyond any year.
long long DigitsValue(const std::string& s) {
  long long v = 0;
  for (char c : s) {
    v = v * 10 + (c - '0');
    if (v > 1000000000LL) return 1000000000LL;
  }
  return v;
}

}  // namespace

const char* PageCaption(int page) {
  return page == kMonths ? "查询条件月" : page == kDays ? "查询条件日" : "";
}

const char* StartLabel(int page) {
  return page == kMonths ? "起始农历年份" : page == kDays ? "起始公历年份" : "";
}

const char* MonthSearchLabel(MonthSearchKind kind) {
  switch (kind) {
    case MonthSearchKind::kLeapMonths: return "农历闰月";
    case MonthSearchKind::kThreeBig: return "三连大月";
    case MonthSearchKind::kThreeSmall: return "三连小月";
    case MonthSearchKind::kFourBig: return "四连大月";
  }
  return "";
}

Fields InitialFields(std::int32_t displayedYear) {
  Fields f;
  f.beforeEra = displayedYear <= 0;
  f.start = std::to_string(f.beforeEra ? 1 - static_cast<long long>(displayedYear) : displayedYear);
  return f;
}

std::optional<Request> ReadRequest(Fields& fields, int page, std::int32_t firstYear) {
  if (!AllCharsIn(fields.start, "0123456789")) fields.start.clear();
  if (!AllCharsIn(fields.range, "0123456789")) fields.range.clear();
  if (fields.start.empty()) return std::nullopt;
  const long long number = DigitsValue(fields.start);
  const long long start = fields.beforeEra ? 1 - number : number;
  if (start < firstYear || start > kLastYear) {
    fields.start.clear();
    return std::nullopt;
  }
  long long range = fields.range.empty() ? 0 : DigitsValue(fields.range);
  if (page == kDays && range > kMaxDayRange) {
    range = kMaxDayRange;
    fields.range = std::to_string(range);
  }
  if (start + range - 1 > kLastYear) {
    range = kLastYear - start + 1;
    fields.range = std::to_string(range);
  }
  if (range <= 0) return std::nullopt;
  return Request{static_cast<std::int32_t>(start), static_cast<int>(range)};
}

int ReadMonthRestriction(Fields& fields) {
  if (fields.month.empty()) return 0;
  if (AllCharsIn(fields.month, "0123456789") && fields.month.size() <= 2) {
    const int m = std::stoi(fields.month);
    if (m >= 1 && m <= 12 && fields.month[0] != '0') return m;
  }
  fields.month.clear();
  return 0;
}

}  // namespace tovani::search
