#include "cli/cli.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ostream>

#include "cli/cli_common.h"

namespace tovani::cli {

namespace {

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = [] {
    std::vector<Command> all = DateCommands();
    for (auto& c : LunarCommands()) all.push_back(std::move(c));
    for (auto& c : WindowCommands()) all.push_back(std::move(c));
    for (auto& c : HolidayCommands()) all.push_back(std::move(c));
    for (auto& c : CalendarFileCommands()) all.push_back(std::move(c));
    return all;
  }();
  return commands;
}

void PrintHelp(Output& out) {
  out.Line("usage: tovani COMMAND ARGUMENTS... [OPTIONS]");
  out.Line("       tovani [OPTIONS]          today's day view (the day command for today)");
  out.Line("");
  out.Line("Dates are Y-MM-DD with astronomical years: 0 is 1 BC, -103-01-01 is 104 BC;");
  out.Line("\"today\" is today's date on this computer.");
  out.Line("They are Julian up to 1582-10-04 and Gregorian from 1582-10-15.");
  out.Line("A calendar-date text is AD or BC, then MM-DD-YYYY (BC years counted 1 - year);");
  out.Line("for lunar dates MM is the month code, 13..24 for the leap month after months 1..12.");
  out.Line("All times are UTC+8.");
  out.Line("");
  out.Line("commands:");
  for (const Command& c : Commands()) {
    std::string head = "  " + std::string(c.name) + " " + std::string(c.usage);
    if (head.size() < 30) {
      head.resize(30, ' ');
    } else {
      out.Line(head);
      head.assign(30, ' ');
    }
    out.Line(head + std::string(c.summary));
  }
  out.Line("");
  out.Line("options:");
  out.Line("  --modern                    compute ancient years by modern astronomy instead of");
  out.Line("                              the rules the historical calendars used");
  out.Line("  --traditional               every command: the Chinese texts in traditional characters (the");
  out.Line("                              option 繁体中文); the titles of --lunar stay as written");
  out.Line("  --city N                    day, month, table sun, dump: the place, 1..43 (default 2, 北京)");
  out.Line("  --info 0|1|2                day: festivals and terms, sunrise and sunset, or dawn and dusk");
  out.Line("  --ganzhi-newyear            the sexagenary year begins at the lunar new year, not at 立春");
  out.Line("  --dynasty                   day: lunar years by era names");
  out.Line("  --monday                    month: weeks from Monday");
  out.Line("  --json                      day, month: one JSON object with the keys of dump");
  out.Line("  --dawn                      table sun: dawn and dusk instead of sunrise and sunset");
  out.Line("  --month N                   search leap: only leap months of month N");
  out.Line("  --close-calls               years: new moons and deciding major terms within 10 minutes of");
  out.Line("                              midnight (date, what, signed minutes from midnight)");
  out.Line("  --holidays FILE             holidays, dump, month, day --json: add announced years from lines");
  out.Line("                              \"YYYY-MM-DD 休 名称\" (or 班); an added year replaces the built-in one");
  out.Line("  --terms --festivals         ics: the sets to write; with none of them and no --lunar,");
  out.Line("  --holidays                  terms and festivals. --all-festivals: the full festival list");
  out.Line("  --holidays-file FILE        ics: official holidays, with the years FILE adds (as --holidays FILE)");
  out.Line("  --lunar MM-DD TITLE         ics, repeatable: a lunar anniversary in every year; MM 13..24 is a");
  out.Line("                              leap month, on the regular month in years without it; a 30th");
  out.Line("                              falls on the 29th of a short month. SOURCE_DATE_EPOCH fixes DTSTAMP");
  out.Line("  --count N                   next: how many dates (1..1000, default 5)");
  out.Line("  --from DATE                 next: from this day on (default today)");
  out.Line("  search days conditions, each a number or a name of its list:");
  out.Line("    --gmonth --gday --lmonth (13..24 leap) --lday --hmonth --hday");
  out.Line("    --gz-year --gz-month --gz-day (1..60 or e.g. 甲子年) --weekday (1 = 星期一)");
  out.Line("    --term (e.g. 立春) --festival (复活节, 母亲节, 父亲节, 感恩节)");
  out.Line("  --help                      show this text");
  out.Line("  --version                   show the version");
  out.Line("");
  out.Line("Output is UTF-8. Bad input ends with exit code 2 and a one-line message; output that");
  out.Line("cannot be written (a full disk) ends with exit code 1. On a terminal, month shows today");
  out.Line("in reverse video and marks official days off (休) and make-up working days (班);");
  out.Line("not when the output is a pipe or a file, or NO_COLOR is set. holidays Y ends with exit");
  out.Line("code 1 when the arrangement of Y is not announced.");
}

int RunCommandLine(const std::vector<std::string>& commandLine, Output& out) {
  // Without a command (nothing, or options only), today's day view.
  std::vector<std::string> args = commandLine;
  if (args.empty() || args[0].rfind("--", 0) == 0) args.insert(args.begin(), "day");
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h" || a == "help") {
      PrintHelp(out);
      return kOk;
    }
    if (a == "--version") {
      out.Line("tovani 4.1");
      return kOk;
    }
  }
  const std::string& name = args[0];
  const auto it = std::find_if(Commands().begin(), Commands().end(), [&](const Command& c) { return c.name == name; });
  if (it == Commands().end()) return out.Fail("unknown command " + Quoted(name) + " (see tovani --help)");
  const Command& command = *it;

  std::string message;
  const auto inv = ParseInvocation(command, args, message);
  if (!inv) return out.Fail(message);
  if (inv->Has("traditional")) {
    std::vector<std::string> titles;  // the user's own names
    const auto [first, last] = inv->occurrences.equal_range("lunar");
    for (auto o = first; o != last; ++o) {
      if (o->second.size() > 1) titles.push_back(o->second[1]);
    }
    out.ShowTraditional(titles);
  }
  return command.run(*inv, out);
}

}  // namespace

Terminal ProcessTerminal() {
  const char* noColor = std::getenv("NO_COLOR");
  const char* term = std::getenv("TERM");
  const bool dumb = term != nullptr && std::string_view(term) == "dumb";
  // NO_COLOR counts when it is set to anything but the empty text.
  const bool plain = (noColor != nullptr && *noColor != '\0') || dumb;
  return {isatty(STDOUT_FILENO) != 0 && !plain, isatty(STDERR_FILENO) != 0 && !dumb};
}

int Run(const std::vector<std::string>& args, std::ostream& outStream, std::ostream& errStream, Terminal terminal) {
  Output out(outStream, errStream, terminal);
  try {
    return RunCommandLine(args, out);
  } catch (const OutputFailed& failed) {
    errStream << OutputFailedMessage(failed.error) << std::flush;
    return kOutputFailed;
  }
}

int FinishOutput(std::ostream& out, std::ostream& err, int code) {
  errno = 0;
  out.flush();
  if (out || code != kOk) return code;
  err << OutputFailedMessage(errno) << std::flush;
  return kOutputFailed;
}

}  // namespace tovani::cli
