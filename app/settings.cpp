#include "app/settings.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "engine/date_text.h"
#include "framework/paths.h"

namespace tovani {
namespace {

constexpr RegistryRoot kUser = RegistryRoot::kCurrentUser;
constexpr RegistryRoot kMachine = RegistryRoot::kLocalMachine;

constexpr const char* kRecordKeys[] = {"SolarMemorial", "LunarMemorial", "MuharramMemorial", "SolarReminded"};

// How a setting is read and written.  Every rule reads "" as its default.
enum class Rule {
  kFlag,           // exactly "1" is 1 (true, or the second of two states)
  kChoiceOfThree,  // 0, 1, 2: exactly "1" or "2", else 0
  kAlarmTime,      // integer text 1..1439
  kSoundNo,        // exactly "1".."4"
  kOwnPlace,       // MyCityName, MyCityLongitude, MyCityLatitude together
  kCityCode,       // a city-table row, or the own place when it has a name
  kLeftEdge,       // "120.0": integer part 0..screen width
  kTopEdge,        // integer part 0..screen height
  kPicture,        // a loadable .BMP file by its full path
  kText,           // any text
  kQuietTime,      // "HH:MM-HH:MM"
  kSavedOnly,      // written, never read: every run starts at 0
};

template <class State, class T>
using FieldOf = std::conditional_t<std::is_const_v<State>, const T*, T*>;

template <class State>
struct Setting {
  const char* name;
  Rule rule;
  std::variant<FieldOf<State, bool>, FieldOf<State, std::int16_t>, FieldOf<State, std::int32_t>,
               FieldOf<State, WindowKind>, FieldOf<State, Transparency>, FieldOf<State, DayInfo>,
               FieldOf<State, AlarmDays>, FieldOf<State, std::string>, FieldOf<State, OwnPlace>>
      field;
};

// A number-like field (a flag, a state of a few, an integer) set from, or
// read as, its stored number.
template <class T>
constexpr bool kStoredAsNumber = std::is_arithmetic_v<T> || std::is_enum_v<T>;
template <class Field>
void SetNumber(const Field& field, long long value) {
  std::visit(
      [&](auto* p) {
        using T = std::remove_cv_t<std::remove_pointer_t<decltype(p)>>;
        if constexpr (kStoredAsNumber<T>) {
          *p = static_cast<T>(value);
        }
      },
      field);
}
template <class Field>
long long NumberOf(const Field& field) {
  return std::visit(
      [](auto* p) -> long long {
        using T = std::remove_cv_t<std::remove_pointer_t<decltype(p)>>;
        if constexpr (kStoredAsNumber<T>) {
          return static_cast<long long>(*p);
        } else {
          return 0;
        }
      },
      field);
}

// The stored settings of a state (AppState or const AppState), in the order
// they are loaded and saved.  The own place comes before the city code, which
// may select it.
template <class State>
std::vector<Setting<State>> SettingsOf(State& s) {
  return {
      {"WholeAutoReportTimeFlag", Rule::kFlag, &s.WholeAutoReportTimeFlag},
      {"GanZhiFromChunjieFlag", Rule::kFlag, &s.GanZhiFromChunjieFlag},
      {"CloseFORMAudioPlayFlag", Rule::kFlag, &s.CloseFORMAudioPlayFlag},
      {"ModernCalculateAncientFlag", Rule::kFlag, &s.ModernCalculateAncientFlag},
      {"NearLocateMemorialFlag", Rule::kFlag, &s.NearLocateMemorialFlag},
      {"DFORMShowDynastyFlag", Rule::kFlag, &s.DFORMShowDynastyFlag},
      {"MFORMMondayFirstFlag", Rule::kFlag, &s.MFORMMondayFirstFlag},
      {"TraditionalCharsFlag", Rule::kFlag, &s.TraditionalCharsFlag},
      {"DFORMShowInfoTypeFlag", Rule::kChoiceOfThree, &s.DFORMShowInfoTypeFlag},
      {"ShowCalendarTypeFlag", Rule::kFlag, &s.CalendarKind},
      {"OpenAlarmClockAFlag", Rule::kFlag, &s.Alarms[0].on},
      {"DefiniteAlarmATime", Rule::kAlarmTime, &s.Alarms[0].time},
      {"DefiniteAlarmASoundNo", Rule::kSoundNo, &s.Alarms[0].soundNo},
      {"OpenAlarmClockBFlag", Rule::kFlag, &s.Alarms[1].on},
      {"DefiniteAlarmBTime", Rule::kAlarmTime, &s.Alarms[1].time},
      {"DefiniteAlarmBSoundNo", Rule::kSoundNo, &s.Alarms[1].soundNo},
      {"OpenAlarmClockCFlag", Rule::kFlag, &s.Alarms[2].on},
      {"DefiniteAlarmCTime", Rule::kAlarmTime, &s.Alarms[2].time},
      {"DefiniteAlarmCSoundNo", Rule::kSoundNo, &s.Alarms[2].soundNo},
      {"DefiniteAlarmADaysFlag", Rule::kChoiceOfThree, &s.Alarms[0].days},
      {"DefiniteAlarmBDaysFlag", Rule::kChoiceOfThree, &s.Alarms[1].days},
      {"DefiniteAlarmCDaysFlag", Rule::kChoiceOfThree, &s.Alarms[2].days},
      {"HourlyQuietTime", Rule::kQuietTime, &s.HourlyQuietTime},
      {"HourlyWorkdaysOnlyFlag", Rule::kFlag, &s.HourlyWorkdaysOnlyFlag},
      {"MyCityName", Rule::kOwnPlace, &s.MyCity},
      {"NowCityCode", Rule::kCityCode, &s.NowCityCode},
      {"FormLeft", Rule::kLeftEdge, &s.FormLeft},
      {"FormTop", Rule::kTopEdge, &s.FormTop},
      {"FORMTransFlag", Rule::kSavedOnly, &s.FORMTransFlag},
      {"DFORMBackBitmapName", Rule::kPicture, &s.DFORMBackBitmapName},
      {"WeatherHost", Rule::kText, &s.WeatherHost},
  };
}

constexpr const char* kLongitudeName = "MyCityLongitude";
constexpr const char* kLatitudeName = "MyCityLatitude";
// The one name a value cannot hold.
constexpr const char* kUnstorableName = "0";

std::string Read(RegistryStore& r, const char* name) { return ReadRegistryText(r, kUser, kSettingsKey, name); }
bool Write(RegistryStore& r, const char* name, const std::string& text) {
  return WriteRegistryText(r, kUser, kSettingsKey, name, text);
}

// A window edge: a number whose integer part lies in 0..limit; -1 otherwise.
std::int32_t EdgeOf(const std::string& text, int limit) {
  if (text.empty()) return -1;
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return -1;
  const double whole = std::trunc(value);
  if (whole < 0 || whole > limit) return -1;
  return static_cast<std::int32_t>(whole);
}

// The picture is kept only when it is a loadable .BMP file given by a full path.
bool AcceptablePicture(const std::string& path, Platform& platform) {
  return IsFullPath(path) && HasExtension(path, {"BMP"}) && platform.IsExistingFile(path) &&
         platform.LoadsAsBitmap(path);
}

// Removes the auto-run value from the user's Run key and from the machine's,
// where an earlier version put it (and where a standard user may fail).
void RemoveAutoRun(RegistryStore& r) {
  DeleteRegistryValue(r, kUser, kRunKey, kRunValue);
  DeleteRegistryValue(r, kMachine, kRunKey, kRunValue);
}

// One setting from its stored text; read gives the text of a value name.  The
// city code needs the own place, which the table loads before it.
template <class ReadText>
void LoadSetting(const Setting<AppState>& setting, AppState& s, const ReadText& read, Platform& platform) {
  const std::string text = setting.rule == Rule::kSavedOnly ? std::string() : read(setting.name);
  switch (setting.rule) {
    case Rule::kFlag:
      SetNumber(setting.field, text == "1" ? 1 : 0);
      break;
    case Rule::kChoiceOfThree:
      SetNumber(setting.field, text == "1" ? 1 : text == "2" ? 2 : 0);
      break;
    case Rule::kAlarmTime: {
      const auto time = CanonicalInteger(text);
      const bool valid = time && *time >= 1 && *time <= 1439;
      *std::get<std::int32_t*>(setting.field) = valid ? static_cast<std::int32_t>(*time) : 0;
      break;
    }
    case Rule::kSoundNo:
      SetNumber(setting.field, text.size() == 1 && text[0] >= '1' && text[0] <= '4' ? text[0] - '0' : 0);
      break;
    case Rule::kOwnPlace: {
      OwnPlace& place = *std::get<OwnPlace*>(setting.field);
      place = OwnPlace{};
      const std::string longitudeText = read(kLongitudeName), latitudeText = read(kLatitudeName);
      // Coordinates without a name are the place named "0" (see SaveSetting).
      if (text.empty() && (longitudeText.empty() || latitudeText.empty())) break;
      const auto longitude = CanonicalNumber(longitudeText);
      const auto latitude = CanonicalNumber(latitudeText);
      if (longitude && latitude && *longitude >= -180 && *longitude <= 180 && *latitude >= -90 && *latitude <= 90) {
        place = OwnPlace{text.empty() ? kUnstorableName : TruncateBytes(text, 12), *longitude, *latitude};
      }
      break;
    }
    case Rule::kCityCode: {
      const auto code = CanonicalInteger(text);
      std::int32_t& field = *std::get<std::int32_t*>(setting.field);
      field = 1;
      if (code && *code >= 1 && *code <= CityCount()) {
        field = static_cast<std::int32_t>(*code);
      } else if (code && *code == kOwnPlaceCode && !s.MyCity.name.empty()) {
        field = kOwnPlaceCode;
      }
      break;
    }
    case Rule::kLeftEdge:
      *std::get<std::int32_t*>(setting.field) = EdgeOf(text, platform.ScreenWidth());
      break;
    case Rule::kTopEdge:
      *std::get<std::int32_t*>(setting.field) = EdgeOf(text, platform.ScreenHeight());
      break;
    case Rule::kPicture:
      *std::get<std::string*>(setting.field) = AcceptablePicture(text, platform) ? text : "";
      break;
    case Rule::kText:
      *std::get<std::string*>(setting.field) = text;
      break;
    case Rule::kQuietTime:
      *std::get<std::string*>(setting.field) = ReadQuietTime(text) ? text : kDefaultQuietTime;
      break;
    case Rule::kSavedOnly:
      SetNumber(setting.field, 0);
      break;
  }
}

// One setting in its stored form; a number as its decimal text (0 is not
// stored), a window edge followed by ".0".  False when a write was refused.
bool SaveSetting(const Setting<const AppState>& setting, RegistryStore& r) {
  switch (setting.rule) {
    case Rule::kOwnPlace: {
      // The name "0" cannot be stored: writing "0" removes the value.  Its
      // place is kept as the coordinates alone, which no other state leaves
      // (without an own place they are removed too), and the load gives the
      // name back.  Every other name is stored as it is.
      const OwnPlace& place = *std::get<const OwnPlace*>(setting.field);
      const bool own = !place.name.empty();
      const bool name = Write(r, setting.name, own && place.name != kUnstorableName ? place.name : "");
      const bool longitude = Write(r, kLongitudeName, own ? CoordinateText(place.longitude) : "");
      const bool latitude = Write(r, kLatitudeName, own ? CoordinateText(place.latitude) : "");
      return name && longitude && latitude;
    }
    case Rule::kLeftEdge:
    case Rule::kTopEdge:
      return Write(r, setting.name, std::to_string(*std::get<const std::int32_t*>(setting.field)) + ".0");
    case Rule::kPicture:
    case Rule::kText:
    case Rule::kQuietTime:
      return Write(r, setting.name, *std::get<const std::string*>(setting.field));
    default:
      return Write(r, setting.name, std::to_string(NumberOf(setting.field)));
  }
}

}  // namespace

std::optional<long long> CanonicalInteger(const std::string& text) {
  long long value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (std::to_string(value) != text) return std::nullopt;
  return value;
}

std::string CoordinateText(double value) {
  if (value == 0) return "-0";
  char buf[64];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  return ec == std::errc() ? std::string(buf, end) : std::string();
}

std::optional<double> CanonicalNumber(const std::string& text) {
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  char buf[64];
  const auto [textEnd, ec2] = std::to_chars(buf, buf + sizeof buf, value);
  if (ec2 != std::errc() || std::string(buf, textEnd) != text) return std::nullopt;
  return value;
}

std::optional<QuietTime> ReadQuietTime(const std::string& text) {
  // Exactly "HH:MM-HH:MM", hours 00..23 and minutes 00..59.
  const auto minuteOf = [&](std::size_t at) -> std::optional<int> {
    const auto digit = [&](std::size_t i) { return text[at + i] >= '0' && text[at + i] <= '9'; };
    if (!digit(0) || !digit(1) || text[at + 2] != ':' || !digit(3) || !digit(4)) return std::nullopt;
    const int hour = (text[at] - '0') * 10 + (text[at + 1] - '0');
    const int minute = (text[at + 3] - '0') * 10 + (text[at + 4] - '0');
    if (hour > 23 || minute > 59) return std::nullopt;
    return hour * 60 + minute;
  };
  if (text.size() != 11 || text[5] != '-') return std::nullopt;
  const auto from = minuteOf(0), to = minuteOf(6);
  if (!from || !to) return std::nullopt;
  return QuietTime{*from, *to};
}

std::string QuietTimeText(const QuietTime& quiet) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d:%02d-%02d:%02d", quiet.from / 60, quiet.from % 60, quiet.to / 60, quiet.to % 60);
  return buf;
}

