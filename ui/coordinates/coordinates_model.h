// The coordinates window's rules, without any Win32: the user's place (mode
// 1), the three alarm clocks (mode 2) and the computer's date (mode 3).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/platform.h"

namespace tovani::coordinates {

enum Mode : int { kPlaceMode = 1, kAlarmMode = 2, kSystemDateMode = 3 };

// Caption and outer size (at 96 DPI) of a mode; an unknown mode is mode 1.
struct ModeFrame {
  int mode;
  const char* caption;
  int width, height;
};
ModeFrame FrameOf(int mode);

// ---- Coordinate texts ----

// The zero texts a faulty or empty field gets.
inline constexpr const char* kZeroLongitude = "东经000.0000度";
inline constexpr const char* kZeroLatitude = "北纬00.0000度";

// "东经"/"西经" and the absolute degrees as 000.0000, then "度": east
// (negative, or 0) is 东经.
std::string LongitudeText(double degrees);
// "北纬"/"南纬" and the absolute degrees as 00.0000, then "度": north
// (positive) is 北纬, 0 and south are 南纬.
std::string LatitudeText(double degrees);
// A typed longitude: "东经" or "西经", digits with at most one point and a
// value 0..180, "度".  East comes back negative.  Nothing for anything else.
std::optional<double> ReadLongitude(const std::string& text);
// A typed latitude: "北纬" or "南纬", a value 0..90, "度"; south negative.
std::optional<double> ReadLatitude(const std::string& text);

// The city list: every city of the table, then the user's own place.
inline constexpr const char* kOwnPlaceItem = "自定义...";
std::vector<std::string> CityListItems();

// ---- Mode 1: the user's place ----

// What the fields show.
struct PlaceFields {
  int item = 0;          // of the city list; CityCount() is the own place
  bool own = false;      // the own place: name shown, coordinates editable
  std::string name;      // empty (and hidden) for a city of the table
  std::string longitude, latitude;
};

// Said beside the place-name field when a name does not fit.
inline constexpr const char* kNameTooLong = "地名最多6个汉字或12个字母";

// Why "确定" did not close the window.
enum class PlaceOutcome { kDone, kNameMissing, kBadLongitude, kBadLatitude };

// Edits the place of the state: a choice in the list makes that place current
// at once; "确定" keeps it, anything else brings back the place of
// NowCityCode.
class PlaceEditor {
 public:
  explicit PlaceEditor(AppState& state);

  const PlaceFields& fields() const { return fields_; }
  // A choice in the list: the place becomes current and the fields show it.
  void Choose(int item);
  // The place-name field changed.  A name the store keeps whole (at most 12
  // bytes: 6 Chinese characters or 12 letters) is taken; a longer one is
  // refused (false), and the field is to show the name before again.
  bool EditName(const std::string& text);
  void EditLongitude(const std::string& text) { fields_.longitude = text; }
  void EditLatitude(const std::string& text) { fields_.latitude = text; }
  // A double click on an empty coordinate field fills in its zero text; true
  // when it did.
  bool FillEmptyLongitude();
  bool FillEmptyLatitude();
  // "确定": kDone stores the place (NowCityCode and, for the own place,
  // MyCity) and makes it current; otherwise nothing is stored, and a faulty
  // coordinate field has been reset to its zero text.
  PlaceOutcome Confirm();
  // Closing without "确定": the place of NowCityCode is current again.
  void Cancel();
  bool confirmed() const { return confirmed_; }

 private:
  void ShowCurrent();

  AppState& state_;
  CurrentPlace opened_;
  PlaceFields fields_;
  bool confirmed_ = false;
};

// ---- Mode 2: the alarms ----

inline constexpr const char* kZeroTime = "00:00";

// "hh:mm" of a minute of the day.
std::string AlarmTimeText(int minutes);
// A typed time: hours 0..23, or hours ":" minutes 0..59, in digits.  The
// minute of the day; nothing for an empty or faulty text.
std::optional<int> ReadAlarmTime(const std::string& text);
// The sound list: item i is sound i (0..4).
std::vector<std::string> SoundListItems();
// The check box of alarm row 0..2: "打开闹钟1".."打开闹钟3".
std::string AlarmBoxLabel(int row);

// The days list of an alarm row: item i is AlarmDays i (每天, 工作日, 休息日).
std::vector<std::string> DaysListItems();
// The hourly announcement's quiet time and its working-days option.
inline constexpr const char* kQuietText = "报时免打扰";
inline constexpr const char* kQuietToText = "至";
inline constexpr const char* kWorkingDaysOnlyText = "只在工作日整点报时";

struct AlarmRow {
  bool on = false;
  std::string time;
  int sound = 0;  // 0..4
  int days = kEveryDay;
};

// The time fields: those of the three alarms (0..2), then the start and the
// end of the hourly announcement's quiet time.
inline constexpr int kQuietFromField = 3, kQuietToField = 4, kTimeFieldCount = 5;

class AlarmEditor {
 public:
  explicit AlarmEditor(const AppState& state);

  const std::array<AlarmRow, 3>& rows() const { return rows_; }
  const std::string& TimeText(int field) const;
  bool workingDaysOnly() const { return workingDaysOnly_; }
  void Tick(int row, bool on) { rows_.at(row).on = on; }
  void EditTime(int field, const std::string& text);
  // A list without a choice (-1) is sound 0, or every day.
  void ChooseSound(int row, int sound) { rows_.at(row).sound = sound >= 0 && sound <= 4 ? sound : 0; }
  void ChooseDays(int row, int days) { rows_.at(row).days = days >= 0 && days <= 2 ? days : kEveryDay; }
  void SetWorkingDaysOnly(bool on) { workingDaysOnly_ = on; }
  bool FillEmptyTime(int field);
  // "确定": the time fields are checked in order (A, B, C, the quiet time's
  // start and end); the first faulty one is reset to "00:00" and returned,
  // and nothing is stored.  Else the alarms and the hourly announcement's
  // rule go into the state and nothing is returned.
  std::optional<int> Confirm(AppState& state);

 private:
  std::array<AlarmRow, 3> rows_;
  std::array<std::string, 2> quiet_;  // "22:00", "07:00"
  bool workingDaysOnly_ = false;
};

// ---- Mode 3: the computer's date ----

inline constexpr const char* kSystemDateQuestion = "是否修改系统日期？";

// The displayed Gregorian date, when it is a valid date of 1980..2099.
std::optional<CivilDate> SystemDateOf(const AppState& state);
// "确定": asks the platform to set the computer's date (the time of day
// stays) to the displayed date; what became of it, or nothing when there is
// no such date.
std::optional<DateChange> SetSystemDate(const AppState& state, Platform& platform);
// What the window says after the request: "" when the date was set, else
// that it was not, and why.
inline constexpr const char* kDateNeedsAdministrator = "系统日期没有修改：修改系统日期需要管理员权限。";
inline constexpr const char* kDateRefused = "系统日期没有修改：系统拒绝了这次修改。";
const char* DateChangeMessage(DateChange change);

}  // namespace tovani::coordinates
