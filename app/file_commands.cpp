#include "app/file_commands.h"

#include "app/backup.h"
#include "app/settings.h"
#include "framework/codepage.h"

namespace tovani {
namespace {

constexpr RegistryRoot kUser = RegistryRoot::kCurrentUser;

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// "/name" or "-name" in any letter case.
bool IsSwitch(const std::string& arg, const char* name) {
  return arg.size() > 1 && (arg[0] == '/' || arg[0] == '-') && Lower(arg.substr(1)) == name;
}

FileCommand Bad(std::string message) {
  FileCommand c;
  c.bad = true;
  c.message = std::move(message);
  return c;
}

void CopyKey(RegistryStore& from, MemoryRegistry& to, const std::string& key) {
  for (const std::string& name : from.ValueNames(kUser, key)) {
    if (from.Get(kUser, key, name)) to.Set(kUser, key, name, ReadRegistryText(from, kUser, key, name));
  }
  for (const std::string& sub : from.SubKeyNames(kUser, key)) CopyKey(from, to, key + "\\" + sub);
}

}  // namespace

FileCommand ReadFileCommand(const std::vector<std::string>& args) {
  struct Known {
    const char* name;
    FileAction action;
  };
  constexpr Known kKnown[] = {
      {"export", FileAction::kExport}, {"import", FileAction::kImport}, {"ics", FileAction::kCalendar}};
  std::size_t at = args.size();
  FileAction action = FileAction::kNone;
  for (std::size_t i = 0; i < args.size() && action == FileAction::kNone; ++i) {
    for (const Known& k : kKnown) {
      if (IsSwitch(args[i], k.name)) {
        action = k.action;
        at = i;
      }
    }
  }
  if (action == FileAction::kNone) return {};
  if (at != 0) return Bad("“" + Utf8ToCp936(args[at]) + "”之前不能有别的参数");
  const std::size_t most = action == FileAction::kCalendar ? 3 : 2;
  if (args.size() < 2 || args[1].empty()) return Bad("缺少文件名");
  if (args.size() > most) return Bad("多余的参数“" + Utf8ToCp936(args[most]) + "”");
  FileCommand c;
  c.action = action;
  c.file = args[1];
  if (args.size() == 3) {
    const std::string& y = args[2];
    const bool digits = !y.empty() && y.size() <= 3 && y.find_first_not_of("0123456789") == std::string::npos;
    const int years = digits ? std::stoi(y) : 0;
    if (years < 1 || years > kMostCalendarYears) return Bad("年数“" + Utf8ToCp936(y) + "”不在 1 到 100 之间");
    c.years = years;
  }
  return c;
}

std::string RecordsAndSettingsText(RegistryStore& registry, const AppState* running) {
  if (running == nullptr) return BackupText(registry);
  MemoryRegistry now;
  CopyKey(registry, now, kSettingsKey);
  AppState kept = *running;
  kept.RegistryUseFlag = true;
  kept.ForeignSettingsKey = false;
  SaveSettings(kept, now);
  return BackupText(now);
}

ImportOutcome ImportRecordsAndSettings(RegistryStore& registry, std::string_view fileText) {
  const BackupContents contents = ReadBackup(fileText);
  if (!contents.refusal.empty()) return {kCommandRefused, "没有导入：" + contents.refusal + "。"};
  if (!RestoreBackup(registry, contents.values)) return {kCommandRefused, "没有导入：注册表拒绝写入，原有内容未变。"};
  return {kCommandDone, "已导入 " + std::to_string(contents.values.size()) + " 项记录和设置。"};
}

std::string RecordsCalendarFile(const AppState& state, RegistryStore& registry, Platform& platform, int years,
                                const std::string& stamp) {
  return RecordCalendarText(MakeRecordContext(state, registry, platform), platform.Today().year, years, stamp);
}

}  // namespace tovani
