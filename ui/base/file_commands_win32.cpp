#include "ui/base/file_commands_win32.h"

#include <ctime>
#include <string_view>

#include "framework/codepage.h"
#include "framework/win32/files.h"
#include "framework/win32/dialogs.h"
#include "framework/win32/shown.h"
#include "framework/win32/wide.h"
#include "framework/win32/gdi.h"
#include "ui/menu/menu_model.h"

namespace tovani {
namespace {

constexpr const wchar_t* kActionWords[] = {L"", L"export", L"import", L"ics"};

std::string Shown(const std::wstring& path) { return Narrow(path); }

std::string Stamp() { return IcsUtcStamp(static_cast<std::int64_t>(std::time(nullptr))); }

int Written(FileAction action, const std::wstring& path, const std::string& bytes, std::string& message) {
  const bool written = win32::WriteWholeFile(path, bytes);
  message = written ? WrittenMessage(action, path) : NotWrittenMessage(path);
  return written ? kCommandDone : kCommandRefused;
}

}  // namespace

std::string WrittenMessage(FileAction action, const std::wstring& path) {
  return (action == FileAction::kExport ? "记录和设置已写入“" : "已保存的纪念日、提醒日和倒计日已写入日历文件“") +
         Shown(path) + "”。";
}

std::string NotWrittenMessage(const std::wstring& path) { return "无法写入文件“" + Shown(path) + "”。"; }

int CarryOutFileCommand(FileAction action, const std::wstring& path, int years, const AppState& state, bool running,
                        RegistryStore& registry, Platform& platform, std::string& message) {
  switch (action) {
    case FileAction::kExport:
      return Written(action, path, RecordsAndSettingsText(registry, running ? &state : nullptr), message);
    case FileAction::kCalendar:
      return Written(action, path, RecordsCalendarFile(state, registry, platform, years, Stamp()), message);
    case FileAction::kImport: {
      const auto bytes = win32::ReadWholeFile(path, kLargestImportFile);
      if (!bytes) {
        message = "没有导入：无法读取文件“" + Shown(path) + "”。";
        return kCommandRefused;
      }
      const ImportOutcome outcome = ImportRecordsAndSettings(registry, *bytes);
      message = outcome.message;
      return outcome.code;
    }
    case FileAction::kNone: break;
  }
  return kBadArguments;
}

HandedCommand ReadHandedCommand(const COPYDATASTRUCT& data) {
  HandedCommand c;
  if (data.dwData != kFileCommandData || data.lpData == nullptr || data.cbData % sizeof(wchar_t) != 0) return c;
  const std::wstring_view text(static_cast<const wchar_t*>(data.lpData), data.cbData / sizeof(wchar_t));
  const std::size_t first = text.find(L'\n');
  const std::size_t second = first == std::wstring_view::npos ? first : text.find(L'\n', first + 1);
  if (second == std::wstring_view::npos) return c;
  const std::wstring_view word = text.substr(0, first), years = text.substr(second + 1);
  int n = 0;
  for (const wchar_t ch : years) {
    if (ch < L'0' || ch > L'9' || n > kMostCalendarYears) return c;
    n = n * 10 + (ch - L'0');
  }
  if (n < 1 || n > kMostCalendarYears || second == first + 1) return c;
  for (int a = 1; a <= 3; ++a) {
    if (word == kActionWords[a]) c.action = static_cast<FileAction>(a);
  }
  c.path = std::wstring(text.substr(first + 1, second - first - 1));
  c.years = n;
  return c;
}

int HandCommandOver(HWND running, FileAction action, const std::wstring& path, int years) {
  const std::wstring text =
      std::wstring(kActionWords[static_cast<int>(action)]) + L"\n" + path + L"\n" + std::to_wstring(years);
  COPYDATASTRUCT data{kFileCommandData, static_cast<DWORD>(text.size() * sizeof(wchar_t)),
                      const_cast<wchar_t*>(text.data())};
  DWORD_PTR answer = 0;
  if (SendMessageTimeoutW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 60000,
                          &answer) == 0 ||
      answer < static_cast<DWORD_PTR>(kFileCommandAnswered) ||
      answer > static_cast<DWORD_PTR>(kFileCommandAnswered + kBadArguments)) {
    return -1;
  }
  return static_cast<int>(answer - kFileCommandAnswered);
}

bool FileCommandFromMenu(HWND owner, ProgramContext& program, FileAction action) {
  const bool save = action == FileAction::kExport;
  const std::vector<win32::FileFilter> filters = {{"记录和设置 (*.txt)", "*.txt"}, {"所有文件 (*.*)", "*.*"}};
  const std::wstring path =
      win32::ChooseFilePath(owner, save, save ? "导出记录和设置" : "导入记录和设置", filters,
                            save ? L"Tovani 记录和设置.txt" : L"", L"txt");
  if (path.empty()) return false;
  std::string message;
  const int code =
      CarryOutFileCommand(action, path, kDefaultCalendarYears, program.state, true, program.registry, program.platform,
                          message);
  // The path is the user's, as written.
  MessageBoxW(owner, win32::Shown(message, {Shown(path)}).c_str(), win32::Shown(menu::kMessageCaption).c_str(),
              MB_OK | (code == kCommandDone ? MB_ICONINFORMATION : MB_ICONWARNING));
  return action == FileAction::kImport && code == kCommandDone;
}

void CalendarFileFromMenu(HWND owner, ProgramContext& program) {
  const std::vector<win32::FileFilter> filters = {{"日历文件 (*.ics)", "*.ics"}, {"所有文件 (*.*)", "*.*"}};
  const std::wstring path = win32::ChooseFilePath(owner, true, "导出日历文件", filters, L"纪念日.ics", L"ics");
  if (path.empty()) return;
  std::string message;
  const int code = CarryOutFileCommand(FileAction::kCalendar, path, kDefaultCalendarYears, program.state, true,
                                       program.registry, program.platform, message);
  // The path is the user's, as written.
  MessageBoxW(owner, win32::Shown(message, {Shown(path)}).c_str(), win32::Shown(menu::kMessageCaption).c_str(),
              MB_OK | (code == kCommandDone ? MB_ICONINFORMATION : MB_ICONWARNING));
}

void TellCommandResult(const std::string& message, bool failed) {
  const std::string line = "tovani: " + Cp936ToUtf8(message) + "\r\n";
  // Standard error handed down by whoever started the program (a pipe or a
  // file), else the console it was started from, else a message box.
  const HANDLE given = GetStdHandle(STD_ERROR_HANDLE);
  DWORD written = 0;
  if (given != nullptr && given != INVALID_HANDLE_VALUE && GetFileType(given) != FILE_TYPE_UNKNOWN &&
      GetFileType(given) != FILE_TYPE_CHAR) {
    WriteFile(given, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    return;
  }
  if (AttachConsole(ATTACH_PARENT_PROCESS)) {
    const win32::KernelHandle console = win32::OwnFile(CreateFileW(
        L"CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    if (console) {
      const std::wstring wide = L"\r\n" + Wide(message) + L"\r\n";
      WriteConsoleW(console.get(), wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
      FreeConsole();
      return;
    }
    FreeConsole();
  }
  MessageBoxW(nullptr, Wide(message).c_str(), Wide(menu::kMessageCaption).c_str(),
              MB_OK | (failed ? MB_ICONWARNING : MB_ICONINFORMATION));
}

}  // namespace tovani
