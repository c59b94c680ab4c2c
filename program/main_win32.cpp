// The Windows program: one copy at a time; settings, ranges and today; then
// the calendar window until the user quits.
#include <windows.h>
#include <commctrl.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/backup.h"
#include "app/file_commands.h"
#include "app/holidays.h"
#include "app/startup.h"
#include "app/win32/platform_win32.h"
#include "app/win32/registry_win32.h"
#include "framework/win32/clock.h"
#include "framework/win32/gdi.h"
#include "framework/win32/files.h"
#include "framework/win32/wide.h"
#include "ui/base/file_commands_win32.h"
#include "ui/day/day_frame.h"
#include "ui/month/month_frame.h"
#include "ui/calculator/calculator_window_win32.h"
#include "ui/coordinates/coordinates_window_win32.h"
#include "ui/day/day_window_win32.h"
#include "ui/help/help_window_win32.h"
#include "ui/memorial/memorial_window_win32.h"
#include "ui/menu/menu_model.h"
#include "ui/month/month_window_win32.h"
#include "ui/search/search_window_win32.h"
#include "ui/tables/tables_window_win32.h"
#include "ui/weather/weather_window_win32.h"

namespace {

constexpr wchar_t kInstanceMutexName[] = L"Tovani3.0";

namespace menu = tovani::menu;
using Opener = void (*)(tovani::ProgramContext&, HWND owner, int page);

// How each tool window of the command table opens.
Opener OpenerOf(menu::Tool tool) {
  switch (tool) {
    case menu::Tool::kCoordinates: return tovani::coordinates::OpenCoordinatesWindow;
    case menu::Tool::kMemorialEditor: return tovani::memorial::OpenMemorialEditor;
    case menu::Tool::kCalculator: return tovani::calculator::OpenCalculatorWindow;
    case menu::Tool::kTables: return tovani::tables::OpenTablesWindow;
    case menu::Tool::kSearch: return tovani::search::OpenSearchWindow;
    case menu::Tool::kHelp: return tovani::help::OpenHelpWindow;
    case menu::Tool::kWeather: return tovani::weather::OpenWeatherWindow;
    case menu::Tool::kNone: break;
  }
  return nullptr;
}

// The arguments after the program's name, in UTF-8.
std::vector<std::string> Arguments() {
  std::vector<std::string> args;
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (argv == nullptr) return args;
  for (int i = 1; i < count; ++i) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
    std::string arg(bytes > 0 ? bytes - 1 : 0, '\0');
    if (bytes > 1) WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, arg.data(), bytes, nullptr, nullptr);
    args.push_back(std::move(arg));
  }
  LocalFree(argv);
  return args;
}

// A path given in UTF-8, made full against the current folder (a running copy
// that takes the command over has a folder of its own).
std::wstring FullPath(const std::string& utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  std::wstring given(n > 0 ? n - 1 : 0, L'\0');
  if (n > 1) MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, given.data(), n);
  const DWORD size = GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
  if (size == 0) return given;
  std::wstring full(size, L'\0');
  const DWORD length = GetFullPathNameW(given.c_str(), size, full.data(), nullptr);
  full.resize(length < size ? length : 0);
  return full.empty() ? given : full;
}

// The running copy's calendar window, if a copy runs.
HWND RunningWindow() {
  if (!tovani::win32::KernelHandle(OpenMutexW(SYNCHRONIZE, FALSE, kInstanceMutexName))) return nullptr;
  for (const char* cls : {tovani::day::kClassName, tovani::month::kClassName}) {
    if (HWND w = FindWindowW(tovani::Wide(cls).c_str(), nullptr)) return w;
  }
  return nullptr;
}

