// The file commands on Windows: the files themselves, the file dialogs of
// the menus, and a command handed from a second copy of the program to the
// running one.
#pragma once

#include <windows.h>

#include <string>

#include "app/file_commands.h"
#include "ui/base/program_context.h"

namespace tovani {

// A second copy hands its command to the running one in WM_COPYDATA with
// this dwData; the text is UTF-16 "export", "import" or "ics", a line break,
// the full path, a line break and the years.  The running copy answers
// kFileCommandAnswered + the exit code.
inline constexpr ULONG_PTR kFileCommandData = 0x54564631;
inline constexpr LRESULT kFileCommandAnswered = 0x100;

// The largest file an import reads.
inline constexpr std::size_t kLargestImportFile = 4 << 20;

// Carries out a command on a file (a full path) in this process.  running:
// the state is the running program's (its settings as they are now go into
// an export); otherwise the state is only read for a calendar file.  The
// message tells the user what became of it (program text, one line).
int CarryOutFileCommand(FileAction action, const std::wstring& path, int years, const AppState& state, bool running,
                        RegistryStore& registry, Platform& platform, std::string& message);

// What a command that wrote its file says (export and calendar file), and
// what one says that could not.
std::string WrittenMessage(FileAction action, const std::wstring& path);
std::string NotWrittenMessage(const std::wstring& path);

// The command of a WM_COPYDATA text; nothing when it is not one.
struct HandedCommand {
  FileAction action = FileAction::kNone;
  std::wstring path;
  int years = kDefaultCalendarYears;
};
HandedCommand ReadHandedCommand(const COPYDATASTRUCT& data);

// Hands a command to the running copy, whose main window is given; the exit
// code, or -1 when it did not take it.
int HandCommandOver(HWND running, FileAction action, const std::wstring& path, int years);

// The menu commands of the main windows: a file dialog, the command, and a
// message box of what became of it.  True when an import changed the
// stored settings (the caller reads them again).
bool FileCommandFromMenu(HWND owner, ProgramContext& program, FileAction action);

// The memorial editor's button: the records as a calendar file of the
// default years, through a save dialog.
void CalendarFileFromMenu(HWND owner, ProgramContext& program);

// A message where the user started a command: the console the program was
// started from, or else a message box.
void TellCommandResult(const std::string& message, bool failed);

}  // namespace tovani
