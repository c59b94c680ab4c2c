// The command-line tool: what the engine computes, printed as UTF-8.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tovani::cli {

// Exit codes.
inline constexpr int kOk = 0;
inline constexpr int kOutputFailed = 1;  // the output could not be written (a full disk, a closed pipe)
inline constexpr int kBadInput = 2;

// Where the output goes.  A terminal that takes styles gets today's cell in
// reverse video and the holiday marks; a pipe, a file or NO_COLOR gets plain
// text.  Progress shows only when the error stream is a terminal.
struct Terminal {
  bool styledOutput = false;
  bool progress = false;
};

// The terminal of this process: standard output and standard error as they are,
// and the NO_COLOR and TERM=dumb wishes.
Terminal ProcessTerminal();

// Runs one command line (without the program name); writes results to out and
// one-line error messages to err; returns the exit code.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, Terminal terminal = {});

// Flushes what Run left in out's buffer; a write that fails there is reported
// as in Run (exit code kOutputFailed) unless Run had failed already.
int FinishOutput(std::ostream& out, std::ostream& err, int code);

}  // namespace tovani::cli
