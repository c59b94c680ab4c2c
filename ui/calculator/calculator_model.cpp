#include "ui/calculator/calculator_model.h"

#include "engine/date_text.h"
#include "engine/hijri.h"
#include "engine/lunar_calendar.h"
#include "engine/sexagenary.h"

namespace tovani::calculator {

const char* PageCaption(int page) {
  switch (page) {
    case kJulianDayPage: return "计算儒略日";
    case kIntervalPage: return "计算间隔日";
    case kSexagenaryPage: return "计算干支历";
    case kConvertPage: return "公历农历回历互转";
    default: return "";
  }
}

int ClientHeight(int page) {
  switch (page) {
    case kIntervalPage: return 236;
    case kConvertPage: return 211;
    default: return 176;
  }
}

const char* CalendarLabel(Calendar calendar) {
  switch (calendar) {
    case Calendar::kLunar: return "农历日期";
    case Calendar::kHijri: return "回历日期";
    default: return "公历日期";
  }
}

const char* ActionLabel(int page) { return page == kConvertPage ? "转换" : "计算"; }

const char* ResultLabel(int page) {
  switch (page) {
    case kJulianDayPage: return "儒略日数";
    case kIntervalPage: return "间隔日数";
    case kSexagenaryPage: return "干支历";
    default: return "";
  }
}

DateSpan MakeDateSpan(CalendarRules rules, std::int32_t firstGregorianYear, std::int32_t lastGregorianYear) {
  DateSpan span;
  span.rules = rules;
  span.first = DateToDayNumber(firstGregorianYear, 1, 1);
  span.last = DateToDayNumber(lastGregorianYear, 12, 31);
  span.firstYear[static_cast<int>(Calendar::kGregorian)] = firstGregorianYear;
  span.lastYear[static_cast<int>(Calendar::kGregorian)] = lastGregorianYear;
  const auto first = FromDayNumber(span.first, rules), last = FromDayNumber(span.last, rules);
  span.firstYear[static_cast<int>(Calendar::kLunar)] = first ? first->lunar.year : firstGregorianYear;
  span.lastYear[static_cast<int>(Calendar::kLunar)] = last ? last->lunar.year : lastGregorianYear;
  span.firstYear[static_cast<int>(Calendar::kHijri)] = first ? first->hijri.year : firstGregorianYear;
  span.lastYear[static_cast<int>(Calendar::kHijri)] = last ? last->hijri.year : lastGregorianYear;
  return span;
}

bool BeforeEraAllowed(const DateSpan& span, Calendar calendar) {
  return span.firstYear[static_cast<int>(calendar)] <= 0;
}

DateField FieldOf(const CalendarTriple& date) {
  const std::string text = CalendarDateText(date.year, date.month, date.day);  // "ADMM-DD-YYYY"
  if (text.size() != 12) return {};
  return {text.substr(2), date.year <= 0};
}

DayNumber ReadDate(std::string_view text, bool beforeEra, Calendar calendar, const DateSpan& span) {
  const auto typed = ReadDateInput(text);  // month, day and the year number
  if (!typed) return InvalidDayNumber;
  const std::int32_t year = beforeEra ? 1 - typed->year : typed->year;
  const int month = typed->month, day = typed->day;
  const int c = static_cast<int>(calendar);
  // Years the span does not reach need not trouble the engine.
  if (year < span.firstYear[c] || year > span.lastYear[c]) return InvalidDayNumber;
  DayNumber z = InvalidDayNumber;
  switch (calendar) {
    case Calendar::kGregorian:
      z = DateToDayNumber(year, month, day);
      break;
    case Calendar::kLunar:
      if (IsValidLunarDate(year, month, day, span.rules)) {
        if (const auto g = CivilDateOfLunar(year, month, day, span.rules)) z = DateToDayNumber(*g);
      }
      break;
    case Calendar::kHijri:
      if (IsValidHijriDate(year, month, day)) z = HijriDayNumber(year, month, day);
      break;
  }
  if (z == InvalidDayNumber || z < span.first || z > span.last) return InvalidDayNumber;
  return z;
}

std::string DayText(DayNumber day, Calendar calendar, CalendarRules rules) {
  const auto g = DayNumberToDate(day);
  if (!g) return {};
  switch (calendar) {
    case Calendar::kLunar: return SolarToLunar(g->year, g->month, g->day, rules);
    case Calendar::kHijri: return HijriDateText(g->year, g->month, g->day);
    default: return CalendarDateText(g->year, g->month, g->day);
  }
}

std::optional<std::int64_t> ParseDayCount(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  const std::string_view digits = negative ? text.substr(1) : text;
  // Ten digits are more than any two days of the span lie apart.
  if (digits.empty() || digits.size() > 10 || !AllCharsIn(digits, "0123456789")) return std::nullopt;
  std::int64_t n = 0;
  for (char ch : digits) n = 10 * n + (ch - '0');
  return negative ? -n : n;
}

// ---- Calculator ----

Calculator::Calculator(int page, const DateSpan& span, const CalendarTriple& displayedGregorian, YearStart yearStart)
    : page_(page >= kJulianDayPage && page <= kConvertPage ? page : kJulianDayPage),
      span_(span),
      yearStart_(yearStart) {
  fields_[0] = fields_[1] = FieldOf(displayedGregorian);
  if (page_ == kConvertPage) calendars_[1] = Calendar::kLunar;
}

void Calculator::ClearResult() {
  // In offset mode the field holds the number of days the user typed until
  // a result replaces it; only a result goes.
  if (!offsetMode_ || computed_) result_.clear();
  computed_ = false;
}

void Calculator::EditDate(int index, std::string text) {
  if (fields_[index].text == text) return;
  fields_[index].text = std::move(text);
  ClearResult();
}

void Calculator::TickBeforeEra(int index, bool ticked) {
  if (ticked && !BeforeEraEnabled(index)) ticked = false;
  fields_[index].beforeEra = ticked;
  ClearResult();
}

void Calculator::Choose(int group, Calendar calendar) {
  calendars_[group] = calendar;
  if (!BeforeEraAllowed(span_, calendar)) fields_[group].beforeEra = false;
  ClearResult();
}

void Calculator::EditResult(std::string text) {
  if (!offsetMode_ || result_ == text) return;
  result_ = std::move(text);
  computed_ = false;
}

bool Calculator::FillEmptyDate(int index) {
  if (!fields_[index].text.empty()) return false;
  fields_[index].text = kZeroDatePattern;
  ClearResult();
  return true;
}

void Calculator::ToggleMode() {
  if (page_ != kIntervalPage) return;
  offsetMode_ = !offsetMode_;
  result_.clear();
  computed_ = false;
}

DayNumber Calculator::TakeDate(int index) {
  DateField& f = fields_[index];
  const DayNumber z = ReadDate(f.text, f.beforeEra, calendars_[index], span_);
  f.text = z == InvalidDayNumber ? std::string() : NormalizeDateInput(f.text);
  return z;
}

void Calculator::Compute() {
  if (offsetMode_) {
    if (computed_) return;  // nothing changed since the result was shown
    const DayNumber from = TakeDate(0);
    if (from == InvalidDayNumber || result_.empty()) return;
    const auto days = ParseDayCount(result_);
    const std::int64_t to = days ? from + *days : 0;
    result_ = days && to >= span_.first && to <= span_.last
                  ? DayText(static_cast<DayNumber>(to), calendars_[1], span_.rules)
                  : std::string();
    computed_ = !result_.empty();
    return;
  }
  const DayNumber z = TakeDate(0);
  const DayNumber second = page_ == kIntervalPage ? TakeDate(1) : z;
  result_.clear();
  computed_ = false;
  if (z == InvalidDayNumber || second == InvalidDayNumber) return;
  switch (page_) {
    case kJulianDayPage:
      result_ = std::to_string(z);
      break;
    case kIntervalPage:
      result_ = std::to_string(second - z);
      break;
    case kSexagenaryPage:
      if (const auto g = DayNumberToDate(z))
        result_ = SexagenaryText(g->year, g->month, g->day, yearStart_, span_.rules);
      break;
    case kConvertPage:
      result_ = DayText(z, calendars_[1], span_.rules);
      break;
  }
  computed_ = !result_.empty();
}

}  // namespace tovani::calculator
