// What the calendar and tool windows show, in a terminal.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "cli/cli_common.h"
#include "engine/cities.h"
#include "engine/date_text.h"
#include "engine/events.h"
#include "engine/hijri.h"
#include "engine/lunar_calendar.h"
#include "engine/solar_terms.h"
#include "framework/codepage.h"
#include "engine/calendar_range.h"
#include "ui/day/day_model.h"
#include "ui/month/month_model.h"
#include "ui/search/search_model.h"
#include "ui/tables/tables_model.h"

namespace tovani::cli {
namespace {

constexpr std::int32_t kFirstYear = -103, kLastYear = 4103, kToolLastYear = 5000;

// Windows' line breaks become the terminal's.
std::string UnixLines(std::string text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

// A date of the calendar windows' range, or the failure's message (naming
// what the user typed) and exit code.
std::optional<CivilDate> WindowDate(const std::optional<CivilDate>& date, std::string_view typed,
                                    const std::string& message, Output& out, int& code) {
  if (!date) {
    code = out.Fail(message);
    return std::nullopt;
  }
  if (date->year < kFirstYear || date->year > kLastYear) {
    code = out.Fail("date " + Quoted(typed) + " is outside the calendar's years -103..4103");
    return std::nullopt;
  }
  return date;
}

// The date argument, today when there is none.
std::optional<CivilDate> ParseWindowDate(const Invocation& inv, Output& out, int& code) {
  const std::string typed = inv.args.empty() ? "today" : inv.args[0];
  std::string message;
  const auto date = ParseDate(typed, message);
  return WindowDate(date, typed, message, out, code);
}

// Options that mean nothing with --json are refused, not ignored.
int RefuseWithJson(const Invocation& inv, std::initializer_list<const char*> options, Output& out) {
  for (const char* o : options) {
    if (inv.Has(o)) return out.Fail("--" + std::string(o) + " means nothing with --json");
  }
  return kOk;
}

// Days as JSON objects with the keys of dump; the events are walked once.
std::vector<std::string> DayObjects(DayNumber first, DayNumber last, const CurrentPlace& place,
                                    const HolidayCalendar& holidays, CalendarRules rules) {
  std::vector<std::string> objects;
  const auto events = EventsInRange(first, last, rules);
  auto next = events.begin();
  for (DayNumber z = first; z <= last; ++z) {
    const CivilDate d = *DayNumberToDate(z);
    const auto lunar = LunarDateOf(d.year, d.month, d.day, rules);
    std::string s = "{\"jdn\":" + std::to_string(z) + ",\"g\":" + JsonString(IsoText(d)) +
                    ",\"lunar\":" + JsonString(LunarDateText(lunar));
    for (; next != events.end() && std::floor(next->instant) < z; ++next) {
    }
    for (; next != events.end() && std::floor(next->instant) == z; ++next) {
      const std::string clock = ClockPart(DateTimeText(next->instant));
      switch (next->kind) {
        case EventKind::kTerm:
          s += ",\"term\":" + JsonString(SolarTermName(next->term) + " " + clock);
          break;
        case EventKind::kNewMoon:
          s += ",\"newmoon\":" + JsonString(clock);
          break;
        case EventKind::kFullMoon:
          s += ",\"fullmoon\":" + JsonString(clock);
          break;
      }
    }
    objects.push_back(s + DayFields(d, lunar, place, holidays, rules) + "}");
  }
  return objects;
}

int RunDay(const Invocation& inv, Output& out) {
  int code = kOk;
  const auto date = ParseWindowDate(inv, out, code);
  if (!date) return code;
  if (inv.Has("json")) {
    if (const int refused = RefuseWithJson(inv, {"info", "dynasty", "ganzhi-newyear"}, out)) return refused;
    const auto place = PlaceOption(inv, out, code);
    if (!place) return code;
    const auto holidays = HolidaysOption(inv, out, code);
    if (!holidays) return code;
    const DayNumber z = DateToDayNumber(*date);
    out.Utf8Line(DayObjects(z, z, *place, *holidays, inv.Rules()).front());
    return kOk;
  }
  // The day view shows no holidays; they are in its JSON.
  if (inv.Has("holidays")) return out.Fail("--holidays goes with day --json only");
  std::string message;
  DayInfo info = DayInfo::kFestivals;
  if (inv.Has("info")) {
    const auto n = ParseBounded(inv.options.at("info"), 0, 2, "--info", message);
    if (!n) return out.Fail(message);
    info = static_cast<DayInfo>(*n);
  }
  const auto place = PlaceOption(inv, out, code);
  if (!place) return code;
  const auto day = FromGregorian(*date, inv.Rules());
  if (!day) return out.Fail("no lunar or Hijri date for " + IsoText(*date));
  const day::DayModel model(MakeCalendarRange(kFirstYear, kLastYear, inv.Rules()), *day, inv.Has("dynasty"));
  const auto row = [&](const char* name, day::ListId first) {
    std::string line = name;
    for (int i = 0; i < 3; ++i) {
      const auto list = static_cast<day::ListId>(first + i);
      const int selected = model.Selected(list);
      line += " " + (selected >= 0 ? TrimBlanks(model.List(list).items[selected]) : std::string("?"));
    }
    return line;
  };
  out.Line(row("公历", day::kGregorianYear) + "\t" + DateText(DateToDayNumber(day->gregorian)));
  out.Line(row("农历", day::kLunarYear) + "\t" +
           CalendarDateText(day->lunar.year, day->lunar.month, day->lunar.day));
  out.Line(row("回历", day::kHijriYear) + "\t" + CalendarDateText(day->hijri.year, day->hijri.month, day->hijri.day));
  out.Line(day::DayTextLine1(*day, inv.CycleYearStart(), inv.Rules()));
  out.Line(day::DayTextLine2(*day, info, place->longitude, place->latitude, inv.Rules()));
  return kOk;
}

// The month argument: Y-MM (the first day), Y-MM-DD (the day whose details
// are shown) or today; this month's today when there is none.
std::optional<CivilDate> ParseMonthArgument(const Invocation& inv, Output& out, int& code) {
  const std::string typed = inv.args.empty() ? "today" : inv.args[0];
  std::string message;
  std::optional<CivilDate> date;
  if (const auto ym = ParseDashedNumbers(typed, 2)) {
    const auto y = (*ym)[0], m = (*ym)[1];
    if (y >= -9998 && y <= 9999 && m >= 1 && m <= 12) {
      date = CivilDate{static_cast<std::int32_t>(y), static_cast<std::int32_t>(m), 1};
    } else {
      message = "no such month " + Quoted(typed) + ": expected Y-MM with MM 01..12";
    }
  } else if (typed == "today" || ParseDashedNumbers(typed, 3)) {
    date = ParseDate(typed, message);
  } else {
    message = "bad month " + Quoted(typed) + ": expected Y-MM or Y-MM-DD (astronomical year) or today";
  }
  return WindowDate(date, typed, message, out, code);
}

// Reverse video, for today's cell on a terminal.
constexpr const char* kReverse = "\033[7m";
constexpr const char* kPlain = "\033[0m";

int RunMonthJson(const Invocation& inv, const CivilDate& date, Output& out) {
  if (const int refused = RefuseWithJson(inv, {"ganzhi-newyear", "monday"}, out)) return refused;
  int code = kOk;
  const auto place = PlaceOption(inv, out, code);
  if (!place) return code;
  const auto holidays = HolidaysOption(inv, out, code);
  if (!holidays) return code;
  const DayNumber first = DateToDayNumber(date.year, date.month, 1);
  const DayNumber last = first + DaysInMonth(date.year, date.month) - 1;
  const std::string iso = IsoText(date);
  std::string s = "{\"month\":" + JsonString(iso.substr(0, iso.size() - 3)) + ",\"days\":[";
  bool firstDay = true;
  for (const std::string& day : DayObjects(first, last, *place, *holidays, inv.Rules())) {
    s += (firstDay ? "" : ",") + day;
    firstDay = false;
  }
  out.Utf8Line(s + "]}");
  return kOk;
}

int RunMonth(const Invocation& inv, Output& out) {
  int code = kOk;
  const auto date = ParseMonthArgument(inv, out, code);
  if (!date) return code;
  if (inv.Has("json")) return RunMonthJson(inv, *date, out);
  const auto place = PlaceOption(inv, out, code);
  if (!place) return code;
  const auto holidays = HolidaysOption(inv, out, code);
  if (!holidays) return code;
  const auto day = FromGregorian(*date, inv.Rules());
  if (!day) return out.Fail("no lunar or Hijri date for " + IsoText(*date));
  const month::WeekStart start = inv.Has("monday") ? month::WeekStart::kMonday : month::WeekStart::kSunday;
  const month::MonthModel model(MakeCalendarRange(kFirstYear, kLastYear, inv.Rules()), *day, start);
  const month::MonthGrid& grid = model.grid();
  // On a terminal, today's cell stands out and days off and make-up working
  // days carry their marks.
  const bool styled = out.terminal().styledOutput;
  int todayCell = 0;
  if (styled) {
    std::string ignored;
    const auto today = Today(ignored);
    if (today && today->year == date->year && today->month == date->month) todayCell = model.CellOfDay(today->day);
  }
  // Columns are counted in the terminal's columns: a Chinese character takes two.
  constexpr std::size_t kWidth = 10;
  std::string header;
  for (int column = 0; column < 7; ++column) header += PadColumns(Cp936ToUtf8(month::WeekdayHeader(column, start)), kWidth);
  const auto trimmed = [](const std::string& line) { return line.substr(0, line.find_last_not_of(' ') + 1); };
  out.Utf8Line(trimmed(header));
  for (int row = 0; row * 7 < grid.lastCell; ++row) {
    std::string days, seconds;
    for (int column = 0; column < 7; ++column) {
      const int cell = row * 7 + column + 1;
      std::string number, second;
      if (cell >= grid.firstCell && cell <= grid.lastCell && cell <= month::kCellCount) {
        // The cell text: a line break, the day, a line break, the second line.
        const std::string& text = grid.cells[cell - 1];
        const auto split = text.find(month::kLineBreak, 2);
        number = text.substr(2, split - 2);
        second = Cp936ToUtf8(text.substr(split + 2));
        if (cell == model.SelectedCell()) number = "[" + number + "]";
        if (styled) {
          const int dayOfMonth = cell - grid.firstCell + 1;
          number += Cp936ToUtf8(HolidayMark(holidays->Of({date->year, date->month, dayOfMonth}).status));
        }
      }
      if (cell == todayCell) {
        // The highlight covers the text's columns and leaves a gap to the next cell.
        days += kReverse + PadColumns(number, kWidth - 2) + kPlain + "  ";
        seconds += kReverse + PadColumns(second, kWidth - 2) + kPlain + "  ";
      } else {
        days += PadColumns(number, kWidth);
        seconds += PadColumns(second, kWidth);
      }
    }
    out.Utf8Line(trimmed(days));
    out.Utf8Line(trimmed(seconds));
  }
  out.Line("");
  out.Line(UnixLines(month::MonthSummary(date->year, date->month, inv.Rules())));
  out.Line(UnixLines(month::DayDetails(*day, inv.CycleYearStart(), place->longitude, place->latitude, inv.Rules()))
               .substr(1));
  return kOk;
}

int RunTable(const Invocation& inv, Output& out) {
  const std::string& page = inv.args[0];
  if (page != "months" && page != "terms" && page != "moons" && page != "sun") {
    return out.Fail("unknown table " + Quoted(page) + ": expected months, terms, moons or sun");
  }
  // The place and twilight belong to the sun table only; elsewhere they are refused, not ignored.
  if (page != "sun" && (inv.Has("city") || inv.Has("dawn"))) {
    return out.Fail(std::string(inv.Has("city") ? "--city" : "--dawn") + " applies to table sun only");
  }
  std::string message;
  const bool lunar = page == "months";
  const auto year = ParseBounded(inv.args[1], lunar ? -104 : kFirstYear, kToolLastYear, "year", message);
  if (!year) return out.Fail(message);
  const auto y = static_cast<std::int32_t>(*year);
  if (page == "months") {
    out.Line(UnixLines(tables::LunarMonthsTable(y, inv.Rules())));
  } else if (page == "terms") {
    out.Line(UnixLines(tables::SolarTermsTable(y, inv.Rules())));
  } else if (page == "moons") {
    out.Line(UnixLines(tables::MoonsTable(y, inv.Rules())));
  } else if (page == "sun") {
    int code = kOk;
    const auto place = PlaceOption(inv, out, code);
    if (!place) return code;
    out.Line(UnixLines(tables::SunTimesTable(y, place->name, place->longitude, place->latitude, inv.Has("dawn"))));
  }
  return kOk;
}

// A list's item by its number or its name (UTF-8 on the command line).
std::optional<int> ConditionValue(search::Condition c, const std::string& value) {
  const auto items = search::ConditionItems(c);
  if (const auto n = ParseInteger(value); n && *n >= 1 && *n <= static_cast<long long>(items.size())) {
    return static_cast<int>(*n);
  }
  const std::string gbk = Utf8ToCp936(value);
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i] == gbk) return static_cast<int>(i) + 1;
  }
  return std::nullopt;
}

