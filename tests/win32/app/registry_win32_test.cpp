// The registry primitives and the settings on the real registry (a Wine
// prefix of the tests' own).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/settings.h"
#include "app/startup.h"
#include "app/win32/platform_win32.h"
#include "app/win32/registry_win32.h"

namespace tovani {
namespace {

constexpr RegistryRoot kUser = RegistryRoot::kCurrentUser;
const std::string kScratch = "Software\\TovaniTestScratch";

class RealRegistry : public testing::Test {
 protected:
  void TearDown() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\TovaniTestScratch");
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tovani");
  }
  Win32Registry registry;
};

TEST_F(RealRegistry, PrimitivesKeepChineseTextAsUnicode) {
  WriteRegistryText(registry, kUser, kScratch, "名字", "黄山脚下 ○ 25℃～30℃");
  EXPECT_EQ(ReadRegistryText(registry, kUser, kScratch, "名字"), "黄山脚下 ○ 25℃～30℃");
  // Stored as Unicode: another program reading it with the W functions sees the characters.
  wchar_t data[64] = {};
  DWORD size = sizeof data, type = 0;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\TovaniTestScratch", L"名字", RRF_RT_REG_SZ, &type, data, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(std::wstring(data), L"黄山脚下 ○ 25℃～30℃");
  // "0" and "" remove; the unnamed value works like any other.
  WriteRegistryText(registry, kUser, kScratch, "Flag", "1");
  WriteRegistryText(registry, kUser, kScratch, "Flag", "0");
  EXPECT_EQ(registry.Get(kUser, kScratch, "Flag"), std::nullopt);
  WriteRegistryText(registry, kUser, kScratch, "", "default");
  EXPECT_EQ(ReadRegistryText(registry, kUser, kScratch, ""), "default");
  // A value that is not text, or too long, reads as nothing.
  HKEY h = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\TovaniTestScratch", 0, KEY_ALL_ACCESS, &h), ERROR_SUCCESS);
  const DWORD number = 5;
  RegSetValueExW(h, L"Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
  const std::wstring longText(kRegistryValueBytes + 1, L'x');
  RegSetValueExW(h, L"Long", 0, REG_SZ, reinterpret_cast<const BYTE*>(longText.c_str()),
                 static_cast<DWORD>((longText.size() + 1) * sizeof(wchar_t)));
  const std::wstring chinese(kRegistryValueBytes / 2 + 1, L'黄');  // 1026 bytes in code page 936
  RegSetValueExW(h, L"LongChinese", 0, REG_SZ, reinterpret_cast<const BYTE*>(chinese.c_str()),
                 static_cast<DWORD>((chinese.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(h);
  EXPECT_EQ(ReadRegistryText(registry, kUser, kScratch, "Number"), "");
  EXPECT_EQ(ReadRegistryText(registry, kUser, kScratch, "Long"), "");
  EXPECT_EQ(ReadRegistryText(registry, kUser, kScratch, "LongChinese"), "");
  // A key with sub-keys is not deleted; a leaf is.
  WriteRegistryText(registry, kUser, kScratch + "\\Inner", "A", "x");
  DeleteRegistryKey(registry, kUser, kScratch);
  EXPECT_EQ(ReadRegistryText(registry, kUser, kScratch, "名字"), "黄山脚下 ○ 25℃～30℃");
  DeleteRegistryKey(registry, kUser, kScratch + "\\Inner");
  EXPECT_EQ(ReadRegistryText(registry, kUser, kScratch + "\\Inner", "A"), "");
  EXPECT_TRUE(registry.KeyExists(kUser, kScratch));
  EXPECT_FALSE(registry.KeyExists(kUser, "Software\\NoSuchKeyAnywhere"));
  // Failures are silent.
  DeleteRegistryValue(registry, kUser, "Software\\NoSuchKeyAnywhere", "x");
  DeleteRegistryKey(registry, kUser, "Software\\NoSuchKeyAnywhere");
}

// A write says whether it was stored: under a volatile key no lasting key
// can be created, so a value there is refused.  The names of a key's values
// come back as they are spelled.
TEST_F(RealRegistry, WritesReportSuccessAndValueNamesList) {
  HKEY h = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\TovaniTestScratch\\Volatile", 0, nullptr,
                            REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &h, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(h);
  EXPECT_TRUE(registry.Set(kUser, kScratch + "\\Volatile", "In", "x"));
  EXPECT_FALSE(registry.Set(kUser, kScratch + "\\Volatile\\Lasting", "A", "x"));
  EXPECT_FALSE(WriteRegistryText(registry, kUser, kScratch + "\\Volatile\\Lasting", "A", "x"));
  EXPECT_TRUE(WriteRegistryText(registry, kUser, kScratch + "\\Volatile\\Lasting", "A", ""));  // a removal
  EXPECT_EQ(ReadRegistryText(registry, kUser, kScratch + "\\Volatile\\Lasting", "A"), "");
  EXPECT_TRUE(WriteRegistryText(registry, kUser, kScratch, "名字", "黄山"));
  EXPECT_TRUE(registry.Set(kUser, kScratch, "b", "2"));
  std::vector<std::string> names = registry.ValueNames(kUser, kScratch);
  std::sort(names.begin(), names.end());  // the registry's order is its own
  EXPECT_EQ(names, (std::vector<std::string>{"b", "名字"}));
  EXPECT_TRUE(registry.ValueNames(kUser, "Software\\NoSuchKeyAnywhere").empty());
}

TEST_F(RealRegistry, SettingsSaveAndLoadBack) {
  AppState saved;
  SetProgramLocation(saved, "C:\\Tools\\tovani.exe");
  saved.RegistryUseFlag = true;
  saved.DFORMShowInfoTypeFlag = DayInfo::kSunriseSunset;
  saved.Alarms = {AlarmSetting{true, 450, 2}, AlarmSetting{false, 1439, 4}, AlarmSetting{true, 1, 1}};
  saved.MyCity = OwnPlace{"黄山脚下", -118.1667, 0};
  saved.NowCityCode = 44;
  saved.FormLeft = 12;
  saved.FormTop = 34;
  SaveSettings(saved, registry);
  Win32Platform platform;
  AppState loaded;
  SetProgramLocation(loaded, "C:\\Tools\\tovani.exe");
  LoadSettings(loaded, registry, platform);
  EXPECT_TRUE(loaded.RegistryUseFlag);
  EXPECT_EQ(loaded.DFORMShowInfoTypeFlag, DayInfo::kSunriseSunset);
  EXPECT_EQ(loaded.Alarms, saved.Alarms);
  EXPECT_EQ(loaded.MyCity.name, "黄山脚下");
  EXPECT_EQ(loaded.MyCity.longitude, -118.1667);
  EXPECT_EQ(loaded.MyCity.latitude, 0);
  EXPECT_EQ(loaded.NowCityCode, 44);
  EXPECT_EQ(loaded.FormLeft, 12);
  EXPECT_EQ(loaded.FormTop, 34);
  // Registry use off: the end removes the key.
  loaded.RegistryUseFlag = false;
  SaveSettings(loaded, registry);
  HKEY h = nullptr;
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Tovani", 0, KEY_READ, &h), ERROR_SUCCESS);
}

}  // namespace
}  // namespace tovani