std::string UpperCaseAscii(const std::string& text) {
  std::string out = text;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto c = static_cast<unsigned char>(out[i]);
    if (c >= 0x80) {
      ++i;  // the second byte of a two-byte character is not a letter
    } else if (c >= 'a' && c <= 'z') {
      out[i] = static_cast<char>(c - 'a' + 'A');
    }
  }
  return out;
}

void LoadSettings(AppState& s, RegistryStore& r, Platform& platform) {
  const bool stored = Read(r, "Version") == kVersionText;
  s.RegistryUseFlag = stored;
  s.ForeignSettingsKey = !stored && r.KeyExists(kUser, kSettingsKey);
  s.AutoRunFlag = false;
  if (stored) {
    const std::string run = ReadRegistryText(r, kUser, kRunKey, kRunValue);
    s.AutoRunFlag = !run.empty() && UpperCaseAscii(run) == UpperCaseAscii(s.ProgramPath());
  }
  // Without the marker nothing else is read, and every setting takes its default.
  const auto read = [&](const char* name) { return stored ? Read(r, name) : std::string(); };
  for (const auto& setting : SettingsOf(s)) LoadSetting(setting, s, read, platform);
  SelectCity(s.NowCityCode, s.MyCity, s.Current);
}

bool SaveSettings(const AppState& s, RegistryStore& r) {
  if (!s.RegistryUseFlag) {
    if (s.ForeignSettingsKey) return true;  // not ours to remove
    for (const char* key : kRecordKeys) DeleteRegistryKey(r, kUser, std::string(kSettingsKey) + "\\" + key);
    DeleteRegistryKey(r, kUser, kSettingsKey);
    RemoveAutoRun(r);
    return true;
  }
  // Every write is tried, whatever the ones before it did.
  bool saved = Write(r, "Version", kVersionText);
  for (const auto& setting : SettingsOf(s)) saved = SaveSetting(setting, r) && saved;
  if (s.AutoRunFlag) {
    saved = WriteRegistryText(r, kUser, kRunKey, kRunValue, s.ProgramPath()) && saved;
  } else {
    RemoveAutoRun(r);
  }
  return saved;
}

