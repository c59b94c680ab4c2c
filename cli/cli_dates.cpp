// Day numbers and date arithmetic.
#include "cli/cli_common.h"
#include "engine/date_text.h"

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

}  // namespace

std::vector<Command> DateCommands() {
  return {
      {"jd", "DATE", "the day number (Julian Day Number) of a date", 1, 1, {}, RunJd},
      {"date", "N", "the date of day number N and its calendar-date text", 1, 1, {}, RunDate},
      {"interval", "DATE DATE", "days from the first date to the second", 2, 2, {}, RunInterval},
      {"add", "DATE N", "the date N days after DATE (N may be negative)", 2, 2, {}, RunAdd},
  };
}

}  // namespace tovani::cli
