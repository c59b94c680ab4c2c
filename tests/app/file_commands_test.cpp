#include "app/file_commands.h"

#include <gtest/gtest.h>

#include "app/backup.h"
#include "app/settings.h"
#include "app/startup.h"
#include "engine/date_text.h"
#include "fake_platform.h"
#include "framework/codepage.h"

namespace tovani {
namespace {

constexpr RegistryRoot kUser = RegistryRoot::kCurrentUser;
const std::string kKey = kSettingsKey;

// A store as a user of some years leaves it: records of the three calendars,
// reminders, the countdown, settings, added holidays, and texts that need the
// file's escapes.
MemoryRegistry UsedStore() {
  MemoryRegistry r;
  r.Set(kUser, kKey, "Version", "4.1");
  r.Set(kUser, kKey, "MFORMMondayFirstFlag", "1");
  r.Set(kUser, kKey, "MyCountdownDay", "AD12-31-2027除夕倒计");
  r.Set(kUser, kKey, "", "the key's unnamed value");
  r.Set(kUser, kKey + "\\SolarMemorial", "05-01", "AD2008  劳动节 100% 开心");
  r.Set(kUser, kKey + "\\SolarMemorial", "02-29", "AD2000闰日生日");
  r.Set(kUser, kKey + "\\LunarMemorial", "08-15", "AD1980中秋\t团圆");
  r.Set(kUser, kKey + "\\LunarMemorial", "18-30", "AD2017闰六月三十");
  r.Set(kUser, kKey + "\\MuharramMemorial", "12-30", "AD1439回历年末");
  r.Set(kUser, kKey + "\\SolarReminded", "A", "AD03-15-2027交房租");
  r.Set(kUser, kKey + "\\SolarReminded", "B", "AD03-15-2027体检\r\n两行");
  r.Set(kUser, kKey + "\\Holidays", "2027", "2027-01-01 休 元旦");
  r.Set(kUser, "Software\\Other", "x", "not ours");
  return r;
}

std::map<std::string, std::string> Ours(const MemoryRegistry& r) {
  std::map<std::string, std::string> ours;
  for (const auto& [path, text] : r.Values()) {
    if (path.rfind("HKCU\\SOFTWARE\\TOVANI", 0) == 0) ours[path] = text;
  }
  return ours;
}

TEST(RecordsAndSettingsFile, ExportClearImportGivesBackEveryValue) {
  MemoryRegistry used = UsedStore();
  const std::string file = RecordsAndSettingsText(used, nullptr);
  EXPECT_EQ(file.substr(0, file.find("\r\n")), "# Tovani 4.1 records and settings");
  EXPECT_TRUE(IsUtf8(file));

  MemoryRegistry cleared;
  cleared.Set(kUser, kKey + "\\SolarMemorial", "10-01", "AD1949不在文件里的");
  const ImportOutcome outcome = ImportRecordsAndSettings(cleared, file);
  EXPECT_EQ(outcome.code, kCommandDone) << Cp936ToUtf8(outcome.message);
  auto expected = Ours(used);
  expected["HKCU\\SOFTWARE\\TOVANI\\SOLARMEMORIAL\\10-01"] = "AD1949不在文件里的";  // added to, not replaced
  EXPECT_EQ(Ours(cleared), expected);
  EXPECT_EQ(cleared.Values().count("HKCU\\SOFTWARE\\OTHER\\x"), 0u);
  // A second round gives the same file.
  MemoryRegistry again = UsedStore();
  EXPECT_EQ(RecordsAndSettingsText(again, nullptr), file);
}

TEST(RecordsAndSettingsFile, ARefusedFileWritesNothing) {
  const std::string head = "# Tovani 4.1 records and settings\r\n";
  const struct {
    std::string file, reason;
  } kCases[] = {
      {"", "不是本程序导出的"},
      {"key\tname\tdata\r\n", "不是本程序导出的"},
      {"# Tovani 5.0 records and settings\r\n", "另一版本"},
      {head + "Software\\Tovani\tFlag\r\n", "第 2 行不是"},
      {head + "Software\\Tovani\ta\tb\tc\r\n", "第 2 行不是"},
      {head + "Software\\Tovani\tFlag\t50%\r\n", "转义"},
      {head + "Software\\Tovani\tFlag\t%4\r\n", "转义"},
      {head + "Software\\Tovani\tFlag\tbell\x07\r\n", "转义"},
      {head + "Software\\Tovani\tFlag\t\xFF\xFE\r\n", "不能保存的字符"},
      {head + "Software\\Tovani\tFlag\t\xF0\x9F\x98\x80\r\n", "不能保存的字符"},  // no such character in the code page
      {head + "Software\\Other\tFlag\t1\r\n", "不属于本程序"},
      {head + "Software\\TovaniX\tFlag\t1\r\n", "不属于本程序"},
      {head + "Software\\Tovani\\\\Deep\tFlag\t1\r\n", "不属于本程序"},
      {head + "Software\\Tovani\tFlag\t" + std::string(kRegistryValueBytes + 1, 'x') + "\r\n", "太长"},
      {head + "Software\\Tovani\tVersion\t4.0\r\n", "版本"},
      {head + "Software\\Tovani\tFlag\t1\r\nnot a line\r\n", "第 3 行"},
  };
  for (const auto& c : kCases) {
    MemoryRegistry r = UsedStore();
    const auto before = r.Values();
    const ImportOutcome outcome = ImportRecordsAndSettings(r, c.file);
    EXPECT_EQ(outcome.code, kCommandRefused) << c.file;
    EXPECT_NE(outcome.message.find(c.reason), std::string::npos) << Cp936ToUtf8(outcome.message);
    EXPECT_EQ(r.Values(), before) << c.file;
  }
}

TEST(RecordsAndSettingsFile, AWriteRefusedHalfwayPutsEveryValueBack) {
  MemoryRegistry used = UsedStore();
  const std::string file = RecordsAndSettingsText(used, nullptr);
  RefusingRegistry r;
  r.Set(kUser, kKey + "\\LunarMemorial", "08-15", "AD1999旧的");
  const auto before = r.Values();
  r.writes = 0;
  r.refuse = 5;
  EXPECT_EQ(ImportRecordsAndSettings(r, file).code, kCommandRefused);
  EXPECT_EQ(r.Values(), before);
}

TEST(RecordsAndSettingsFile, TheRunningProgramsSettingsAreExportedAsTheyAreNow) {
  MemoryRegistry r = UsedStore();
  const auto before = r.Values();
  AppState running;
  FakePlatform platform;
  LoadSettings(running, r, platform);
  running.MFORMMondayFirstFlag = false;  // changed since the start
  running.NearLocateMemorialFlag = true;
  running.RegistryUseFlag = false;  // and not to be kept: the file holds it all the same
  MemoryRegistry imported;
  ASSERT_EQ(ImportRecordsAndSettings(imported, RecordsAndSettingsText(r, &running)).code, kCommandDone);
  EXPECT_EQ(r.Values(), before);
  AppState read;
  LoadSettings(read, imported, platform);
  EXPECT_TRUE(read.RegistryUseFlag);
  EXPECT_FALSE(read.MFORMMondayFirstFlag);
  EXPECT_TRUE(read.NearLocateMemorialFlag);
  EXPECT_EQ(imported.Get(kUser, kKey + "\\LunarMemorial", "08-15"), "AD1980中秋\t团圆");
}

TEST(FileCommandLine, SwitchesFilesAndYears) {
  using A = FileAction;
  const struct {
    std::vector<std::string> args;
    A action;
    bool bad;
    std::string file;
    int years;
  } kCases[] = {
      {{}, A::kNone, false, "", 10},
      {{"whatever"}, A::kNone, false, "", 10},
      {{"/export", "C:\\备份.txt"}, A::kExport, false, "C:\\备份.txt", 10},
      {{"-IMPORT", "b.txt"}, A::kImport, false, "b.txt", 10},
      {{"/ics", "a.ics"}, A::kCalendar, false, "a.ics", 10},
      {{"/Ics", "a.ics", "100"}, A::kCalendar, false, "a.ics", 100},
      {{"/export"}, A::kNone, true, "", 10},
      {{"/export", ""}, A::kNone, true, "", 10},
      {{"/export", "a", "b"}, A::kNone, true, "", 10},
      {{"/import", "a", "10"}, A::kNone, true, "", 10},
      {{"/ics", "a", "0"}, A::kNone, true, "", 10},
      {{"/ics", "a", "101"}, A::kNone, true, "", 10},
      {{"/ics", "a", "1x"}, A::kNone, true, "", 10},
      {{"/ics", "a", "5", "6"}, A::kNone, true, "", 10},
      {{"x", "/export", "a"}, A::kNone, true, "", 10},
  };
  for (const auto& c : kCases) {
    const FileCommand got = ReadFileCommand(c.args);
    const std::string shown = c.args.empty() ? "(none)" : c.args[0];
    EXPECT_EQ(got.action, c.action) << shown;
    EXPECT_EQ(got.bad, c.bad) << shown;
    EXPECT_EQ(got.bad, !got.message.empty()) << shown;
    EXPECT_EQ(got.file, c.file) << shown;
    EXPECT_EQ(got.years, c.years) << shown;
  }
}

TEST(RecordsCalendar, MemorialsFallOnTheirDaysYearByYear) {
  MemoryRegistry r = UsedStore();
  AppState state;
  FakePlatform platform;  // today 2026-12-07
  StartUp(state, r, platform);
  const std::vector<AllDayEvent> events = RecordEvents(MakeRecordContext(state, r, platform), 2026, 3);
  std::map<std::string, std::vector<std::string>> days;  // summary -> ISO dates
  for (const AllDayEvent& e : events) days[e.summary].push_back(IcsDate(e.day));
  const std::map<std::string, std::vector<std::string>> expected = {
      // Published dates of the Mid-Autumn Festival.
      {"中秋\t团圆", {"20260925", "20270915", "20281003"}},
      {"劳动节 100% 开心", {"20260501", "20270501", "20280501"}},
      // 29 February: on the 28th in the common years.
      {"闰日生日", {"20260228", "20270228", "20280229"}},
      // 闰六月 day 30 (of 2017): no leap sixth month in 2026-2028, so the
      // sixth month's last day: 六月大 2026, 六月小 2027 and 2028.
      {"闰六月三十", {"20260812", "20270801", "20280819"}},
      // Hijri 12-30 of 1447 (a leap year), 12-29 of the common 1448 and 1449.
      {"回历年末", {"20260616", "20270605", "20280524"}},
      {"交房租", {"20270315"}},
      {"体检\r\n两行", {"20270315"}},
      {"除夕倒计", {"20271231"}},
  };
  std::map<std::string, std::vector<std::string>> expectedUtf8;
  for (const auto& [name, dates] : expected) expectedUtf8[Cp936ToUtf8(name)] = dates;
  EXPECT_EQ(days, expectedUtf8);
  for (std::size_t i = 1; i < events.size(); ++i) EXPECT_LE(events[i - 1].day, events[i].day);
}

}  // namespace
}  // namespace tovani
