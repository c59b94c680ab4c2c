#include "app/settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "app/startup.h"
#include "fake_platform.h"

namespace tovani {
namespace {

constexpr RegistryRoot kUser = RegistryRoot::kCurrentUser;
constexpr RegistryRoot kMachine = RegistryRoot::kLocalMachine;

class Settings : public testing::Test {
 protected:
  void SetUp() override {
    SetProgramLocation(state, "C:\\Program Files\\Tovani\\tovani.exe");
    Store("Version", "4.1");
  }
  void Store(const char* name, const std::string& text) { registry.Set(kUser, kSettingsKey, name, text); }
  std::string Stored(const char* name) { return ReadRegistryText(registry, kUser, kSettingsKey, name); }
  void Load() { LoadSettings(state, registry, platform); }

  MemoryRegistry registry;
  FakePlatform platform;
  AppState state;
};

TEST_F(Settings, AnAbsentOrForeignVersionReadsNothing) {
  for (const char* version : {"", "3.6", "4.10", " 4.1"}) {
    MemoryRegistry r;
    r.Set(kUser, kSettingsKey, "Version", version);
    r.Set(kUser, kSettingsKey, "WholeAutoReportTimeFlag", "1");
    r.Set(kUser, kSettingsKey, "NowCityCode", "5");
    r.Set(kUser, kSettingsKey, "FormLeft", "100.0");
    AppState s;
    s.FORMTransFlag = 7;
    LoadSettings(s, r, platform);
    EXPECT_EQ(s.RegistryUseFlag, 0) << version;
    EXPECT_EQ(s.WholeAutoReportTimeFlag, 0);
    EXPECT_EQ(s.NowCityCode, 1);
    EXPECT_EQ(s.FormLeft, -1);
    EXPECT_EQ(s.FORMTransFlag, 0);
    EXPECT_EQ(s.Current.name, "天安门");
  }
}

TEST_F(Settings, FlagsAreOnOnlyForExactlyOne) {
  struct Case {
    const char* text;
    int flag, info;
  };
  const Case cases[] = {{"1", 1, 1}, {"2", 0, 2}, {"3", 0, 0}, {"01", 0, 0}, {" 1", 0, 0}, {"", 0, 0}, {"yes", 0, 0}};
  for (const auto& c : cases) {
    Store("GanZhiFromChunjieFlag", c.text);
    Store("DFORMShowInfoTypeFlag", c.text);
    Load();
    EXPECT_EQ(state.RegistryUseFlag, 1);
    EXPECT_EQ(state.GanZhiFromChunjieFlag, c.flag) << c.text;
    EXPECT_EQ(state.DFORMShowInfoTypeFlag, c.info) << c.text;
  }
}

TEST_F(Settings, AlarmTimesAndSounds) {
  struct Case {
    const char* time;
    int minute;
    const char* sound;
    int soundNo;
  };
  const Case cases[] = {
      {"450", 450, "1", 1},  {"0450", 0, "4", 4}, {"450.0", 0, "5", 0},  {" 450", 0, "0", 0}, {"1439", 1439, "2", 2},
      {"1440", 0, "3", 3},   {"0", 0, "", 0},     {"90", 90, "44", 0},   {"-5", 0, "x", 0},   {"1", 1, " 1", 0},
      {"99999999999999999999", 0, "1", 1},
  };
  for (const auto& c : cases) {
    Store("DefiniteAlarmBTime", c.time);
    Store("DefiniteAlarmBSoundNo", c.sound);
    Store("OpenAlarmClockBFlag", "1");
    Load();
    EXPECT_EQ(state.Alarms[1].time, c.minute) << c.time;
    EXPECT_EQ(state.Alarms[1].soundNo, c.soundNo) << c.sound;
    EXPECT_EQ(state.Alarms[1].on, 1);
    EXPECT_EQ(state.Alarms[0], AlarmSetting{});
  }
}

TEST_F(Settings, TheOwnPlaceAndTheCurrentCity) {
  struct Case {
    const char* name;
    const char* longitude;
    const char* latitude;
    const char* code;
    std::string ownName;
    int nowCode;
    const char* current;
  };
  const Case cases[] = {
      {"老家", "-116.4", "39.9", "44", "老家", 44, "老家"},
      {"老家", "-116.40", "39.9", "44", "", 1, "天安门"},  // not the value's own text
      {"老家", "-116.4", "95", "44", "", 1, "天安门"},     // latitude beyond 90
      {"老家", "-180.5", "10", "44", "", 1, "天安门"},
      {"", "-116.4", "39.9", "44", "", 1, "天安门"},      // no name, no own place
      {"老家", "-116.4", "39.9", "21", "老家", 21, "乌鲁木齐"},
      {"老家", "-116.4", "39.9", "45", "老家", 1, "天安门"},
      {"老家", "-116.4", "39.9", "0", "老家", 1, "天安门"},
      {"老家", "-116.4", "39.9", "7.5", "老家", 1, "天安门"},
      {"老家", "-116.4", "39.9", "x", "老家", 1, "天安门"},
      {"老家", "-116.4", "39.9", "043", "老家", 1, "天安门"},
      // 13 bytes ending in a two-byte character: cut to 11.
      {"abc黑龙江省城", "-116.4", "39.9", "44", "abc黑龙江省", 44, "abc黑龙江省"},
  };
  for (const auto& c : cases) {
    Store("MyCityName", c.name);
    Store("MyCityLongitude", c.longitude);
    Store("MyCityLatitude", c.latitude);
    Store("NowCityCode", c.code);
    Load();
    EXPECT_EQ(state.MyCity.name, c.ownName) << c.name << " " << c.longitude << " " << c.code;
    EXPECT_EQ(state.NowCityCode, c.nowCode) << c.code;
    EXPECT_EQ(state.Current.name, c.current) << c.code;
  }
  Store("MyCityName", "老家");
  Store("MyCityLongitude", "-116.4");
  Store("MyCityLatitude", "39.9");
  Store("NowCityCode", "44");
  Load();
  EXPECT_DOUBLE_EQ(state.Current.longitude, -116.4);
  EXPECT_DOUBLE_EQ(state.Current.latitude, 39.9);
  EXPECT_EQ(state.Current.weatherProvince, 1);
}

TEST_F(Settings, WindowEdgesAndThePicture) {
  struct Case {
    const char* text;
    int edge;
  };
  const Case cases[] = {{"0.0", 0},     {"120.0", 120}, {"120", 120}, {"", -1},    {"-5", -1},     {"-5.0", -1},
                        {"1024.0", 1024}, {"1025.0", -1}, {"12x", -1},  {"0.9", 0}, {"nan", -1},    {"1e3", 1000}};
  for (const auto& c : cases) {
    Store("FormLeft", c.text);
    Load();
    EXPECT_EQ(state.FormLeft, c.edge) << c.text;
  }
  Store("FormTop", "769.0");
  Load();
  EXPECT_EQ(state.FormTop, -1);

  platform.files = {"C:\\pics\\a.bmp", "C:\\pics\\b.jpg", "C:\\pics\\broken.BMP"};
  platform.bitmaps = {"C:\\pics\\a.bmp"};
  struct Picture {
    const char* path;
    bool kept;
  };
  const Picture pictures[] = {{"C:\\pics\\a.bmp", true},  {"C:\\pics\\b.jpg", false}, {"C:\\pics\\missing.bmp", false},
                              {"pics\\a.bmp", false},     {"C:\\pics\\", false},       {"C:\\pics\\broken.BMP", false}};
  for (const auto& p : pictures) {
    Store("DFORMBackBitmapName", p.path);
    Load();
    EXPECT_EQ(state.DFORMBackBitmapName, p.kept ? p.path : "") << p.path;
  }
}

TEST_F(Settings, AutoRunIsOnWhenTheRunValueIsThisProgram) {
  registry.Set(kMachine, kRunKey, kRunValue, "c:\\program files\\TOVANI\\Tovani.EXE");
  Load();
  EXPECT_EQ(state.AutoRunFlag, 1);
  registry.Set(kMachine, kRunKey, kRunValue, "C:\\Other\\tovani.exe");
  Load();
  EXPECT_EQ(state.AutoRunFlag, 0);
  // Upper-casing leaves two-byte characters alone, even where their second
  // byte is a lower-case ASCII letter.
  EXPECT_EQ(UpperCaseAscii("a\x81\x61" "b"), "A\x81\x61" "B");
}

TEST_F(Settings, SaveThenLoadGivesTheSameSettings) {
  AppState s = state;
  s.RegistryUseFlag = 1;
  s.AutoRunFlag = 1;
  s.WholeAutoReportTimeFlag = 1;
  s.GanZhiFromChunjieFlag = 1;
  s.NearLocateMemorialFlag = 1;
  s.DFORMShowInfoTypeFlag = 2;
  s.ShowCalendarTypeFlag = 1;
  s.Alarms = {AlarmSetting{1, 450, 3}, AlarmSetting{0, 1439, 1}, AlarmSetting{1, 1, 0}};
  s.MyCity = OwnPlace{"黄山脚下", -118.1667, 30.1333};
  s.NowCityCode = 44;
  s.FormLeft = 0;
  s.FormTop = 700;
  s.FORMTransFlag = 10;
  s.WeatherHost = "127.0.0.1:8080";
  MemoryRegistry r;
  SaveSettings(s, r);
  EXPECT_EQ(ReadRegistryText(r, kUser, kSettingsKey, "FormLeft"), "0.0");
  EXPECT_EQ(ReadRegistryText(r, kUser, kSettingsKey, "DFORMShowInfoTypeFlag"), "2");
  EXPECT_EQ(r.Get(kUser, kSettingsKey, "CloseFORMAudioPlayFlag"), std::nullopt);  // 0 is not stored
  EXPECT_EQ(ReadRegistryText(r, kMachine, kRunKey, kRunValue), "C:\\Program Files\\Tovani\\tovani.exe");
  AppState loaded;
  SetProgramLocation(loaded, "C:\\Program Files\\Tovani\\tovani.exe");
  LoadSettings(loaded, r, platform);
  EXPECT_EQ(loaded.RegistryUseFlag, 1);
  EXPECT_EQ(loaded.AutoRunFlag, 1);
  EXPECT_EQ(loaded.WholeAutoReportTimeFlag, 1);
  EXPECT_EQ(loaded.GanZhiFromChunjieFlag, 1);
  EXPECT_EQ(loaded.NearLocateMemorialFlag, 1);
  EXPECT_EQ(loaded.DFORMShowInfoTypeFlag, 2);
  EXPECT_EQ(loaded.ShowCalendarTypeFlag, 1);
  EXPECT_EQ(loaded.Alarms, s.Alarms);
  EXPECT_EQ(loaded.MyCity.name, "黄山脚下");
  EXPECT_EQ(loaded.MyCity.longitude, -118.1667);
  EXPECT_EQ(loaded.NowCityCode, 44);
  EXPECT_EQ(loaded.Current.name, "黄山脚下");
  EXPECT_EQ(loaded.FormLeft, 0);
  EXPECT_EQ(loaded.FormTop, 700);
  EXPECT_EQ(loaded.FORMTransFlag, 0);  // stored, but every run starts opaque
  EXPECT_EQ(loaded.WeatherHost, "127.0.0.1:8080");
  // Saving what was loaded writes the very same values.
  MemoryRegistry again;
  loaded.FORMTransFlag = 10;
  SaveSettings(loaded, again);
  EXPECT_EQ(again.Values(), r.Values());
}

// A coordinate of exactly 0 cannot be stored as "0" (that removes the value);
// it is stored as "-0", which reads back as 0.
TEST_F(Settings, APlaceOnTheEquatorOrTheMeridianSurvives) {
  AppState s = state;
  s.RegistryUseFlag = 1;
  s.MyCity = OwnPlace{"格林尼治", 0, 0};
  s.NowCityCode = 44;
  MemoryRegistry r;
  SaveSettings(s, r);
  EXPECT_EQ(ReadRegistryText(r, kUser, kSettingsKey, "MyCityLongitude"), "-0");
  AppState loaded;
  LoadSettings(loaded, r, platform);
  EXPECT_EQ(loaded.MyCity.name, "格林尼治");
  EXPECT_EQ(loaded.MyCity.longitude, 0);
  EXPECT_EQ(loaded.MyCity.latitude, 0);
  EXPECT_EQ(loaded.NowCityCode, 44);
}

// Every coordinate text the save writes loads back to the same value and text.
TEST_F(Settings, CoordinateTextsReadBackUnchanged) {
  std::mt19937_64 random(4);
  std::uniform_real_distribution<double> longitude(-180, 180), latitude(-90, 90);
  std::vector<double> values = {0, -0.0, 180, -180, 90, -90, 116.4, -116.3833, 0.1, 1e-5, -1e-9, 123.456789012345,
                                39.9, 1.0 / 3, 5e-324, 179.99999999999997};
  for (int i = 0; i < 20000; ++i) values.push_back(i % 2 ? longitude(random) : latitude(random));
  for (int i = 0; i < 2000; ++i) values.push_back(std::round(longitude(random) * 10000) / 10000);  // 4 decimals
  for (double v : values) {
    const std::string text = CoordinateText(v);
    ASSERT_FALSE(text.empty());
    ASSERT_NE(text, "0");
    const auto back = CanonicalNumber(text);
    ASSERT_TRUE(back.has_value()) << text;
    ASSERT_EQ(*back, v) << text;
    ASSERT_EQ(CoordinateText(*back), text);
  }
  for (const char* bad : {"116.40", "+116.4", " 116.4", "116.4 ", "1e2x", "", "0x10", "nan", "inf", "-"}) {
    EXPECT_FALSE(CanonicalNumber(bad).has_value()) << bad;
  }
}

TEST_F(Settings, WithoutRegistryUseTheEndRemovesEverything) {
  MemoryRegistry r;
  r.Set(kUser, "Software\\Tovani\\SolarMemorial", "05-01", "AD2000  x");
  r.Set(kUser, "Software\\Tovani\\SolarReminded", "A", "AD05-01-2008  x");
  r.Set(kUser, kSettingsKey, "FormLeft", "5.0");
  r.Set(kMachine, kRunKey, kRunValue, "C:\\tovani.exe");
  r.Set(kMachine, kRunKey, "Other", "C:\\other.exe");
  AppState s;
  LoadSettings(s, r, platform);  // no Version: registry use off
  SaveSettings(s, r);
  EXPECT_FALSE(r.HasKey(kUser, kSettingsKey));
  EXPECT_EQ(r.Get(kMachine, kRunKey, kRunValue), std::nullopt);
  EXPECT_EQ(ReadRegistryText(r, kMachine, kRunKey, "Other"), "C:\\other.exe");
}

TEST_F(Settings, TheRegistryOption) {
  AppState s;
  MemoryRegistry r;
  ToggleRegistryUse(s, r);
  EXPECT_EQ(s.RegistryUseFlag, 1);
  EXPECT_EQ(ReadRegistryText(r, kUser, kSettingsKey, "Version"), "4.1");
  r.Set(kUser, "Software\\Tovani\\LunarMemorial", "01-01", "AD2000   x");
  r.Set(kUser, "Software\\Tovani\\SolarReminded", "A", "AD05-01-2008   x");
  ToggleRegistryUse(s, r);
  EXPECT_EQ(s.RegistryUseFlag, 0);
  EXPECT_EQ(ReadRegistryText(r, kUser, kSettingsKey, "Version"), "");
  EXPECT_FALSE(r.HasKey(kUser, "Software\\Tovani\\LunarMemorial"));
  EXPECT_TRUE(r.HasKey(kUser, "Software\\Tovani\\SolarReminded"));  // left for the end
  ToggleAutoRun(s);
  EXPECT_EQ(s.AutoRunFlag, 1);
  ToggleAutoRun(s);
  EXPECT_EQ(s.AutoRunFlag, 0);
}

// Whatever the registry holds, loading never fails and every setting ends
// within its allowed values.
TEST_F(Settings, RandomStoredTextsLoadIntoAllowedValues) {
  const char* names[] = {"FormLeft", "FormTop", "WholeAutoReportTimeFlag", "DFORMShowInfoTypeFlag", "DefiniteAlarmATime",
                         "DefiniteAlarmCSoundNo", "MyCityName", "MyCityLongitude", "MyCityLatitude", "NowCityCode",
                         "DFORMBackBitmapName", "ShowCalendarTypeFlag"};
  const std::string alphabet = std::string("0123456789-.+e x:\\") + "\xB0\xA1\x81\x40\xFF";
  std::mt19937 random(20261207);
  for (int round = 0; round < 3000; ++round) {
    for (const char* name : names) {
      std::string text;
      const int length = static_cast<int>(random() % 24);
      for (int i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
      Store(name, text);
    }
    Load();
    ASSERT_GE(state.FormLeft, -1);
    ASSERT_LE(state.FormLeft, platform.width);
    ASSERT_GE(state.FormTop, -1);
    ASSERT_LE(state.FormTop, platform.height);
    ASSERT_TRUE(state.DFORMShowInfoTypeFlag >= 0 && state.DFORMShowInfoTypeFlag <= 2);
    ASSERT_TRUE(state.Alarms[0].time >= 0 && state.Alarms[0].time <= 1439);
    ASSERT_TRUE(state.Alarms[2].soundNo >= 0 && state.Alarms[2].soundNo <= 4);
    ASSERT_LE(state.MyCity.name.size(), 12u);
    ASSERT_TRUE((state.NowCityCode >= 1 && state.NowCityCode <= 43) ||
                (state.NowCityCode == 44 && !state.MyCity.name.empty()));
    ASSERT_TRUE(state.MyCity.longitude >= -180 && state.MyCity.longitude <= 180);
    ASSERT_EQ(state.DFORMBackBitmapName, "");
  }
}

}  // namespace
}  // namespace tovani
