#include "app/settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <optional>
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

// A key without this program's marker (an older version's, or a damaged
// "Version") is not read, and the end leaves it and the auto-run values alone.
TEST_F(Settings, AForeignKeyIsNeitherReadNorRemoved) {
  struct Marker {
    const char* version;  // nullptr: none
    bool nonText;         // a number or binary data
  };
  const Marker markers[] = {{nullptr, false}, {"", false},          {"3.6", false},
                            {"4.10", false},  {" 4.1", false},      {"4.1\x01", false},
                            {"(number)", true}};
  for (const auto& m : markers) {
    MemoryRegistry r;
    if (m.nonText) {
      r.SetNonText(kUser, kSettingsKey, "Version");
    } else if (m.version) {
      r.Set(kUser, kSettingsKey, "Version", m.version);
    }
    r.Set(kUser, kSettingsKey, "WholeAutoReportTimeFlag", "1");
    r.Set(kUser, kSettingsKey, "NowCityCode", "5");
    r.Set(kUser, kSettingsKey, "FormLeft", "100.0");
    r.Set(kUser, "Software\\Tovani\\SolarMemorial", "05-01", "AD2000  母亲生日");
    r.Set(kUser, "Software\\Tovani\\SolarReminded", "A", "AD05-01-2008  x");
    r.Set(kUser, kRunKey, kRunValue, "C:\\Old\\tovani.exe");
    r.Set(kMachine, kRunKey, kRunValue, "C:\\Old\\tovani.exe");
    const auto before = r.Values();
    const std::string label = m.version ? m.version : "(none)";
    AppState s;
    SetProgramLocation(s, "C:\\Old\\tovani.exe");
    s.FORMTransFlag = TransparencyOfLevel(7);
    LoadSettings(s, r, platform);
    EXPECT_FALSE(s.RegistryUseFlag) << label;
    EXPECT_FALSE(s.AutoRunFlag) << label;
    EXPECT_FALSE(s.WholeAutoReportTimeFlag) << label;
    EXPECT_EQ(s.NowCityCode, 1) << label;
    EXPECT_EQ(s.FormLeft, -1) << label;
    EXPECT_EQ(s.FORMTransFlag, Transparency::kOpaque) << label;
    EXPECT_EQ(s.Current.name, "天安门") << label;
    ShutDown(s, r, 10, 20);
    EXPECT_EQ(r.Values(), before) << label;
    EXPECT_TRUE(r.HasKey(kUser, "Software\\Tovani\\SolarMemorial")) << label;
  }
}

TEST_F(Settings, FlagsAreOnOnlyForExactlyOne) {
  struct Case {
    const char* text;
    bool flag;
    DayInfo info;
  };
  constexpr DayInfo kFestivals = DayInfo::kFestivals;
  const Case cases[] = {{"1", true, DayInfo::kSunriseSunset},
                        {"2", false, DayInfo::kDawnDusk},
                        {"3", false, kFestivals},
                        {"01", false, kFestivals},
                        {" 1", false, kFestivals},
                        {"", false, kFestivals},
                        {"yes", false, kFestivals}};
  for (const auto& c : cases) {
    Store("GanZhiFromChunjieFlag", c.text);
    Store("DFORMShowInfoTypeFlag", c.text);
    Load();
    EXPECT_TRUE(state.RegistryUseFlag);
    EXPECT_EQ(state.GanZhiFromChunjieFlag, c.flag) << c.text;
    EXPECT_EQ(state.DFORMShowInfoTypeFlag, c.info) << c.text;
  }
}

