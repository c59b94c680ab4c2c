// The settings store: the values under HKEY_CURRENT_USER\Software\Tovani and
// the auto-run value, loaded once at start and saved once at the end.
#pragma once

#include <optional>
#include <string>

#include "app/app_state.h"
#include "app/platform.h"
#include "app/registry.h"

namespace tovani {

inline constexpr const char* kVersionText = "4.1";

// Reads every setting into the state, each with its test and fallback, and
// AutoRunFlag from the user's Run key; nothing but "Version" when that is not
// exactly "4.1" (every setting then takes its default, and a key that is there
// all the same is marked ForeignSettingsKey).  Selects the current place and
// sets FORMTransFlag to 0.  An own place whose name is missing but whose
// coordinates are both stored is the place named "0", the one name that
// cannot be stored as it is.
void LoadSettings(AppState& state, RegistryStore& registry, Platform& platform);
// Registry use on: writes "Version" and every setting, and sets or removes the
// auto-run value.  Off: removes the key with its records and the auto-run
// value, unless the key is a foreign one, which is left as it is.  False when
// the registry refused a write (every write is still tried).
bool SaveSettings(const AppState& state, RegistryStore& registry);
// Whether a setting the user chooses (an option, auto-run, the alarms, the
// place, the picture) differs between the two states as it would be stored;
// the window's place and transparency and the window shown do not count.
bool ChangesKeptSettings(const AppState& before, const AppState& after);
// While registry use is off, the values under the key that take effect only
// with it and are there all the same (put there by hand or by another copy:
// VersionPage, WeatherHost, the Holidays key, the auto-run value), told in
// one line; "" when registry use is on or none is there.
std::string IgnoredWhileRegistryOff(const AppState& state, RegistryStore& registry);

// The option "允许使用注册表(&U)".  Either way the key becomes the program's
// own, to be written or removed at the end.
void ToggleRegistryUse(AppState& state, RegistryStore& registry);
// The option "开机自动运行(&P)": the value itself changes at the end.
void ToggleAutoRun(AppState& state);

// ---- Stored forms ----

// The value of a text that is exactly the decimal text of an integer (no
// blanks, no sign but a minus, no leading zeros, no fraction).
std::optional<long long> CanonicalInteger(const std::string& text);
// The decimal text of a coordinate, which reads back to the same value and
// the same text.  Zero is written "-0": "0" cannot be stored.
std::string CoordinateText(double value);
// The value of a text that is exactly the decimal text of its own value.
std::optional<double> CanonicalNumber(const std::string& text);
// The hours the hourly announcement keeps silent, as minutes of the day: from
// (included) to (excluded), across midnight when to comes first; equal: none.
struct QuietTime {
  int from = 22 * 60, to = 7 * 60;
  friend bool operator==(const QuietTime&, const QuietTime&) = default;
};
inline constexpr const char* kDefaultQuietTime = "22:00-07:00";
// "HH:MM-HH:MM" exactly; nothing for any other text.
std::optional<QuietTime> ReadQuietTime(const std::string& text);
std::string QuietTimeText(const QuietTime& quiet);

// ASCII letters upper-cased, two-byte characters left alone.
std::string UpperCaseAscii(const std::string& text);

}  // namespace tovani
