// The real program's settings: what start-up reads, closing writes back.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>

#include "app/settings.h"
#include "app/startup.h"
#include "app/win32/registry_win32.h"
#include "framework/win32/wide.h"
#include "program_runner.h"

namespace tovani {
namespace {

using testing_win32::Program;

std::map<std::wstring, std::wstring> ValuesOf(HKEY root, const wchar_t* key) {
  std::map<std::wstring, std::wstring> values;
  HKEY h = nullptr;
  if (RegOpenKeyExW(root, key, 0, KEY_READ, &h) != ERROR_SUCCESS) return values;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256], data[2048];
    DWORD nameSize = 256, dataSize = sizeof data, type = 0;
    if (RegEnumValueW(h, i, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataSize) !=
        ERROR_SUCCESS) {
      break;
    }
    values[name] = type == REG_SZ ? std::wstring(data) : L"<not text>";
  }
  RegCloseKey(h);
  return values;
}

bool KeyExists(HKEY root, const wchar_t* key) {
  HKEY h = nullptr;
  if (RegOpenKeyExW(root, key, 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  RegCloseKey(h);
  return true;
}

constexpr wchar_t kRun[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The auto-run value under the user's Run key.
std::wstring RunValue() {
  const auto values = ValuesOf(HKEY_CURRENT_USER, kRun);
  const auto it = values.find(L"Tovani");
  return it == values.end() ? L"" : it->second;
}

class ProgramSettings : public testing::Test {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  static void Clean() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tovani");
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
      HKEY h = nullptr;
      if (RegOpenKeyExW(root, kRun, 0, KEY_ALL_ACCESS, &h) == ERROR_SUCCESS) {
        RegDeleteValueW(h, L"Tovani");
        RegCloseKey(h);
      }
    }
  }
  // Starts the program, waits for its window and closes it; its position.
  RECT RunOnce() {
    Program p;
    EXPECT_TRUE(p.started());
    HWND hwnd = testing_win32::WaitForWindow(p, L"TOVANI_DFORM");
    RECT r{};
    EXPECT_NE(hwnd, nullptr);
    if (hwnd == nullptr) return r;
    GetWindowRect(hwnd, &r);
    EXPECT_LE(testing_win32::CaughtExceptionsOf(p.id()), 0);
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(p.WaitForExit(20000), 0u);
    return r;
  }
};

TEST_F(ProgramSettings, ClosingWritesBackWhatStartUpRead) {
  Win32Registry registry;
  AppState seeded;
  SetProgramLocation(seeded, Narrow(driver::NextToMe(L"tovani.exe")));
  seeded.RegistryUseFlag = true;
  seeded.AutoRunFlag = true;
  seeded.WholeAutoReportTimeFlag = true;
  seeded.DFORMShowDynastyFlag = true;
  seeded.DFORMShowInfoTypeFlag = DayInfo::kDawnDusk;
  seeded.Alarms = {AlarmSetting{true, 450, 2}, AlarmSetting{false, 1439, 4}, AlarmSetting{true, 61, 1}};
  seeded.MyCity = OwnPlace{"黄山脚下", -118.1667, 30.1333};
  seeded.NowCityCode = 44;
  seeded.FormLeft = 100;
  seeded.FormTop = 120;
  SaveSettings(seeded, registry);
  const auto before = ValuesOf(HKEY_CURRENT_USER, L"Software\\Tovani");
  ASSERT_EQ(before.at(L"MyCityName"), L"黄山脚下");
  ASSERT_EQ(before.at(L"NowCityCode"), L"44");
  ASSERT_EQ(before.at(L"DefiniteAlarmATime"), L"450");
  ASSERT_EQ(before.at(L"FormLeft"), L"100.0");
  ASSERT_FALSE(RunValue().empty());

  const RECT r = RunOnce();
  EXPECT_EQ(r.left, 100);  // the window opened where it was
  EXPECT_EQ(r.top, 120);
  EXPECT_EQ(ValuesOf(HKEY_CURRENT_USER, L"Software\\Tovani"), before);
  EXPECT_EQ(RunValue(), driver::NextToMe(L"tovani.exe"));
}

TEST_F(ProgramSettings, AFirstStartLeavesNoKeyBehind) {
  const RECT r = RunOnce();
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 260) / 2);  // nothing stored: centred
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Tovani"));
  EXPECT_EQ(RunValue(), L"");
}

// A key of another version, or with a damaged marker, is not read and is left
// as it is, records included.
TEST_F(ProgramSettings, AForeignKeyIsLeftAsItIs) {
  Win32Registry registry;
  for (const bool textVersion : {true, false}) {
    Clean();
    WriteRegistryText(registry, RegistryRoot::kCurrentUser, kSettingsKey, "FormLeft", "100.0");
    WriteRegistryText(registry, RegistryRoot::kCurrentUser, "Software\\Tovani\\SolarMemorial", "05-01",
                      "AD2000            母亲生日");
    HKEY h = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Tovani", 0, KEY_ALL_ACCESS, &h), ERROR_SUCCESS);
    const DWORD number = 41;
    const std::wstring old = L"3.6";
    if (textVersion) {
      RegSetValueExW(h, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(old.c_str()),
                     static_cast<DWORD>((old.size() + 1) * sizeof(wchar_t)));
    } else {
      RegSetValueExW(h, L"Version", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    }
    RegCloseKey(h);
    const auto before = ValuesOf(HKEY_CURRENT_USER, L"Software\\Tovani");
    const RECT r = RunOnce();
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 260) / 2) << textVersion;  // not read: centred
    EXPECT_EQ(ValuesOf(HKEY_CURRENT_USER, L"Software\\Tovani"), before) << textVersion;
    EXPECT_EQ(ValuesOf(HKEY_CURRENT_USER, L"Software\\Tovani\\SolarMemorial").size(), 1u) << textVersion;
  }
}

