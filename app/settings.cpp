#include "app/settings.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "engine/date_text.h"

namespace tovani {
namespace {

constexpr RegistryRoot kUser = RegistryRoot::kCurrentUser;
constexpr RegistryRoot kMachine = RegistryRoot::kLocalMachine;

constexpr const char* kRecordKeys[] = {"SolarMemorial", "LunarMemorial", "MuharramMemorial", "SolarReminded"};

struct AlarmNames {
  const char *on, *time, *sound;
};
constexpr AlarmNames kAlarmNames[3] = {
    {"OpenAlarmClockAFlag", "DefiniteAlarmATime", "DefiniteAlarmASoundNo"},
    {"OpenAlarmClockBFlag", "DefiniteAlarmBTime", "DefiniteAlarmBSoundNo"},
    {"OpenAlarmClockCFlag", "DefiniteAlarmCTime", "DefiniteAlarmCSoundNo"},
};

std::string Read(RegistryStore& r, const char* name) { return ReadRegistryText(r, kUser, kSettingsKey, name); }
void Write(RegistryStore& r, const char* name, const std::string& text) {
  WriteRegistryText(r, kUser, kSettingsKey, name, text);
}

std::int16_t FlagOf(const std::string& text) { return text == "1" ? 1 : 0; }

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
  if (path.size() < 3 || path.compare(1, 2, ":\\") != 0 || path.back() == '\\') return false;
  const auto dot = path.rfind('.');
  if (dot == std::string::npos || UpperCaseAscii(path.substr(dot + 1)) != "BMP") return false;
  return platform.IsExistingFile(path) && platform.LoadsAsBitmap(path);
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
  const AppState defaults;
  s.FORMTransFlag = 0;
  if (Read(r, "Version") != kVersionText) {
    s.RegistryUseFlag = s.AutoRunFlag = 0;
    s.WholeAutoReportTimeFlag = s.GanZhiFromChunjieFlag = s.CloseFORMAudioPlayFlag = 0;
    s.ModernCalculateAncientFlag = s.NearLocateMemorialFlag = s.DFORMShowDynastyFlag = 0;
    s.DFORMShowInfoTypeFlag = s.ShowCalendarTypeFlag = 0;
    s.Alarms = defaults.Alarms;
    s.MyCity = OwnPlace{};
    s.NowCityCode = 1;
    s.FormLeft = s.FormTop = -1;
    s.DFORMBackBitmapName.clear();
    s.WeatherHost.clear();
    SelectCity(1, s.MyCity, s.Current);
    return;
  }
  s.RegistryUseFlag = 1;
  const std::string run = ReadRegistryText(r, kMachine, kRunKey, kRunValue);
  s.AutoRunFlag = !run.empty() && UpperCaseAscii(run) == UpperCaseAscii(s.ProgramPath()) ? 1 : 0;

  s.WholeAutoReportTimeFlag = FlagOf(Read(r, "WholeAutoReportTimeFlag"));
  s.GanZhiFromChunjieFlag = FlagOf(Read(r, "GanZhiFromChunjieFlag"));
  s.CloseFORMAudioPlayFlag = FlagOf(Read(r, "CloseFORMAudioPlayFlag"));
  s.ModernCalculateAncientFlag = FlagOf(Read(r, "ModernCalculateAncientFlag"));
  s.NearLocateMemorialFlag = FlagOf(Read(r, "NearLocateMemorialFlag"));
  s.DFORMShowDynastyFlag = FlagOf(Read(r, "DFORMShowDynastyFlag"));
  const std::string info = Read(r, "DFORMShowInfoTypeFlag");
  s.DFORMShowInfoTypeFlag = info == "1" ? 1 : info == "2" ? 2 : 0;
  s.ShowCalendarTypeFlag = FlagOf(Read(r, "ShowCalendarTypeFlag"));

  for (int i = 0; i < 3; ++i) {
    AlarmSetting& a = s.Alarms[i];
    a.on = FlagOf(Read(r, kAlarmNames[i].on));
    const auto time = CanonicalInteger(Read(r, kAlarmNames[i].time));
    a.time = time && *time >= 1 && *time <= 1439 ? static_cast<std::int32_t>(*time) : 0;
    const std::string sound = Read(r, kAlarmNames[i].sound);
    a.soundNo = sound.size() == 1 && sound[0] >= '1' && sound[0] <= '4' ? sound[0] - '0' : 0;
  }

