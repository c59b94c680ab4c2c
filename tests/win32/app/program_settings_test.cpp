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
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(p.WaitForExit(20000), 0u);
    return r;
  }
};

TEST_F(ProgramSettings, ClosingWritesBackWhatStartUpRead) {
  Win32Registry registry;
  AppState seeded;
  SetProgramLocation(seeded, Narrow(testing_win32::ProgramPath()));
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
  EXPECT_EQ(RunValue(), testing_win32::ProgramPath());
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

}  // namespace
}  // namespace tovani
