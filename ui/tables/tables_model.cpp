#include "ui/tables/tables_model.h"

#include <cstdio>

#include "engine/cities.h"
#include "engine/date_text.h"
#include "engine/dates.h"
#include "engine/events.h"
#include "engine/lunar_calendar.h"
#include "engine/sun_times.h"

namespace tovani::tables {
namespace {

// A year in a header: the number, or "前" and the number before year 1.
std::string HeaderYear(std::int32_t year) {
  return year >= 1 ? std::to_string(year) : "前" + std::to_string(1 - year);
}

// "01月05日12:34:56" of an instant.
std::string MonthDayTime(LocalInstant t) {
  const auto at = DateTimeOf(t);
  if (!at) return {};
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d月%02d日%02d:%02d:%02d", at->date.month, at->date.day, at->hour, at->minute,
                at->second);
  return buf;
}

std::string TwoDigits(int n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", n);
  return buf;
}

}  // namespace

const char* PageCaption(int page) {
  switch (page) {
    case kLunarMonths: return "计算农历月";
    case kSolarTerms: return "计算节气日";
    case kMoons: return "计算朔望日";
    case kSunTimes: return "计算太阳升降时刻";
    default: return "";
  }
}

const char* YearLabel(int page) { return page == kLunarMonths ? "农历年份" : "公历年份"; }

std::optional<std::int32_t> ReadYear(YearField& field, std::int32_t firstYear) {
  if (!AllCharsIn(field.text, "0123456789")) {
    field.text.clear();
    return std::nullopt;
  }
  if (field.text.empty() || field.text.size() > 9) return std::nullopt;
  const std::int32_t number = std::stoi(field.text);
  const std::int32_t year = field.beforeEra ? 1 - number : number;
  if (year < firstYear || year > kLastYear) return std::nullopt;
  return year;
}

std::optional<std::int32_t> StepYear(YearField& field, int direction, std::int32_t firstYear) {
  YearField probe = field;
  const auto current = ReadYear(probe, firstYear);
  if (!current) {
    field = probe;  // a field with other characters is emptied
    return std::nullopt;
  }
  const std::int32_t year = *current + direction;
  if (year < firstYear || year > kLastYear) return std::nullopt;
  field.beforeEra = year <= 0;
  field.text = std::to_string(year <= 0 ? 1 - year : year);
  return year;
}

std::string LunarMonthsTable(std::int32_t y, CalendarRules rules) {
  const std::string record = LunarYearRecordOf(y, rules);
  if (record.empty()) return {};
  int leapMonth = 0;
  for (int p = 1; p <= 13; ++p) {
    const int code = OrdinalToMonthCode(y, p, rules);
    if (code > 12) leapMonth = code - 12;
  }
  std::string text = "    农历 " + HeaderYear(y) + " 年共 " + (leapMonth != 0 ? "13" : "12") + " 个月";
  const auto line = [&](int code, const char* blanks) {
    const int length = LunarMonthLength(y, code, rules);
    text += std::string(kLineBreak) + LunarMonthName(code, MonthSizeOf(length)) + blanks + "对应公历" +
            LunarToSolar(y, code, 1, rules) + " ～ " + LunarToSolar(y, code, length, rules);
  };
  for (int m = 1; m <= 12; ++m) {
    line(m, "       ");
    if (m == leapMonth) line(m + 12, "     ");
  }
  return text;
}

std::string SolarTermsTable(std::int32_t y, CalendarRules rules) {
  const DayNumber first = DateToDayNumber(y, 1, 1);
  if (first == InvalidDayNumber) return {};
  const auto terms = TermsInRange(first, DateToDayNumber(y, 12, 31), rules);
  std::string text = "    公历 " + HeaderYear(y) + " 年共 " + std::to_string(terms.size()) + " 个节气";
  for (std::size_t i = 0; i < terms.size(); ++i) {
    const int k = static_cast<int>(i) + 1;
    text += k % 2 == 1 ? kLineBreak : "   ";
    // Each term by its own name: 小寒 need not be the first term after 1 January.
    text += TwoDigits(k) + ": " + SolarTermName(terms[i].term) + MonthDayTime(terms[i].instant);
  }
  return text;
}