  s.MyCity = OwnPlace{};
  const std::string name = Read(r, "MyCityName");
  if (!name.empty()) {
    const auto longitude = CanonicalNumber(Read(r, "MyCityLongitude"));
    const auto latitude = CanonicalNumber(Read(r, "MyCityLatitude"));
    if (longitude && latitude && *longitude >= -180 && *longitude <= 180 && *latitude >= -90 && *latitude <= 90) {
      s.MyCity = OwnPlace{TruncateBytes(name, 12), *longitude, *latitude};
    }
  }

  const auto code = CanonicalInteger(Read(r, "NowCityCode"));
  s.NowCityCode = 1;
  if (code && *code >= 1 && *code <= CityCount()) {
    s.NowCityCode = static_cast<std::int32_t>(*code);
  } else if (code && *code == kOwnPlaceCode && !s.MyCity.name.empty()) {
    s.NowCityCode = kOwnPlaceCode;
  }
  SelectCity(s.NowCityCode, s.MyCity, s.Current);

  s.FormLeft = EdgeOf(Read(r, "FormLeft"), platform.ScreenWidth());
  s.FormTop = EdgeOf(Read(r, "FormTop"), platform.ScreenHeight());

  const std::string picture = Read(r, "DFORMBackBitmapName");
  s.DFORMBackBitmapName = AcceptablePicture(picture, platform) ? picture : "";
  s.WeatherHost = Read(r, "WeatherHost");
}

void SaveSettings(const AppState& s, RegistryStore& r) {
  if (s.RegistryUseFlag != 1) {
    for (const char* key : kRecordKeys) DeleteRegistryKey(r, kUser, std::string(kSettingsKey) + "\\" + key);
    DeleteRegistryKey(r, kUser, kSettingsKey);
    DeleteRegistryValue(r, kMachine, kRunKey, kRunValue);
    return;
  }
  const auto number = [](long long v) { return std::to_string(v); };
  Write(r, "Version", kVersionText);
  Write(r, "FormLeft", number(s.FormLeft) + ".0");
  Write(r, "FormTop", number(s.FormTop) + ".0");
  Write(r, "WholeAutoReportTimeFlag", number(s.WholeAutoReportTimeFlag));
  Write(r, "GanZhiFromChunjieFlag", number(s.GanZhiFromChunjieFlag));
  Write(r, "CloseFORMAudioPlayFlag", number(s.CloseFORMAudioPlayFlag));
  Write(r, "ModernCalculateAncientFlag", number(s.ModernCalculateAncientFlag));
  Write(r, "NearLocateMemorialFlag", number(s.NearLocateMemorialFlag));
  Write(r, "DFORMShowDynastyFlag", number(s.DFORMShowDynastyFlag));
  Write(r, "DFORMShowInfoTypeFlag", number(s.DFORMShowInfoTypeFlag));
  Write(r, "ShowCalendarTypeFlag", number(s.ShowCalendarTypeFlag));
  for (int i = 0; i < 3; ++i) {
    Write(r, kAlarmNames[i].on, number(s.Alarms[i].on));
    Write(r, kAlarmNames[i].time, number(s.Alarms[i].time));
    Write(r, kAlarmNames[i].sound, number(s.Alarms[i].soundNo));
  }
  const bool own = !s.MyCity.name.empty();
  Write(r, "MyCityName", own ? s.MyCity.name : "");
  Write(r, "MyCityLongitude", own ? CoordinateText(s.MyCity.longitude) : "");
  Write(r, "MyCityLatitude", own ? CoordinateText(s.MyCity.latitude) : "");
  Write(r, "NowCityCode", number(s.NowCityCode));
  Write(r, "FORMTransFlag", number(s.FORMTransFlag));
  Write(r, "DFORMBackBitmapName", s.DFORMBackBitmapName);
  Write(r, "WeatherHost", s.WeatherHost);
  if (s.AutoRunFlag == 1) {
    WriteRegistryText(r, kMachine, kRunKey, kRunValue, s.ProgramPath());
  } else {
    DeleteRegistryValue(r, kMachine, kRunKey, kRunValue);
  }
}

void ToggleRegistryUse(AppState& s, RegistryStore& r) {
  if (s.RegistryUseFlag == 1) {
    s.RegistryUseFlag = 0;
    Write(r, "Version", "");
    for (const char* key : {"SolarMemorial", "LunarMemorial", "MuharramMemorial"}) {
      DeleteRegistryKey(r, kUser, std::string(kSettingsKey) + "\\" + key);
    }
    DeleteRegistryKey(r, kUser, kSettingsKey);  // stays while SolarReminded is under it
  } else {
    s.RegistryUseFlag = 1;
    Write(r, "Version", kVersionText);
  }
}

void ToggleAutoRun(AppState& s) { s.AutoRunFlag = s.AutoRunFlag == 1 ? 0 : 1; }

}  // namespace tovani