bool ChangesKeptSettings(const AppState& before, const AppState& after) {
  if (before.AutoRunFlag != after.AutoRunFlag) return true;
  // Both in their stored forms, side by side; the window's place, its
  // transparency and the window shown are not the user's settings here.
  MemoryRegistry a, b;
  const auto beforeSettings = SettingsOf(before), afterSettings = SettingsOf(after);
  for (std::size_t i = 0; i < beforeSettings.size(); ++i) {
    const Rule rule = beforeSettings[i].rule;
    if (rule == Rule::kLeftEdge || rule == Rule::kTopEdge || rule == Rule::kSavedOnly) continue;
    if (std::string_view(beforeSettings[i].name) == "ShowCalendarTypeFlag") continue;
    SaveSetting(beforeSettings[i], a);
    SaveSetting(afterSettings[i], b);
  }
  return a.Values() != b.Values();
}

void ToggleRegistryUse(AppState& s, RegistryStore& r) {
  s.ForeignSettingsKey = false;  // the user has decided about the key
  if (s.RegistryUseFlag) {
    s.RegistryUseFlag = false;
    Write(r, "Version", "");
    for (const char* key : {"SolarMemorial", "LunarMemorial", "MuharramMemorial"}) {
      DeleteRegistryKey(r, kUser, std::string(kSettingsKey) + "\\" + key);
    }
    DeleteRegistryKey(r, kUser, kSettingsKey);  // stays while SolarReminded is under it
  } else {
    s.RegistryUseFlag = true;
    Write(r, "Version", kVersionText);
  }
}

void ToggleAutoRun(AppState& s) { s.AutoRunFlag = !s.AutoRunFlag; }

std::string IgnoredWhileRegistryOff(const AppState& s, RegistryStore& r) {
  if (s.RegistryUseFlag) return {};
  std::string names;
  const auto add = [&names](const char* name) { names += (names.empty() ? "" : "、") + std::string(name); };
  for (const char* name : {"VersionPage", "WeatherHost"}) {
    if (!Read(r, name).empty()) add(name);
  }
  if (!r.ValueNames(kUser, std::string(kSettingsKey) + "\\Holidays").empty()) add("Holidays");
  if (!ReadRegistryText(r, kUser, kRunKey, kRunValue).empty()) add("开机自动运行");
  if (names.empty()) return {};
  return "没有允许使用注册表，注册表中的 " + names + " 不起作用；选择“允许使用注册表”后才有效。";
}

}  // namespace tovani