std::string MoonsTable(std::int32_t y, CalendarRules rules) {
  const DayNumber first = DateToDayNumber(y, 1, 1);
  if (first == InvalidDayNumber) return {};
  const DayNumber last = DateToDayNumber(y, 12, 31);
  const auto news = MoonsInRange(first, last, Phase::kNew, rules);
  const auto fulls = MoonsInRange(first, last, Phase::kFull, rules);
  const bool newFirst = !news.empty() && (fulls.empty() || news[0].instant < fulls[0].instant);
  const auto& leading = newFirst ? news : fulls;
  const auto& following = newFirst ? fulls : news;
  const char* leadWord = newFirst ? "朔日 " : "望日 ";
  const char* followWord = newFirst ? "望日 " : "朔日 ";
  std::string text = "    公历 " + HeaderYear(y) + " 年共 " + std::to_string(leading.size()) +
                     (newFirst ? " 次朔日 " : " 次望日 ") + std::to_string(following.size()) +
                     (newFirst ? " 次望日" : " 次朔日");
  for (std::size_t k = 0; k < 13; ++k) {
    if (k < leading.size()) text += kLineBreak + std::string(leadWord) + MonthDayTime(leading[k].instant);
    if (k < following.size()) text += "         " + std::string(followWord) + MonthDayTime(following[k].instant);
  }
  return text;
}

std::string SunTimesTable(std::int32_t y, const std::string& placeName, double longitude, double latitude,
                          bool dawnAndDusk) {
  const DayNumber first = DateToDayNumber(y, 1, 1);
  if (first == InvalidDayNumber) return {};
  std::string text = "    公历 " + HeaderYear(y) + " 年 " + placeName + (dawnAndDusk ? " 天亮天黑时刻" : " 日出日落时刻");
  const SunEventKind firstKind = dawnAndDusk ? kDawn : kSunrise, secondKind = dawnAndDusk ? kDusk : kSunset;
  const char* firstWord = dawnAndDusk ? " 天亮时刻" : " 日出时刻";
  const char* secondWord = dawnAndDusk ? " 天黑时刻" : " 日落时刻";
  text.reserve(text.size() + 60 * 366);
  for (DayNumber z = first; z < first + DaysInYear(y); ++z) {
    const auto date = DayNumberToDate(z);
    text += kLineBreak + TwoDigits(date ? date->month : 0) + "-" + TwoDigits(date ? date->day : 0) + firstWord +
            SunEventTime(z, longitude, latitude, TimeZoneHours, firstKind) + secondWord +
            SunEventTime(z, longitude, latitude, TimeZoneHours, secondKind);
  }
  return text;
}

std::vector<std::string> CityListItems(const std::string& ownPlaceName) {
  std::vector<std::string> items;
  for (int code = 1; code <= CityCount(); ++code) items.push_back(CityAt(code)->name);
  if (!ownPlaceName.empty()) items.push_back(ownPlaceName);
  return items;
}

TablesForm::TablesForm(int page, const Opening& opening)
    : page_(page >= kLunarMonths && page <= kSunTimes ? page : kLunarMonths),
      firstYear_(page_ == kLunarMonths ? opening.firstLunarYear : opening.firstYear),
      rules_(opening.rules),
      own_(opening.ownPlace) {
  const std::int32_t year = page_ == kLunarMonths ? opening.lunarYear : opening.year;
  field = {std::to_string(year <= 0 ? 1 - year : year), year <= 0};
  if (page_ == kSunTimes) {
    cities_ = CityListItems(own_.name);
    const int item = opening.nowCityCode - 1;
    city = item >= 0 && item < static_cast<int>(cities_.size()) ? item : 0;
  }
}

std::optional<std::string> TablesForm::Compute() {
  const auto year = ReadYear(field, firstYear_);
  if (!year) return std::nullopt;
  return TableOf(*year);
}

std::optional<std::string> TablesForm::Step(int direction) {
  const auto year = StepYear(field, direction, firstYear_);
  if (!year) return std::nullopt;
  return TableOf(*year);
}

CurrentPlace TablesForm::Place() const {
  CurrentPlace place;
  SelectCity(city + 1, own_, place);
  return place;
}

std::string TablesForm::TableOf(std::int32_t year) const {
  switch (page_) {
    case kLunarMonths: return LunarMonthsTable(year, rules_);
    case kSolarTerms: return SolarTermsTable(year, rules_);
    case kMoons: return MoonsTable(year, rules_);
    default: {
      const CurrentPlace place = Place();
      return SunTimesTable(year, place.name, place.longitude, place.latitude, dawnAndDusk);
    }
  }
}

}  // namespace tovani::tables