struct ConditionOption {
  const char* name;
  search::Condition condition;
};

constexpr ConditionOption kConditionOptions[] = {
    {"gmonth", search::kGregorianMonth}, {"gday", search::kGregorianDay}, {"lmonth", search::kLunarMonth},
    {"lday", search::kLunarDay},         {"hmonth", search::kHijriMonth}, {"hday", search::kHijriDay},
    {"gz-year", search::kCycleYear},     {"gz-month", search::kCycleMonth}, {"gz-day", search::kCycleDay},
    {"weekday", search::kWeekday},       {"term", search::kSolarTerm},    {"festival", search::kFestival},
};

int RunSearch(const Invocation& inv, Output& out) {
  const std::string& kind = inv.args[0];
  const bool days = kind == "days";
  if (!days && kind != "leap" && kind != "big3" && kind != "small3" && kind != "big4") {
    return out.Fail("unknown search " + Quoted(kind) + ": expected leap, big3, small3, big4 or days");
  }
  // The command line's astronomical start year goes into the window's fields.
  std::string message;
  const auto start = ParseBounded(inv.args[1], -104, kToolLastYear, "start year", message);
  if (!start) return out.Fail(message);
  search::Fields fields;
  fields.beforeEra = *start <= 0;
  fields.start = std::to_string(*start <= 0 ? 1 - *start : *start);
  fields.range = inv.args[2];
  const int page = days ? search::kDays : search::kMonths;
  const std::int32_t firstYear = days ? kFirstYear : MakeCalendarRange(kFirstYear, kLastYear, inv.Rules()).lunarFirst.year;
  const std::string rangeBefore = fields.range;
  const auto request = search::ReadRequest(fields, page, firstYear);
  if (!request) {
    if (fields.start.empty()) return out.Fail("start year " + Quoted(inv.args[1]) + " is outside the searchable years");
    return out.Fail("bad range " + Quoted(rangeBefore) + ": expected a number of years above 0");
  }

  std::unique_ptr<search::Search> search;
  if (days) {
    std::array<int, search::kConditionCount> selections{};
    for (const ConditionOption& o : kConditionOptions) {
      if (!inv.Has(o.name)) continue;
      const auto v = ConditionValue(o.condition, inv.options.at(o.name));
      if (!v) return out.Fail("bad --" + std::string(o.name) + " " + Quoted(inv.options.at(o.name)));
      selections[o.condition] = *v;
    }
    const search::DayConditions conditions = search::ConditionsFromSelections(selections);
    if (!conditions.Any()) return out.Fail("search days needs at least one condition (see tovani --help)");
    search =
        search::MakeConditionDaySearch(request->start, request->years, conditions, inv.CycleYearStart(), inv.Rules());
  } else if (kind == "leap") {
    fields.month = inv.Has("month") ? inv.options.at("month") : "";
    const std::string monthBefore = fields.month;
    const int month = search::ReadMonthRestriction(fields);
    if (!monthBefore.empty() && month == 0) return out.Fail("bad --month " + Quoted(monthBefore) + ": expected 1..12");
    search = search::MakeLeapMonthSearch(request->start, request->years, month, inv.Rules());
  } else {
    search = search::MakeRunSearch(request->start, request->years,
                                   kind == "big3"    ? search::RunKind::kThreeBig
                                   : kind == "small3" ? search::RunKind::kThreeSmall
                                                      : search::RunKind::kFourBig, inv.Rules());
  }
  // Said only once every argument is known good: a failure is one line.
  if (fields.range != rangeBefore) out.Note("tovani: range cut to " + fields.range + " years\n");
  const bool showProgress = out.terminal().progress;
  while (search->Step()) {
    const std::string progress = search->ProgressUpdate();
    if (showProgress && !progress.empty()) out.Note("\r" + TrimBlanks(progress));
  }
  if (showProgress) out.Note("\r\033[K");
  out.Line(UnixLines(search->Result()));
  return kOk;
}

