#include "cli/cli.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "cli/cli_common.h"

namespace tovani::cli {

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

namespace {

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
