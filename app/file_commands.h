// The program's file commands, from the command line or the menus: records
// and settings written to a file and read back, and the records as a
// calendar file.  Reading and writing the files themselves is the caller's.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/app_state.h"
#include "app/platform.h"
#include "app/record_calendar.h"
#include "app/registry.h"

namespace tovani {

enum class FileAction { kNone, kExport, kImport, kCalendar };

// The switches of the program's command line.
struct FileCommand {
  FileAction action = FileAction::kNone;  // none: the calendar runs
  std::string file;                       // as given (UTF-8)
  int years = kDefaultCalendarYears;
  bool bad = false;     // the arguments are not a command: the usage is told
  std::string message;  // why, one line
};

// The exit codes of a file command.
inline constexpr int kCommandDone = 0;
inline constexpr int kCommandRefused = 1;  // a file refused or not written
inline constexpr int kBadArguments = 2;

inline constexpr const char* kFileCommandUsage = "用法：tovani.exe /export 文件 | /import 文件 | /ics 文件 [年数 1-100]";

// The arguments after the program's name, in UTF-8.  "/export FILE",
// "/import FILE" and "/ics FILE [YEARS]" (also with "-", in any letter case)
// are commands; without any of them the calendar runs as always, whatever
// else is given.
FileCommand ReadFileCommand(const std::vector<std::string>& args);

// The file text of the records and settings.  With the running program's
// state, its settings as they are now (also while registry use is off), with
// the records of the registry; without, the registry as it is.
std::string RecordsAndSettingsText(RegistryStore& registry, const AppState* running);

// Imports a file's text: a refused file changes nothing.  The message tells
// what became of it, in one line.
struct ImportOutcome {
  int code = kCommandRefused;
  std::string message;  // code page 936
};
ImportOutcome ImportRecordsAndSettings(RegistryStore& registry, std::string_view fileText);

// The calendar file of the records from this year on, with the settings as
// stored (or the running program's).
std::string RecordsCalendarFile(const AppState& state, RegistryStore& registry, Platform& platform, int years,
                                const std::string& stamp);

}  // namespace tovani
