#include "engine/holidays.h"

#include <algorithm>
#include <iterator>
#include <optional>

namespace tovani {
namespace {

struct BuiltInDay {
  std::int32_t key;  // YYYYMMDD
  bool workDay;
  const char* name;
};
constexpr bool kOff = false, kWork = true;

#include "engine/holidays_table.inc"

constexpr std::int32_t kFirstAddedYear = 1583;  // the first whole Gregorian year
constexpr std::int32_t kLastAddedYear = 9999;

std::int32_t KeyOf(const CivilDate& d) { return d.year * 10000 + d.month * 100 + d.day; }
CivilDate DateOf(std::int32_t key) { return {key / 10000, key / 100 % 100, key % 100}; }

// The first and last keys of a year's arrangement: 28 December of the year
// before to 27 December.
std::int32_t FirstKey(std::int32_t year) { return (year - 1) * 10000 + 1228; }
std::int32_t LastKey(std::int32_t year) { return year * 10000 + 1227; }

// The characters of a program text, one or two bytes each; nothing when a
// byte sequence is not code page 936 or holds a control character.
std::optional<std::vector<std::string_view>> Characters(std::string_view s) {
  std::vector<std::string_view> chars;
  for (std::size_t i = 0; i < s.size();) {
    const auto lead = static_cast<unsigned char>(s[i]);
    if (lead < 0x80) {
      if (lead < 0x20 && lead != '\t') return std::nullopt;
      if (lead == 0x7F) return std::nullopt;
      chars.push_back(s.substr(i, 1));
      ++i;
      continue;
    }
    if (lead == 0x80 || lead == 0xFF || i + 1 >= s.size()) return std::nullopt;
    const auto trail = static_cast<unsigned char>(s[i + 1]);
    if (trail < 0x40 || trail == 0x7F || trail == 0xFF) return std::nullopt;
    chars.push_back(s.substr(i, 2));
    i += 2;
  }
  return chars;
}

bool IsBlank(std::string_view c) { return c == " " || c == "\t" || c == "　"; }

// "休 名称" / "班 名称": the mark, a blank, the name (no tab inside).
std::optional<std::pair<HolidayStatus, std::string>> ParseValue(std::string_view value) {
  const auto chars = Characters(value);
  if (!chars) return std::nullopt;
  std::size_t first = 0, last = chars->size();
  // A "#" after a blank starts a comment, which ends the value.
  for (std::size_t i = 1; i < last; ++i) {
    if ((*chars)[i] == "#" && IsBlank((*chars)[i - 1])) last = i;
  }
  while (first < last && IsBlank((*chars)[first])) ++first;
  while (last > first && IsBlank((*chars)[last - 1])) --last;
  if (last - first < 3 || !IsBlank((*chars)[first + 1])) return std::nullopt;
  HolidayStatus status;
  if ((*chars)[first] == "休") {
    status = HolidayStatus::kDayOff;
  } else if ((*chars)[first] == "班") {
    status = HolidayStatus::kWorkDay;
  } else {
    return std::nullopt;
  }
  std::size_t nameStart = first + 2;
  while (nameStart < last && IsBlank((*chars)[nameStart])) ++nameStart;
  std::string name;
  for (std::size_t i = nameStart; i < last; ++i) {
    if ((*chars)[i] == "\t") return std::nullopt;
    name += (*chars)[i];
  }
  if (name.empty()) return std::nullopt;
  return std::pair(status, name);
}

// "YYYY-MM-DD", a Gregorian date of the years additions may hold.
std::optional<CivilDate> ParseDay(std::string_view s) {
  if (s.size() != 10 || s[4] != '-' || s[7] != '-') return std::nullopt;
  int fields[3] = {0, 0, 0};
  const std::size_t starts[3] = {0, 5, 8}, lengths[3] = {4, 2, 2};
  for (int f = 0; f < 3; ++f) {
    for (std::size_t i = starts[f]; i < starts[f] + lengths[f]; ++i) {
      if (s[i] < '0' || s[i] > '9') return std::nullopt;
      fields[f] = fields[f] * 10 + (s[i] - '0');
    }
  }
  if (fields[0] < kFirstAddedYear || fields[0] > kLastAddedYear || !IsValidDate(fields[0], fields[1], fields[2])) {
    return std::nullopt;
  }
  return CivilDate{fields[0], fields[1], fields[2]};
}

std::string_view TrimAsciiBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// A line of text split into its date and its value.  Blanks, '=', '"' and
// '#' are below 0x40, so they never stand for half of a two-byte character.
std::pair<std::string_view, std::string_view> SplitLine(std::string_view line) {
  std::string_view date, rest;
  if (!line.empty() && line.front() == '"') {
    const auto close = line.find('"', 1);
    if (close == std::string_view::npos) return {line, {}};
    date = line.substr(1, close - 1);
    rest = line.substr(close + 1);
  } else {
    const auto end = std::min(line.find_first_of(" \t="), line.size());
    date = line.substr(0, end);
    rest = line.substr(end);
  }
  rest = TrimAsciiBlanks(rest);
  if (!rest.empty() && rest.front() == '=') rest = TrimAsciiBlanks(rest.substr(1));
  if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') rest = rest.substr(1, rest.size() - 2);
  return {date, rest};
}

}  // namespace

std::int32_t ArrangementYear(const CivilDate& d) { return d.month == 12 && d.day >= 28 ? d.year + 1 : d.year; }

HolidayCalendar::HolidayCalendar() = default;

std::vector<HolidayLineError> HolidayCalendar::Add(const std::vector<std::pair<std::string, std::string>>& entries) {
  std::vector<HolidayLineError> errors;
  std::map<std::int32_t, std::map<std::int32_t, Day>> years;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const auto& [dateText, valueText] = entries[i];
    const auto date = ParseDay(dateText);
    const auto value = ParseValue(valueText);
    if (!date || !value) {
      errors.push_back({static_cast<int>(i + 1), dateText + "=" + valueText});
      continue;
    }
    const std::int32_t key = KeyOf(*date);
    years[ArrangementYear(*date)].insert_or_assign(key, Day{key, value->first, value->second});
  }
  for (auto& [year, days] : years) {
    // Days added before for the same year stay unless a new line gives their date.
    for (Day& old : added_[year]) days.try_emplace(old.key, std::move(old));
    std::vector<Day> sorted;
    sorted.reserve(days.size());
    for (auto& [key, day] : days) sorted.push_back(std::move(day));
    added_[year] = std::move(sorted);
  }
  return errors;
}

