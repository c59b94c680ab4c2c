// What the command-line tool writes: the output streams, messages with the
// user's arguments escaped, and the texts the commands share (dates, columns,
// JSON strings).
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.h"
#include "engine/dates.h"

namespace tovani::cli {

// Where a command writes: program text (code page 936) converted to UTF-8.
// A line that cannot be written (a full disk, a closed pipe) ends the command:
// Run reports it once, with exit code kOutputFailed, and nothing more is
// computed for a dead output.
class Output {
 public:
  Output(std::ostream& out, std::ostream& err, Terminal terminal = {}) : out_(out), err_(err), terminal_(terminal) {}
  void Line(std::string_view gbk) { Utf8Line(Cp936ToUtf8Text(gbk)); }
  // A line already in UTF-8.
  void Utf8Line(std::string_view utf8);
  // Progress and notes for a person watching; not part of the output proper.
  void Note(std::string_view gbk) { err_ << Shown(Cp936ToUtf8Text(gbk)) << std::flush; }
  // From now on every text in traditional characters (--traditional), but for
  // the kept texts (the user's own, UTF-8) where they stand.
  void ShowTraditional(const std::vector<std::string>& kept);
  // A one-line message about bad input; returns the exit code for it.
  int Fail(std::string_view gbk);
  const Terminal& terminal() const { return terminal_; }

 private:
  static std::string Cp936ToUtf8Text(std::string_view gbk);
  std::string Shown(std::string_view utf8) const;
  std::ostream& out_;
  std::ostream& err_;
  Terminal terminal_;
  bool traditional_ = false;
  std::vector<std::string> kept_;  // code page 936
};

// Thrown by Output for a line that could not be written, with the errno of the
// failed write (0 when the stream gives none); Run catches it.
struct OutputFailed {
  int error;
};

// The one-line message (with its newline) for output that could not be written.
std::string OutputFailedMessage(int error);

// A user's argument (UTF-8) quoted inside a message (program text).  Control
// characters, bytes that are no UTF-8 and characters code page 936 cannot hold
// are shown escaped (\n, \x1b, \xff, \u{1f600}), so a message stays one line
// and never drives the terminal.
std::string Quoted(std::string_view s);
std::string IsoText(const CivilDate& d);
// The date and its calendar-date text, separated by a tab.
std::string DateLine(const CivilDate& d);
// "HH:MM:SS" of a date-time text.
std::string ClockPart(const std::string& dateTimeText);
// The columns a UTF-8 text takes in a terminal: two for a Chinese character
// (and the other wide characters of East Asian scripts), one for the others.
std::size_t DisplayColumns(std::string_view utf8);
// The text followed by blanks up to width columns.
std::string PadColumns(std::string utf8, std::size_t width);
// A JSON string literal, in UTF-8, of a program text.
std::string JsonString(std::string_view gbk);

}  // namespace tovani::cli
