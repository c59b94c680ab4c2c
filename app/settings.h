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

// Reads every setting into the state, each with its test and fallback;
// nothing but "Version" when that is not exactly "4.1".  Selects the current
// place and sets FORMTransFlag to 0.
void LoadSettings(AppState& state, RegistryStore& registry, Platform& platform);
// Writes every setting and "Version" (registry use on), or removes the key,
// its records and the auto-run value (registry use off).
void SaveSettings(const AppState& state, RegistryStore& registry);
// The option "允许使用注册表(&U)".
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
// ASCII letters upper-cased, two-byte characters left alone.
std::string UpperCaseAscii(const std::string& text);

}  // namespace tovani
