// The help text.  The commands come from the command table, each with its
// usage and summary; the options, which several commands share, from the list
// below, each entry with the lines it takes.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_common.h"
#include "engine/festivals.h"

namespace tovani::cli {

namespace {

// The column where the descriptions begin.
constexpr std::size_t kTextColumn = 30;

constexpr std::string_view kIntro[] = {
    "usage: tovani COMMAND ARGUMENTS... [OPTIONS]",
    "       tovani [OPTIONS]          today's day view (the day command for today)",
    "",
    "Dates are Y-MM-DD with astronomical years: 0 is 1 BC, -103-01-01 is 104 BC;",
    "\"today\" is today's date on this computer.",
    "They are Julian up to 1582-10-04 and Gregorian from 1582-10-15.",
    "A calendar-date text is AD or BC, then MM-DD-YYYY (BC years counted 1 - year);",
    "for lunar dates MM is the month code, 13..24 for the leap month after months 1..12.",
    "All times are UTC+8.",
};

// An entry of the options: the options as written and what they do, line by
// line side by side.  An entry without a description is a paragraph of its
// own (the conditions of search days).
struct OptionHelp {
  std::vector<std::string_view> options;
  std::vector<std::string_view> description;
};

const OptionHelp kOptions[] = {
    {{"--modern"},
     {"compute ancient years by modern astronomy instead of", "the rules the historical calendars used"}},
    {{"--traditional"},
     {"every command: the Chinese texts in traditional characters (the",
      "option 繁体中文); the titles of --lunar stay as written"}},
    {{"--city N"}, {"day, month, table sun, dump: the place, 1..43 (default 2, 北京)"}},
    {{"--info 0|1|2"}, {"day: festivals and terms, sunrise and sunset, or dawn and dusk"}},
    {{"--ganzhi-newyear"}, {"the sexagenary year begins at the lunar new year, not at 立春"}},
    {{"--dynasty"}, {"day: lunar years by era names"}},
    {{"--monday"}, {"month: weeks from Monday"}},
    {{"--json"}, {"day, month: one JSON object with the keys of dump"}},
    {{"--dawn"}, {"table sun: dawn and dusk instead of sunrise and sunset"}},
    {{"--month N"}, {"search leap: only leap months of month N"}},
    {{"--close-calls"},
     {"years: new moons and deciding major terms within 10 minutes of",
      "midnight (date, what, signed minutes from midnight)"}},
    {{"--holidays FILE"},
     {"holidays, dump, month, day --json: add announced years from lines",
      "\"YYYY-MM-DD 休 名称\" (or 班); an added year replaces the built-in one"}},
    {{"--terms --festivals", "--holidays"},
     {"ics: the sets to write; with none of them and no --lunar,",
      "terms and festivals. --all-festivals: the full festival list"}},
    {{"--holidays-file FILE"}, {"ics: official holidays, with the years FILE adds (as --holidays FILE)"}},
    {{"--lunar MM-DD TITLE"},
     {"ics, repeatable: a lunar anniversary in every year; MM 13..24 is a",
      "leap month, on the regular month in years without it; a 30th",
      "falls on the 29th of a short month. SOURCE_DATE_EPOCH fixes DTSTAMP"}},
    {{"--count N"}, {"next: how many dates (1..1000, default 5)"}},
    {{"--from DATE"}, {"next: from this day on (default today)"}},
    {{"search days conditions, each a number or a name of its list:",
      "  --gmonth --gday --lmonth (13..24 leap) --lday --hmonth --hday",
      "  --gz-year --gz-month --gz-day (1..60 or e.g. 甲子年) --weekday (1 = 星期一)",
      "  --term (e.g. 立春) --festival ({rule festivals})"},
     {}},
    {{"--help"}, {"show this text"}},
    {{"--version"}, {"show the version"}},
};

constexpr std::string_view kClosing[] = {
    "Output is UTF-8. Bad input ends with exit code 2 and a one-line message; output that",
    "cannot be written (a full disk) ends with exit code 1. On a terminal, month shows today",
    "in reverse video and marks official days off (休) and make-up working days (班);",
    "not when the output is a pipe or a file, or NO_COLOR is set. holidays Y ends with exit",
    "code 1 when the arrangement of Y is not announced.",
};

// The head of an option with "{rule festivals}" as the engine lists them.
std::string Expanded(std::string_view head) {
  std::string text(head);
  constexpr std::string_view kFestivals = "{rule festivals}";
  if (const std::size_t at = text.find(kFestivals); at != std::string::npos) {
    std::string names;
    for (const char* name : RuleFestivalNames()) names += (names.empty() ? "" : ", ") + std::string(name);
    text.replace(at, kFestivals.size(), names);
  }
  return text;
}

// One line of a list: the head indented by two, the description from
// kTextColumn on (on a line of its own when the head reaches that far).
void ListLine(Output& out, std::string_view head, std::string_view description) {
  std::string line = "  " + Expanded(head);
  if (description.empty()) {
    out.Line(line);
    return;
  }
  if (line.size() < kTextColumn) {
    line.resize(kTextColumn, ' ');
  } else {
    out.Line(line);
    line.assign(kTextColumn, ' ');
  }
  out.Line(line + std::string(description));
}

}  // namespace

void PrintHelp(Output& out) {
  for (std::string_view line : kIntro) out.Line(line);
  out.Line("");
  out.Line("commands:");
  for (const Command& c : Commands()) ListLine(out, std::string(c.name) + " " + std::string(c.usage), c.summary);
  out.Line("");
  out.Line("options:");
  for (const OptionHelp& o : kOptions) {
    for (std::size_t i = 0; i < std::max(o.options.size(), o.description.size()); ++i) {
      ListLine(out, i < o.options.size() ? o.options[i] : "", i < o.description.size() ? o.description[i] : "");
    }
  }
  out.Line("");
  for (std::string_view line : kClosing) out.Line(line);
}

}  // namespace tovani::cli