// A file command of the command line, without the calendar: a running copy
// carries it out with its settings as they are now (and takes in what an
// import brought); without one, it is done here on the stored settings.
int RunFileCommand(const tovani::FileCommand& command) {
  const std::wstring path = FullPath(command.file);
  std::string message;
  int code = -1;
  if (HWND running = RunningWindow()) {
    std::size_t values = 0;
    if (command.action == tovani::FileAction::kImport) {
      // Read here first, so that a refused file is told with its reason.
      const auto bytes = tovani::win32::ReadWholeFile(path, tovani::kLargestImportFile);
      const tovani::BackupContents contents = tovani::ReadBackup(bytes ? *bytes : std::string_view());
      if (!bytes || !contents.refusal.empty()) {
        message = !bytes ? "没有导入：无法读取文件“" + tovani::Narrow(path) + "”。"
                         : "没有导入：" + contents.refusal + "。";
        tovani::TellCommandResult(message, true);
        return tovani::kCommandRefused;
      }
      values = contents.values.size();
    }
    code = tovani::HandCommandOver(running, command.action, path, command.years);
    if (code == tovani::kCommandDone) {
      message = command.action == tovani::FileAction::kImport
                    ? "已导入 " + std::to_string(values) + " 项记录和设置。"
                    : tovani::WrittenMessage(command.action, path);
    } else if (code > 0) {
      message = command.action == tovani::FileAction::kImport ? "没有导入：注册表拒绝写入，原有内容未变。"
                                                               : tovani::NotWrittenMessage(path);
    }
  }
  if (code < 0) {
    tovani::AppState state;
    tovani::Win32Registry registry;
    tovani::Win32Platform platform;
    tovani::SetProgramLocation(state, tovani::ModulePath());
    tovani::StartUp(state, registry, platform);
    code = tovani::CarryOutFileCommand(command.action, path, command.years, state, false, registry, platform, message);
  }
  tovani::TellCommandResult(message, code != tovani::kCommandDone);
  return code;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // The file commands of the command line run without the calendar.
  const tovani::FileCommand command = tovani::ReadFileCommand(Arguments());
  if (command.bad) {
    tovani::TellCommandResult(command.message + "。" + tovani::kFileCommandUsage, true);
    return tovani::kBadArguments;
  }
  if (command.action != tovani::FileAction::kNone) return RunFileCommand(command);

  // A second copy ends at once and silently; the running one is left alone.
  const tovani::win32::KernelHandle mutex(CreateMutexW(nullptr, FALSE, kInstanceMutexName));
  if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS) return 0;

  tovani::win32::StartProgramClock();
  INITCOMMONCONTROLSEX icc{sizeof icc, 0x7FFF};
  if (!InitCommonControlsEx(&icc)) InitCommonControls();

  tovani::AppState state;
  tovani::Win32Registry registry;
  tovani::Win32Platform platform;
  tovani::SetProgramLocation(state, tovani::ModulePath());
  tovani::StartUp(state, registry, platform);

  tovani::ProgramContext program{instance, state, registry, platform, {}, {}, {}, nullptr, false, false, false, {}};
  // Years announced after this release, added by the user; a value that
  // cannot be used is passed over.  Read, as the settings are, only while
  // registry use is on.
  if (state.RegistryUseFlag) program.holidays = tovani::ReadRegistryHolidays(registry).calendar;
  for (const menu::CommandRow& row : menu::CommandTable()) {
    const Opener open = row.kind == menu::Kind::kTool ? OpenerOf(row.tool) : nullptr;
    if (open == nullptr) continue;
    program.tools[row.id] = [&program, open, page = row.value](HWND owner) { open(program, owner, page); };
  }
  // The window loop: the day or the month window by CalendarKind, again
  // while a window closed only to let the other one open.  A window that
  // cannot be created ends the loop.
  for (;;) {
    state.ReopenFlag = false;
    const bool ran = state.CalendarKind == tovani::WindowKind::kMonth ? tovani::month::RunMonthWindow(program)
                                                                      : tovani::day::RunDayWindow(program);
    if (!ran || !state.ReopenFlag) break;
  }

  return 0;
}