std::vector<HolidayLineError> HolidayCalendar::AddText(std::string_view text) {
  std::vector<std::pair<std::string, std::string>> entries;
  std::vector<int> lineNumbers;
  std::vector<std::string> lines;
  int number = 0;
  for (std::size_t start = 0; start <= text.size();) {
    auto end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::string_view content = line;
    // A "#" at the start or after a blank ends the line's content.
    for (std::size_t i = 0; i < content.size(); ++i) {
      if (content[i] == '#' && (i == 0 || content[i - 1] == ' ' || content[i - 1] == '\t')) content = content.substr(0, i);
    }
    const std::string_view trimmed = TrimAsciiBlanks(content);
    if (trimmed.empty()) continue;
    const auto [date, value] = SplitLine(trimmed);
    entries.emplace_back(std::string(date), std::string(value));
    lineNumbers.push_back(number);
    lines.emplace_back(line);
  }
  std::vector<HolidayLineError> errors = Add(entries);
  for (HolidayLineError& e : errors) {
    const auto index = static_cast<std::size_t>(e.line - 1);
    e = {lineNumbers[index], lines[index]};
  }
  return errors;
}

HolidayInfo HolidayCalendar::Of(const CivilDate& d) const {
  if (!IsValidDate(d.year, d.month, d.day)) return {};
  const std::int32_t year = ArrangementYear(d);
  if (!added_.empty()) {
    const auto it = added_.find(year);
    if (it != added_.end()) {
      const std::int32_t key = KeyOf(d);
      const auto& days = it->second;
      const auto found = std::lower_bound(days.begin(), days.end(), key,
                                          [](const Day& day, std::int32_t k) { return day.key < k; });
      if (found == days.end() || found->key != key) return {HolidayStatus::kOrdinary, {}};
      return {found->status, found->name};
    }
  }
  if (year < kBuiltInFirstYear || year > kBuiltInLastYear) return {};
  const std::int32_t key = KeyOf(d);
  const auto* found = std::lower_bound(std::begin(kBuiltInDays), std::end(kBuiltInDays), key,
                                       [](const BuiltInDay& day, std::int32_t k) { return day.key < k; });
  if (found == std::end(kBuiltInDays) || found->key != key) return {HolidayStatus::kOrdinary, {}};
  return {found->workDay ? HolidayStatus::kWorkDay : HolidayStatus::kDayOff, found->name};
}

std::int32_t HolidayCalendar::FirstYear() const {
  return added_.empty() ? kBuiltInFirstYear : std::min(kBuiltInFirstYear, added_.begin()->first);
}

std::int32_t HolidayCalendar::LastYear() const {
  return added_.empty() ? kBuiltInLastYear : std::max(kBuiltInLastYear, added_.rbegin()->first);
}

bool HolidayCalendar::Announced(std::int32_t year) const {
  return (year >= kBuiltInFirstYear && year <= kBuiltInLastYear) || added_.count(year) != 0;
}

std::vector<HolidayDay> HolidayCalendar::Arrangement(std::int32_t year) const {
  std::vector<HolidayDay> result;
  const auto it = added_.find(year);
  if (it != added_.end()) {
    for (const Day& day : it->second) result.push_back({DateOf(day.key), day.status, day.name});
    return result;
  }
  if (year < kBuiltInFirstYear || year > kBuiltInLastYear) return result;
  const auto* from = std::lower_bound(std::begin(kBuiltInDays), std::end(kBuiltInDays), FirstKey(year),
                                      [](const BuiltInDay& day, std::int32_t k) { return day.key < k; });
  for (const auto* day = from; day != std::end(kBuiltInDays) && day->key <= LastKey(year); ++day) {
    result.push_back({DateOf(day->key), day->workDay ? HolidayStatus::kWorkDay : HolidayStatus::kDayOff, day->name});
  }
  return result;
}

bool IsOfficialWorkingDay(const HolidayCalendar& calendar, const CivilDate& d) {
  const auto weekday = WeekdayOf(d.year, d.month, d.day);
  if (!weekday) return false;
  switch (calendar.Of(d).status) {
    case HolidayStatus::kDayOff: return false;
    case HolidayStatus::kWorkDay: return true;
    case HolidayStatus::kOrdinary:
    case HolidayStatus::kNotAnnounced: break;
  }
  return *weekday <= Friday;
}

std::string HolidayMark(HolidayStatus s) {
  switch (s) {
    case HolidayStatus::kDayOff: return "休";
    case HolidayStatus::kWorkDay: return "班";
    case HolidayStatus::kOrdinary:
    case HolidayStatus::kNotAnnounced: break;
  }
  return {};
}

}  // namespace tovani
