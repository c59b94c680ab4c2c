// Day numbers, date arithmetic and era years.
#include "cli/cli_common.h"
#include "engine/date_text.h"
#include "engine/era_names.h"
#include "framework/codepage.h"

namespace tovani::cli {
namespace {

int RunJd(const Invocation& inv, Output& out) {
  std::string message;
  const auto date = ParseDate(inv.args[0], message);
  if (!date) return out.Fail(message);
  out.Line(std::to_string(DateToDayNumber(*date)));
  return kOk;
}

int RunDate(const Invocation& inv, Output& out) {
  std::string message;
  const auto n = ParseBounded(inv.args[0], FirstValidDayNumber, LastValidDayNumber, "day number", message);
  if (!n) return out.Fail(message);
  out.Line(DateLine(*DayNumberToDate(static_cast<DayNumber>(*n))));
  return kOk;
}

int RunInterval(const Invocation& inv, Output& out) {
  std::string message;
  const auto first = ParseDate(inv.args[0], message);
  if (!first) return out.Fail(message);
  const auto second = ParseDate(inv.args[1], message);
  if (!second) return out.Fail(message);
  out.Line(std::to_string(*DaysBetween(*first, *second)));
  return kOk;
}

int RunAdd(const Invocation& inv, Output& out) {
  std::string message;
  const auto date = ParseDate(inv.args[0], message);
  if (!date) return out.Fail(message);
  const auto n = ParseInteger(inv.args[1]);
  if (!n) return out.Fail("bad number of days " + Quoted(inv.args[1]) + ": expected an integer");
  const auto result = AddDays(*date, *n);
  if (!result) {
    return out.Fail(Quoted(inv.args[0]) + " plus " + Quoted(inv.args[1]) +
                    " days is outside -9998-01-01..9999-12-31");
  }
  out.Line(DateLine(*result));
  return kOk;
}

// Every era of a name ("建武", or with its dynasty "东汉建武"): its first and
// last year, and the year of its N-th year.  The last year is the last one the
// calendar names by the era: a year in which the era changed belongs to the
// new one, so an era that ended in mid-year ran on into the year after it.
// Where the calendar names a year otherwise (that year of change, or a year
// of another dynasty's line of succession), the line says so.
int RunEra(const Invocation& inv, Output& out) {
  const std::string name = Utf8ToCp936(inv.args[0]);
  std::optional<std::int64_t> n;
  if (inv.args.size() > 1) {
    std::string message;
    n = ParseBounded(inv.args[1], 1, 9999, "era year", message);
    if (!n) return out.Fail(message);
  }
  // Each era name is two characters (four bytes) after the two of its dynasty.
  constexpr std::size_t kDynastyBytes = 4;
  const std::int32_t lastEraYear = EraTable().back().last;
  std::vector<std::string> lines;
  for (const EraRow& row : EraTable()) {
    const std::string full = row.name, era = full.substr(kDynastyBytes);
    if (name != full && name != era) continue;
    std::string line = full + "\t" + std::to_string(row.countBase) + "\t" + std::to_string(row.last);
    if (n) {
      const std::int64_t year = row.countBase + *n - 1;
      line += "\t" + era + std::to_string(*n) + "年 = " + std::to_string(year);
      if ((year == row.last + 1 && year <= lastEraYear) || year < row.first) {
        line += ", the year the calendar counts as " + TrimBlanks(EraYearText(static_cast<std::int32_t>(year)));
      } else if (year > row.last) {
        line += ": past the era's last year " + std::to_string(row.last);
      }
    }
    lines.push_back(line);
  }
  if (lines.empty()) {
    return out.Fail("no era named " + Quoted(inv.args[0]) + " (eras of " + std::to_string(EraTable().front().first) +
                    ".." + std::to_string(lastEraYear) + ", e.g. 贞观 or 唐代贞观)");
  }
  for (const std::string& line : lines) out.Line(line);
  return kOk;
}

}  // namespace

std::vector<Command> DateCommands() {
  return {
      {"jd", "DATE", "the day number (Julian Day Number) of a date", 1, 1, {}, RunJd},
      {"date", "N", "the date of day number N and its calendar-date text", 1, 1, {}, RunDate},
      {"interval", "DATE DATE", "days from the first date to the second", 2, 2, {}, RunInterval},
      {"add", "DATE N", "the date N days after DATE (N may be negative)", 2, 2, {}, RunAdd},
      {"era", "NAME [N]", "every era of the name: its first and last year, and the year of its year N", 1, 2, {},
       RunEra},
  };
}

}  // namespace tovani::cli