int RunHijri(const Invocation& inv, Output& out) {
  std::string message;
  const auto date = ParseDate(inv.args[0], message);
  if (!date) return out.Fail(message);
  const auto h = HijriDateOf(date->year, date->month, date->day);
  if (!h) return out.Fail("date " + Quoted(inv.args[0]) + " is before the Hijri calendar's range");
  out.Line(HijriDateText(date->year, date->month, date->day) + "\t" + TrimBlanks(HijriYearText(h->year)) + "年" + std::to_string(h->month) + "月" +
           std::to_string(h->day) + "日");
  return kOk;
}

}  // namespace

std::vector<Command> WindowCommands() {
  std::vector<std::string_view> searchOptions = {"month=", "ganzhi-newyear"};
  static std::vector<std::string> valued;
  if (valued.empty()) {
    for (const ConditionOption& o : kConditionOptions) valued.push_back(std::string(o.name) + "=");
  }
  for (const std::string& v : valued) searchOptions.push_back(v);
  return {
      {"day", "[DATE]", "the day window: the three calendars and both text lines (default today)", 0, 1,
       {"info=", "ganzhi-newyear", "city=", "dynasty", "json", "holidays="}, RunDay},
      {"month", "[Y-MM[-DD]]", "the month window: grid, summary, the day's details (default this month)",
       0, 1, {"ganzhi-newyear", "city=", "json", "holidays=", "monday"}, RunMonth},
      {"table", "PAGE Y", "tables: months (lunar year), terms, moons or sun (Gregorian year)", 2, 2,
       {"city=", "dawn"}, RunTable},
      {"search", "KIND START RANGE", "search leap|big3|small3|big4 months, or days by conditions", 3, 3,
       searchOptions, RunSearch},
      {"hijri", "DATE", "the Hijri date of a date", 1, 1, {}, RunHijri},
  };
}

}  // namespace tovani::cli
