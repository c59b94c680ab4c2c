// What the commands of the command-line tool share.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.h"
#include "cli/cli_output.h"
#include "cli/cli_parse.h"
#include "engine/cities.h"
#include "engine/dates.h"
#include "engine/holidays.h"
#include "engine/lunar_calendar.h"
#include "engine/rules.h"
#include "engine/sexagenary.h"

namespace tovani::cli {

// A row of the command table.  The help lists each command by its row: the
// name and usage, then the summary.
struct Command {
  std::string_view name;
  std::string_view usage;    // arguments, for the help text and the message about their count
  std::string_view summary;  // one line, for the help text
  std::size_t minArgs, maxArgs;
  std::vector<std::string_view> options;  // accepted options; "name=" takes a value, "name==" two
  std::function<int(const Invocation&, Output&)> run;
};

// The engine's own texts of a day as JSON fields, each preceded by a comma
// (the keys of dump after its date and event keys).
std::string DayFields(const CivilDate& d, const std::optional<LunarDate>& lunar, const CurrentPlace& place,
                      const HolidayCalendar& holidays, CalendarRules rules);
// The holidays with the years added by --holidays FILE (lines "YYYY-MM-DD 休
// 名称", UTF-8); each bad line gives a warning naming it, an unreadable file
// is bad input (its exit code goes to code).
std::optional<HolidayCalendar> HolidaysOption(const Invocation& inv, Output& out, int& code);

std::vector<Command> DateCommands();
std::vector<Command> LunarCommands();
std::vector<Command> WindowCommands();
std::vector<Command> HolidayCommands();
std::vector<Command> CalendarFileCommands();

// Every command of the tool, in the order of the help.
const std::vector<Command>& Commands();
// The help text: the commands of the table and the options they take.
void PrintHelp(Output& out);

}  // namespace tovani::cli
