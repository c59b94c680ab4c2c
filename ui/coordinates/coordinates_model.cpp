#include "ui/coordinates/coordinates_model.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "app/settings.h"
#include "engine/cities.h"
#include "engine/date_text.h"
#include "engine/dates.h"
#include "sound/clips.h"

namespace tovani::coordinates {
namespace {

constexpr int kOwnNameBytes = 12;

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// The number of a text of digits with at most one point (and at least one
// digit); nothing for anything else.
std::optional<double> DecimalOf(std::string_view text) {
  int digits = 0, points = 0;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      ++digits;
    } else if (c == '.') {
      ++points;
    } else {
      return std::nullopt;
    }
  }
  if (digits == 0 || points > 1) return std::nullopt;
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

// prefix + number + "度", the number 0..limit; the value negated for the
// negative prefix.  The prefixes are two-byte characters and the number is
// plain ASCII, so "度" is exactly the last two bytes.
std::optional<double> ReadCoordinate(const std::string& text, std::string_view positive, std::string_view negative,
                                     double limit) {
  constexpr std::string_view kDegree = "度";
  const bool isNegative = StartsWith(text, negative);
  if (!isNegative && !StartsWith(text, positive)) return std::nullopt;
  const std::size_t start = positive.size();
  const std::string_view t = text;
  if (t.size() < start + kDegree.size() || t.substr(t.size() - kDegree.size()) != kDegree) return std::nullopt;
  const auto value = DecimalOf(t.substr(start, t.size() - start - kDegree.size()));
  if (!value || *value > limit) return std::nullopt;
  return isNegative ? -*value : *value;
}

std::string CoordinateText(const char* prefix, double degrees, const char* format) {
  char number[32];
  std::snprintf(number, sizeof number, format, std::fabs(degrees));
  return std::string(prefix) + number + "度";
}

// Digits only, at least one, as a number (at most four digits are needed).
std::optional<int> DigitsOf(std::string_view text) {
  if (text.empty() || text.size() > 4) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

ModeFrame FrameOf(int mode) {
  switch (mode) {
    case kAlarmMode: return {kAlarmMode, "编辑闹钟", 337, 212};
    case kSystemDateMode: return {kSystemDateMode, "警告", 219, 105};
    default: return {kPlaceMode, "本地坐标", 219, 205};
  }
}

std::string LongitudeText(double degrees) {
  return CoordinateText(degrees > 0 ? "西经" : "东经", degrees, "%08.4f");
}

std::string LatitudeText(double degrees) {
  return CoordinateText(degrees > 0 ? "北纬" : "南纬", degrees, "%07.4f");
}

std::optional<double> ReadLongitude(const std::string& text) { return ReadCoordinate(text, "西经", "东经", 180); }

std::optional<double> ReadLatitude(const std::string& text) { return ReadCoordinate(text, "北纬", "南纬", 90); }

std::vector<std::string> CityListItems() {
  std::vector<std::string> items;
  for (int code = 1; code <= CityCount(); ++code) items.push_back(CityAt(code)->name);
  items.push_back(kOwnPlaceItem);
  return items;
}

// ---- PlaceEditor ----

PlaceEditor::PlaceEditor(AppState& state) : state_(state), opened_(state.Current) {
  const int code = state.NowCityCode;
  fields_.item = code >= 1 && code <= kOwnPlaceCode ? code - 1 : 0;
  ShowCurrent();
}

void PlaceEditor::ShowCurrent() {
  fields_.own = fields_.item == CityCount();
  fields_.name = fields_.own ? state_.MyCity.name : std::string();
  fields_.longitude = LongitudeText(state_.Current.longitude);
  fields_.latitude = LatitudeText(state_.Current.latitude);
}

void PlaceEditor::Choose(int item) {
  if (item < 0 || item > CityCount()) return;
  fields_.item = item;
  SelectCity(item + 1, state_.MyCity, state_.Current);
  ShowCurrent();
}

bool PlaceEditor::FillEmptyLongitude() {
  if (!fields_.own || !fields_.longitude.empty()) return false;
  fields_.longitude = kZeroLongitude;
  return true;
}

bool PlaceEditor::FillEmptyLatitude() {
  if (!fields_.own || !fields_.latitude.empty()) return false;
  fields_.latitude = kZeroLatitude;
  return true;
}

bool PlaceEditor::EditName(const std::string& text) {
  if (text.size() > static_cast<std::size_t>(kOwnNameBytes)) return false;
  fields_.name = text;
  return true;
}

PlaceOutcome PlaceEditor::Confirm() {
  if (!fields_.own) {
    state_.NowCityCode = fields_.item + 1;
  } else {
    if (fields_.name.empty()) return PlaceOutcome::kNameMissing;
    const auto longitude = ReadLongitude(fields_.longitude);
    if (!longitude) {
      fields_.longitude = kZeroLongitude;
      return PlaceOutcome::kBadLongitude;
    }
    const auto latitude = ReadLatitude(fields_.latitude);
    if (!latitude) {
      fields_.latitude = kZeroLatitude;
      return PlaceOutcome::kBadLatitude;
    }
    state_.NowCityCode = kOwnPlaceCode;
    state_.MyCity = OwnPlace{TruncateBytes(fields_.name, kOwnNameBytes), *longitude, *latitude};
  }
  SelectCity(state_.NowCityCode, state_.MyCity, state_.Current);
  ShowCurrent();
  confirmed_ = true;
  return PlaceOutcome::kDone;
}

void PlaceEditor::Cancel() {
  if (confirmed_) return;
  if (!SelectCity(state_.NowCityCode, state_.MyCity, state_.Current)) state_.Current = opened_;
}

// ---- Alarms ----

std::string AlarmTimeText(int minutes) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d", minutes / 60 % 100, minutes % 60);
  return text;
}

std::optional<int> ReadAlarmTime(const std::string& text) {
  const auto colon = text.find(':');
  if (colon != text.rfind(':')) return std::nullopt;  // more than one
  const auto hours = DigitsOf(std::string_view(text).substr(0, colon));
  if (!hours || *hours > 23) return std::nullopt;
  if (colon == std::string::npos) return *hours * 60;
  const auto minutes = DigitsOf(std::string_view(text).substr(colon + 1));
  if (!minutes || *minutes > 59) return std::nullopt;
  return *hours * 60 + *minutes;
}

std::vector<std::string> SoundListItems() {
  std::vector<std::string> items;
  for (int i = 0; i < sound::kAlarmSoundCount; ++i) items.push_back(sound::AlarmSoundName(i));
  return items;
}

std::string AlarmBoxLabel(int row) { return "打开闹钟" + std::to_string(row + 1); }

std::vector<std::string> DaysListItems() { return {"每天", "工作日", "休息日"}; }

AlarmEditor::AlarmEditor(const AppState& state) {
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const AlarmSetting& a = state.Alarms[i];
    rows_[i].on = a.on;
    rows_[i].time = AlarmTimeText(a.time >= 0 && a.time < 1440 ? a.time : 0);
    rows_[i].sound = a.soundNo >= 0 && a.soundNo < sound::kAlarmSoundCount ? a.soundNo : 0;
    rows_[i].days = a.days >= kEveryDay && a.days <= kDaysOff ? a.days : static_cast<int>(kEveryDay);
  }
  const QuietTime quiet = ReadQuietTime(state.HourlyQuietTime).value_or(QuietTime{});
  quiet_ = {AlarmTimeText(quiet.from), AlarmTimeText(quiet.to)};
  workingDaysOnly_ = state.HourlyWorkdaysOnlyFlag;
}