// Records and settings go to a file and come back, with no copy running and
// through a running copy, which exports its settings as they are now and
// keeps what an import brought when it closes.
TEST_F(ProgramSettings, RecordsAndSettingsTravelByFile) {
  constexpr const wchar_t* kKeys[] = {L"Software\\Tovani", L"Software\\Tovani\\SolarMemorial",
                                      L"Software\\Tovani\\LunarMemorial", L"Software\\Tovani\\MuharramMemorial",
                                      L"Software\\Tovani\\SolarReminded", L"Software\\Tovani\\Holidays"};
  const auto all = [&] {
    std::map<std::wstring, std::map<std::wstring, std::wstring>> values;
    for (const wchar_t* key : kKeys) values[key] = ValuesOf(HKEY_CURRENT_USER, key);
    return values;
  };
  const auto run = [](const std::wstring& arguments) {
    Program p(arguments);
    return p.started() ? p.WaitForExit(30000) : 99;
  };
  Win32Registry registry;
  const auto set = [&](const char* key, const char* name, const char* text) {
    WriteRegistryText(registry, RegistryRoot::kCurrentUser, key, name, text);
  };
  set("Software\\Tovani", "Version", "4.1");
  set("Software\\Tovani", "DFORMShowDynastyFlag", "1");
  set("Software\\Tovani", "MyCountdownDay", "AD12-31-2027除夕 100%");
  set("Software\\Tovani\\SolarMemorial", "05-01", "AD2008            劳动节");
  set("Software\\Tovani\\LunarMemorial", "08-15", "AD1980              中秋");
  set("Software\\Tovani\\MuharramMemorial", "09-01", "AD1440              斋月");
  set("Software\\Tovani\\SolarReminded", "A", "AD03-15-2027交房租");
  set("Software\\Tovani\\Holidays", "2027", "2027-01-01 休 元旦");
  const auto before = all();
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  const std::wstring file = std::wstring(folder) + L"tovani 备份.txt", bad = std::wstring(folder) + L"tovani-bad.txt";
  const std::wstring calendar = std::wstring(folder) + L"tovani.ics";

  ASSERT_EQ(run(L"/export \"" + file + L"\""), 0u);
  Clean();
  ASSERT_EQ(run(L"/import \"" + file + L"\""), 0u);
  EXPECT_EQ(all(), before);

  HANDLE h = CreateFileW(bad.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(h, "[Settings]\r\nx=1\r\n", 18, &written, nullptr);
  CloseHandle(h);
  EXPECT_EQ(run(L"/import \"" + bad + L"\""), 1u);
  EXPECT_EQ(run(L"/import"), 2u);
  EXPECT_EQ(run(L"/ics \"" + calendar + L"\" 0"), 2u);
  EXPECT_EQ(all(), before);

  ASSERT_EQ(run(L"/ics \"" + calendar + L"\" 3"), 0u);
  HANDLE c = CreateFileW(calendar.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  char ics[8192] = {};
  DWORD read = 0;
  ReadFile(c, ics, sizeof ics - 1, &read, nullptr);
  CloseHandle(c);
  const std::string text(ics, read);
  EXPECT_EQ(text.rfind("BEGIN:VCALENDAR\r\n", 0), 0u);
  EXPECT_NE(text.find("SUMMARY:\xE4\xB8\xAD\xE7\xA7\x8B\r\n"), std::string::npos);  // 中秋 in UTF-8

  // A running copy: an option changed since it started goes into its export,
  // and an import reaches its settings, so that closing keeps what came in.
  Program running;
  HWND window = testing_win32::WaitForWindow(running, L"TOVANI_DFORM");
  ASSERT_NE(window, nullptr);
  SendMessageW(window, WM_COMMAND, 3095, 0);  // 日历界面显示年号纪年: off now
  const std::wstring now = std::wstring(folder) + L"tovani-now.txt";
  ASSERT_EQ(run(L"/export \"" + now + L"\""), 0u);
  HANDLE n = CreateFileW(now.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  char exported[8192] = {};
  ReadFile(n, exported, sizeof exported - 1, &read, nullptr);
  CloseHandle(n);
  EXPECT_EQ(std::string(exported, read).find("DFORMShowDynastyFlag"), std::string::npos);
  EXPECT_NE(std::string(exported, read).find("MyCountdownDay"), std::string::npos);
  ASSERT_EQ(run(L"/import \"" + file + L"\""), 0u);  // the option on again
  EXPECT_LE(testing_win32::CaughtExceptionsOf(running.id()), 0);
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(running.WaitForExit(20000), 0u);
  const auto after = all();
  const auto& kept = after.at(L"Software\\Tovani");
  EXPECT_TRUE(kept.count(L"DFORMShowDynastyFlag") != 0 && kept.at(L"DFORMShowDynastyFlag") == L"1");
  for (const wchar_t* key : kKeys) {
    if (std::wstring(key) != L"Software\\Tovani") {
      EXPECT_EQ(after.at(key), before.at(key)) << key;
    }
  }
  DeleteFileW(now.c_str());
  DeleteFileW(file.c_str());
  DeleteFileW(bad.c_str());
  DeleteFileW(calendar.c_str());
}

}  // namespace
}  // namespace tovani