// The rules added beside the alarms: no value keeps the meaning of settings
// written before them (every day, quiet from 22:00 to 07:00).
TEST_F(Settings, TheDaysOfTheAlarmsAndTheQuietTime) {
  struct Case {
    const char* days;
    int alarmDays;
    const char* quiet;
    const char* quietLoaded;
  };
  const Case cases[] = {
      {"", kEveryDay, "", "22:00-07:00"},          {"1", kWorkingDays, "23:00-06:30", "23:00-06:30"},
      {"2", kDaysOff, "00:00-00:00", "00:00-00:00"}, {"3", kEveryDay, "22:00-7:00", "22:00-07:00"},
      {"x", kEveryDay, "24:00-07:00", "22:00-07:00"},
  };
  for (const Case& c : cases) {
    Store("DefiniteAlarmCDaysFlag", c.days);
    Store("HourlyQuietTime", c.quiet);
    Load();
    EXPECT_EQ(state.Alarms[2].days, c.alarmDays) << c.days;
    EXPECT_EQ(state.HourlyQuietTime, c.quietLoaded) << c.quiet;
  }
  EXPECT_EQ(QuietTimeText({22 * 60, 7 * 60}), kDefaultQuietTime);
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
    EXPECT_TRUE(state.Alarms[1].on);
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
      {"", "", "", "44", "", 1, "天安门"},                // no name, no own place
      {"", "-116.4", "", "44", "", 1, "天安门"},
      {"", "-116.4", "39.9", "44", "0", 44, "0"},          // coordinates alone: the place named "0"
      {"", "-116.40", "39.9", "44", "", 1, "天安门"},
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

TEST_F(Settings, AutoRunIsOnWhenTheUsersRunValueIsThisProgram) {
  struct Case {
    RegistryRoot root;
    const char* command;
    int autoRun;
  };
  const Case cases[] = {
      {kUser, "c:\\program files\\TOVANI\\Tovani.EXE", 1},
      {kUser, "C:\\Other\\tovani.exe", 0},
      {kMachine, "C:\\Program Files\\Tovani\\tovani.exe", 0},  // not the user's
  };
  for (const auto& c : cases) {
    MemoryRegistry r;
    r.Set(kUser, kSettingsKey, "Version", "4.1");
    r.Set(c.root, kRunKey, kRunValue, c.command);
    LoadSettings(state, r, platform);
    EXPECT_EQ(state.AutoRunFlag, c.autoRun) << c.command;
  }
  // Upper-casing leaves two-byte characters alone, even where their second
  // byte is a lower-case ASCII letter.
  EXPECT_EQ(UpperCaseAscii("a\x81\x61" "b"), "A\x81\x61" "B");
}

// The auto-run value is written to the user's Run key; off, or registry use
// off, removes it there and the machine-wide one an earlier version wrote.
// Other programs' values stay.
TEST_F(Settings, TheAutoRunValueAtTheEnd) {
  struct Case {
    std::int16_t registryUse, autoRun;
    const char* userValue;  // afterwards; nullptr: removed
  };
  const Case cases[] = {
      {1, 1, "C:\\Program Files\\Tovani\\tovani.exe"}, {1, 0, nullptr}, {0, 1, nullptr}, {0, 0, nullptr}};
  for (const auto& c : cases) {
    MemoryRegistry r;
    for (const RegistryRoot root : {kUser, kMachine}) {
      r.Set(root, kRunKey, kRunValue, "C:\\Old\\tovani.exe");
      r.Set(root, kRunKey, "Other", "C:\\other.exe");
    }
    AppState s = state;
    s.RegistryUseFlag = c.registryUse;
    s.AutoRunFlag = c.autoRun;
    SaveSettings(s, r);
    const std::string label = std::to_string(c.registryUse) + std::to_string(c.autoRun);
    EXPECT_EQ(r.Get(kUser, kRunKey, kRunValue), c.userValue ? std::optional<std::string>(c.userValue) : std::nullopt)
        << label;
    if (!c.userValue) {
      EXPECT_EQ(r.Get(kMachine, kRunKey, kRunValue), std::nullopt) << label;
    }
    EXPECT_EQ(ReadRegistryText(r, kUser, kRunKey, "Other"), "C:\\other.exe");
    EXPECT_EQ(ReadRegistryText(r, kMachine, kRunKey, "Other"), "C:\\other.exe");
  }
}

// A state with every stored setting away from its default.
AppState EverySettingSet(const AppState& base, FakePlatform& platform) {
  AppState s = base;
  s.RegistryUseFlag = true;
  s.AutoRunFlag = true;
  s.WholeAutoReportTimeFlag = true;
  s.GanZhiFromChunjieFlag = true;
  s.CloseFORMAudioPlayFlag = true;
  s.ModernCalculateAncientFlag = true;
  s.NearLocateMemorialFlag = true;
  s.DFORMShowDynastyFlag = true;
  s.TraditionalCharsFlag = true;
  s.DFORMShowInfoTypeFlag = DayInfo::kDawnDusk;
  s.CalendarKind = WindowKind::kMonth;
  s.Alarms = {AlarmSetting{true, 450, 3, kWorkingDays}, AlarmSetting{true, 1439, 1, kDaysOff},
              AlarmSetting{true, 1, 4}};
  s.HourlyQuietTime = "00:00-06:30";
  s.HourlyWorkdaysOnlyFlag = true;
  s.MyCity = OwnPlace{"黄山脚下", -118.1667, 30.1333};
  s.NowCityCode = 44;
  s.FormLeft = 0;
  s.FormTop = 700;
  s.FORMTransFlag = Transparency::kAutomatic;
  s.DFORMBackBitmapName = "D:\\图片\\背景.bmp";
  s.WeatherHost = "127.0.0.1:8080";
  platform.files.insert(s.DFORMBackBitmapName);
  platform.bitmaps.insert(s.DFORMBackBitmapName);
  return s;
}

TEST_F(Settings, SaveThenLoadGivesTheSameSettings) {
  const AppState s = EverySettingSet(state, platform);
  MemoryRegistry r;
  SaveSettings(s, r);
  struct Stored {
    RegistryRoot root;
    const char* key;
    const char* name;
    std::optional<std::string> text;
  };
  const Stored stored[] = {
      {kUser, kSettingsKey, "Version", "4.1"},
      {kUser, kSettingsKey, "FormLeft", "0.0"},
      {kUser, kSettingsKey, "FormTop", "700.0"},
      {kUser, kSettingsKey, "ShowCalendarTypeFlag", "1"},
      {kUser, kSettingsKey, "DFORMShowInfoTypeFlag", "2"},
      {kUser, kSettingsKey, "TraditionalCharsFlag", "1"},
      {kUser, kSettingsKey, "FORMTransFlag", "10"},
      {kUser, kSettingsKey, "MyCityLongitude", "-118.1667"},
      {kUser, kRunKey, kRunValue, "C:\\Program Files\\Tovani\\tovani.exe"},
      {kMachine, kRunKey, kRunValue, std::nullopt},
  };
  for (const auto& v : stored) EXPECT_EQ(r.Get(v.root, v.key, v.name), v.text) << v.name;

  AppState loaded;
  SetProgramLocation(loaded, "C:\\Program Files\\Tovani\\tovani.exe");
  LoadSettings(loaded, r, platform);
  EXPECT_TRUE(loaded.RegistryUseFlag);
  EXPECT_TRUE(loaded.AutoRunFlag);
  EXPECT_TRUE(loaded.WholeAutoReportTimeFlag);
  EXPECT_TRUE(loaded.GanZhiFromChunjieFlag);
  EXPECT_TRUE(loaded.CloseFORMAudioPlayFlag);
  EXPECT_TRUE(loaded.ModernCalculateAncientFlag);
  EXPECT_TRUE(loaded.NearLocateMemorialFlag);
  EXPECT_TRUE(loaded.DFORMShowDynastyFlag);
  EXPECT_TRUE(loaded.TraditionalCharsFlag);
  EXPECT_EQ(loaded.DFORMShowInfoTypeFlag, DayInfo::kDawnDusk);
  EXPECT_EQ(loaded.CalendarKind, WindowKind::kMonth);  // the month window again
  EXPECT_EQ(loaded.Alarms, s.Alarms);
  EXPECT_EQ(loaded.HourlyQuietTime, "00:00-06:30");
  EXPECT_TRUE(loaded.HourlyWorkdaysOnlyFlag);
  EXPECT_EQ(loaded.MyCity.name, "黄山脚下");
  EXPECT_EQ(loaded.MyCity.longitude, -118.1667);
  EXPECT_EQ(loaded.MyCity.latitude, 30.1333);
  EXPECT_EQ(loaded.NowCityCode, 44);
  EXPECT_EQ(loaded.Current.name, "黄山脚下");
  EXPECT_EQ(loaded.FormLeft, 0);
  EXPECT_EQ(loaded.FormTop, 700);
  EXPECT_EQ(loaded.FORMTransFlag, Transparency::kOpaque);  // stored, but every run starts opaque
  EXPECT_EQ(loaded.DFORMBackBitmapName, s.DFORMBackBitmapName);
  EXPECT_EQ(loaded.WeatherHost, "127.0.0.1:8080");
  // Saving what was loaded writes the very same values.
  MemoryRegistry again;
  loaded.FORMTransFlag = Transparency::kAutomatic;
  SaveSettings(loaded, again);
  EXPECT_EQ(again.Values(), r.Values());
}

// A write the registry refuses makes the save say so, whichever it was, and
// the other writes are still made.  With registry use off nothing is written,
// and the removal counts as done.
TEST_F(Settings, ARefusedWriteIsReported) {
  const AppState s = EverySettingSet(state, platform);
  MemoryRegistry all;
  ASSERT_TRUE(SaveSettings(s, all));
  const std::size_t stored = all.Values().size();
  for (int refuse = 1;; ++refuse) {
    RefusingRegistry r;
    r.refuse = refuse;
    const bool saved = SaveSettings(s, r);
    if (refuse > r.writes) {
      EXPECT_TRUE(saved);
      EXPECT_GT(refuse, 20);
      break;
    }
    EXPECT_FALSE(saved) << "write " << refuse;
    EXPECT_EQ(r.Values().size(), stored - 1) << "write " << refuse;
  }
  AppState off = s;
  off.RegistryUseFlag = false;
  RefusingRegistry r;
  r.refuse = 1;
  r.refuseOnward = true;
  EXPECT_TRUE(SaveSettings(off, r));
}

// What registry use would keep: the user's choices, not where the window is.
TEST_F(Settings, WhichChangesRegistryUseWouldKeep) {
  struct Case {
    const char* what;
    std::function<void(AppState&)> change;
    bool kept;
  };
  const Case cases[] = {
      {"nothing", [](AppState&) {}, false},
      {"an option", [](AppState& s) { s.NearLocateMemorialFlag = true; }, true},
      {"the hourly announcement", [](AppState& s) { s.WholeAutoReportTimeFlag = true; }, true},
      {"the second line", [](AppState& s) { s.DFORMShowInfoTypeFlag = DayInfo::kDawnDusk; }, true},
      {"auto-run", [](AppState& s) { s.AutoRunFlag = true; }, true},
      {"an alarm's time", [](AppState& s) { s.Alarms[1].time = 450; }, true},
      {"an alarm armed", [](AppState& s) { s.Alarms[2].on = true; }, true},
      {"a city of the table", [](AppState& s) { s.NowCityCode = 5; }, true},
      {"the own place",
       [](AppState& s) {
         s.MyCity = OwnPlace{"我家", -120, 30};
       },
       true},
      {"the picture", [](AppState& s) { s.DFORMBackBitmapName = "C:\\a.bmp"; }, true},
      {"the window's place", [](AppState& s) { s.FormLeft = 10, s.FormTop = 20; }, false},
      {"transparency", [](AppState& s) { s.FORMTransFlag = Transparency::kAutomatic; }, false},
      {"the window shown", [](AppState& s) { s.CalendarKind = WindowKind::kMonth; }, false},
      {"the displayed date", [](AppState& s) { s.CurrentYear = 1999; }, false},
  };
  for (const Case& c : cases) {
    AppState after = state;
    c.change(after);
    EXPECT_EQ(ChangesKeptSettings(state, after), c.kept) << c.what;
  }
}

// Every value the save writes is read back by the load: without it, the
// loaded settings differ.  (FORMTransFlag is written but never read.)
TEST_F(Settings, EverySavedValueIsLoaded) {
  const AppState s = EverySettingSet(state, platform);
  MemoryRegistry full;
  SaveSettings(s, full);
  const auto saved = full.Values();
  const std::string prefix = "HKCU\\" + UpperCaseAscii(kSettingsKey) + "\\";
  int checked = 0;
  for (const auto& [path, text] : saved) {
    if (path.rfind(prefix, 0) != 0) continue;
    const std::string name = path.substr(prefix.size());
    if (name == "Version" || name == "FORMTransFlag") continue;
    MemoryRegistry r = full;
    r.RemoveValue(kUser, kSettingsKey, name);
    AppState loaded;
    SetProgramLocation(loaded, "C:\\Program Files\\Tovani\\tovani.exe");
    LoadSettings(loaded, r, platform);
    loaded.FORMTransFlag = s.FORMTransFlag;
    MemoryRegistry again;
    SaveSettings(loaded, again);
    EXPECT_NE(again.Values(), saved) << name << " is written but not read";
    ++checked;
  }
  EXPECT_EQ(checked, 30);  // every stored setting but the marker and the transparency
}

// A coordinate of exactly 0 cannot be stored as "0" (that removes the value);
// it is stored as "-0", which reads back as 0.
TEST_F(Settings, APlaceOnTheEquatorOrTheMeridianSurvives) {
  AppState s = state;
  s.RegistryUseFlag = true;
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

// Whatever its name, the own place survives the end and the next start; the
// stored name is the name itself, but for "0", which no value can hold.
TEST_F(Settings, EveryOwnPlaceNameSurvives) {
  struct Case {
    const char* name;
    const char* stored;
  };
  const Case cases[] = {{"0", ""}, {"00", "00"}, {"0.0", "0.0"}, {" 0", " 0"}, {"-0", "-0"}, {"老家", "老家"}};
  for (const auto& c : cases) {
    AppState s = state;
    s.RegistryUseFlag = true;
    s.MyCity = OwnPlace{c.name, -120.5, 0};
    s.NowCityCode = 44;
    MemoryRegistry r;
    SaveSettings(s, r);
    EXPECT_EQ(ReadRegistryText(r, kUser, kSettingsKey, "MyCityName"), c.stored) << c.name;
    AppState loaded;
    LoadSettings(loaded, r, platform);
    EXPECT_EQ(loaded.MyCity.name, c.name);
    EXPECT_EQ(loaded.MyCity.longitude, -120.5) << c.name;
    EXPECT_EQ(loaded.NowCityCode, 44) << c.name;
    EXPECT_EQ(loaded.Current.name, c.name);
  }
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

// Registry use off by the option, or a run that started without a key: the
// end removes the key with its records.  A foreign key becomes the program's
// own once the user turns the option either way.
TEST_F(Settings, WithoutRegistryUseTheEndRemovesTheKey) {
  struct Case {
    const char* label;
    std::optional<std::string> version;  // at start; nullopt: no key at all
    int toggles;                         // of "允许使用注册表(&U)"
    bool keyLeft;
  };
  const Case cases[] = {
      {"own key, option off", "4.1", 1, false},
      {"own key, off and on again", "4.1", 2, true},
      {"no key at start", std::nullopt, 0, false},
      {"foreign key, option on", "3.6", 1, true},
      {"foreign key, on and off again", "3.6", 2, false},
  };
  for (const auto& c : cases) {
    MemoryRegistry r;
    if (c.version) r.Set(kUser, kSettingsKey, "Version", *c.version);
    AppState s;
    SetProgramLocation(s, "C:\\Tools\\tovani.exe");
    LoadSettings(s, r, platform);
    // Records written during the run, and auto-run values.
    r.Set(kUser, "Software\\Tovani\\SolarMemorial", "05-01", "AD2000  x");
    r.Set(kUser, "Software\\Tovani\\SolarReminded", "A", "AD05-01-2008  x");
    for (const RegistryRoot root : {kUser, kMachine}) r.Set(root, kRunKey, kRunValue, "C:\\Tools\\tovani.exe");
    for (int i = 0; i < c.toggles; ++i) ToggleRegistryUse(s, r);
    ShutDown(s, r, 10, 20);
    EXPECT_EQ(r.HasKey(kUser, kSettingsKey), c.keyLeft) << c.label;
    EXPECT_EQ(r.HasKey(kUser, "Software\\Tovani\\SolarReminded"), c.keyLeft) << c.label;
    EXPECT_EQ(ReadRegistryText(r, kUser, kSettingsKey, "FormLeft"), c.keyLeft ? "10.0" : "") << c.label;
    if (!c.keyLeft) {
      EXPECT_EQ(r.Get(kUser, kRunKey, kRunValue), std::nullopt) << c.label;
      EXPECT_EQ(r.Get(kMachine, kRunKey, kRunValue), std::nullopt) << c.label;
    }
  }
}

TEST_F(Settings, TheRegistryOption) {
  AppState s;
  MemoryRegistry r;
  ToggleRegistryUse(s, r);
  EXPECT_TRUE(s.RegistryUseFlag);
  EXPECT_EQ(ReadRegistryText(r, kUser, kSettingsKey, "Version"), "4.1");
  r.Set(kUser, "Software\\Tovani\\LunarMemorial", "01-01", "AD2000   x");
  r.Set(kUser, "Software\\Tovani\\SolarReminded", "A", "AD05-01-2008   x");
  ToggleRegistryUse(s, r);
  EXPECT_FALSE(s.RegistryUseFlag);
  EXPECT_EQ(ReadRegistryText(r, kUser, kSettingsKey, "Version"), "");
  EXPECT_FALSE(r.HasKey(kUser, "Software\\Tovani\\LunarMemorial"));
  EXPECT_TRUE(r.HasKey(kUser, "Software\\Tovani\\SolarReminded"));  // left for the end
  ToggleAutoRun(s);
  EXPECT_TRUE(s.AutoRunFlag);
  ToggleAutoRun(s);
  EXPECT_FALSE(s.AutoRunFlag);
}

// Values that take effect only with registry use, found while it is off, are
// named once; with it on, or with none of them there, nothing is said.
TEST_F(Settings, ValuesIgnoredWhileRegistryUseIsOffAreNamed) {
  const struct {
    bool registryUse;
    std::vector<std::pair<std::string, std::string>> values;  // key, name (text "x")
    std::string named;                                        // "" for nothing said
  } kCases[] = {
      {false, {}, ""},
      {false, {{kSettingsKey, "FormLeft"}}, ""},
      {false, {{kSettingsKey, "WeatherHost"}}, "WeatherHost"},
      {false, {{kSettingsKey, "VersionPage"}, {"Software\\Tovani\\Holidays", "2027-01-01"}}, "VersionPage、Holidays"},
      {false, {{kRunKey, kRunValue}}, "开机自动运行"},
      {true, {{kSettingsKey, "WeatherHost"}, {kRunKey, kRunValue}}, ""},
  };
  for (const auto& c : kCases) {
    MemoryRegistry r;
    for (const auto& [key, name] : c.values) r.Set(kUser, key, name, "x");
    AppState s;
    s.RegistryUseFlag = c.registryUse;
    const std::string said = IgnoredWhileRegistryOff(s, r);
    EXPECT_EQ(said.empty(), c.named.empty()) << c.named;
    if (!c.named.empty()) {
      EXPECT_NE(said.find(" " + c.named + " "), std::string::npos) << said;
    }
  }
}

// Whatever the registry holds, loading never fails and every setting ends
// within its allowed values.
TEST_F(Settings, RandomStoredTextsLoadIntoAllowedValues) {
  const char* names[] = {"FormLeft", "FormTop", "WholeAutoReportTimeFlag", "DFORMShowInfoTypeFlag", "DefiniteAlarmATime",
                         "DefiniteAlarmCSoundNo", "MyCityName", "MyCityLongitude", "MyCityLatitude", "NowCityCode",
                         "DFORMBackBitmapName", "ShowCalendarTypeFlag", "DefiniteAlarmBDaysFlag", "HourlyQuietTime"};
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
    const int info = static_cast<int>(state.DFORMShowInfoTypeFlag), kind = static_cast<int>(state.CalendarKind);
    ASSERT_TRUE(info >= 0 && info <= 2);
    ASSERT_TRUE(kind == 0 || kind == 1);
    ASSERT_TRUE(state.Alarms[0].time >= 0 && state.Alarms[0].time <= 1439);
    ASSERT_TRUE(state.Alarms[2].soundNo >= 0 && state.Alarms[2].soundNo <= 4);
    ASSERT_TRUE(state.Alarms[1].days >= 0 && state.Alarms[1].days <= 2);
    ASSERT_TRUE(ReadQuietTime(state.HourlyQuietTime).has_value()) << state.HourlyQuietTime;
    ASSERT_LE(state.MyCity.name.size(), 12u);
    ASSERT_TRUE((state.NowCityCode >= 1 && state.NowCityCode <= 43) ||
                (state.NowCityCode == 44 && !state.MyCity.name.empty()));
    ASSERT_TRUE(state.MyCity.longitude >= -180 && state.MyCity.longitude <= 180);
    ASSERT_EQ(state.DFORMBackBitmapName, "");
  }
}

}  // namespace
}  // namespace tovani