const std::string& AlarmEditor::TimeText(int field) const {
  return field < kQuietFromField ? rows_.at(field).time : quiet_.at(field - kQuietFromField);
}

void AlarmEditor::EditTime(int field, const std::string& text) {
  (field < kQuietFromField ? rows_.at(field).time : quiet_.at(field - kQuietFromField)) = text;
}

bool AlarmEditor::FillEmptyTime(int field) {
  if (!TimeText(field).empty()) return false;
  EditTime(field, kZeroTime);
  return true;
}

std::optional<int> AlarmEditor::Confirm(AppState& state) {
  std::array<int, kTimeFieldCount> times{};
  for (int field = 0; field < kTimeFieldCount; ++field) {
    const auto time = ReadAlarmTime(TimeText(field));
    if (!time) {
      EditTime(field, kZeroTime);
      return field;
    }
    times[static_cast<std::size_t>(field)] = *time;
  }
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    state.Alarms[i] = AlarmSetting{rows_[i].on, times[i], static_cast<std::int16_t>(rows_[i].sound),
                                   static_cast<AlarmDays>(rows_[i].days)};
  }
  state.HourlyQuietTime = QuietTimeText({times[kQuietFromField], times[kQuietToField]});
  state.HourlyWorkdaysOnlyFlag = workingDaysOnly_;
  return std::nullopt;
}

// ---- The computer's date ----

std::optional<CivilDate> SystemDateOf(const AppState& s) {
  if (s.CurrentYear < 1980 || s.CurrentYear > 2099 || !IsValidDate(s.CurrentYear, s.CurrentMonth, s.CurrentDay)) {
    return std::nullopt;
  }
  return CivilDate{s.CurrentYear, s.CurrentMonth, s.CurrentDay};
}

std::optional<DateChange> SetSystemDate(const AppState& state, Platform& platform) {
  const auto date = SystemDateOf(state);
  if (!date) return std::nullopt;
  return platform.SetComputerDate(*date);
}

const char* DateChangeMessage(DateChange change) {
  switch (change) {
    case DateChange::kDone: return "";
    case DateChange::kNotAllowed: return kDateNeedsAdministrator;
    case DateChange::kRefused: break;
  }
  return kDateRefused;
}

}  // namespace tovani::coordinates
