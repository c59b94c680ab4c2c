// The user's memorial days (Gregorian, lunar, Hijri), reminder days and
// countdown day, kept as text values under the settings key.  Entries are not
// cached: every lookup reads the registry again.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/platform.h"
#include "app/registry.h"

namespace tovani {

enum class MemorialKind { kSolar, kLunar, kHijri };

// The key of a kind: "SolarMemorial", "LunarMemorial", "MuharramMemorial".
const char* MemorialKey(MemorialKind kind);

// What the lookups need besides the registry: the year windows of the records
// in each calendar, the approximate-placement option, and the file system for
// the audio paths.
struct RecordContext {
  RegistryStore& registry;
  Platform& platform;
  std::int32_t solarFirstYear = 1800, solarLastYear = 2200;
  std::int32_t lunarFirstYear = 1799, lunarLastYear = 2200;
  std::int32_t hijriFirstYear = 1214, hijriLastYear = 1663;
  bool nearLocate = false;
};

// The windows of the records and the option, from the application state.
RecordContext MakeRecordContext(const AppState& state, RegistryStore& registry, Platform& platform);

// The validated entry of a memorial day (month code for lunar ones): era and
// year, the name right-aligned in 20 bytes, and " " + audio path when the
// entry has a playable file; "" for a missing or unusable entry.
std::string ReadMemorialRecord(const RecordContext& c, MemorialKind kind, int month, int day);

// The lookups of the calendar windows: the name right-aligned in 20 bytes and
// " " + audio path when there is one, or "".
std::string FindSolarMemorial(const RecordContext& c, std::int32_t year, int month, int day);
std::string FindLunarMemorial(const RecordContext& c, std::int32_t lunarYear, int monthCode, int day);
std::string FindHijriMemorial(const RecordContext& c, std::int32_t hijriYear, int month, int day);
std::string FindReminder(const RecordContext& c, std::int32_t year, int month, int day);
// "距" + name + "还有" + N + "天" for a countdown day 0..1000 days ahead, or "".
std::string CountdownText(const RecordContext& c, std::int32_t year, int month, int day);

// A record text split for the windows: the trimmed name (positions 1..20) and
// the audio path (from position 22).
struct RecordTitle {
  std::string name, audio;
};
RecordTitle SplitRecord(const std::string& record);

// ---- The memorial editor's writes ----
//
// The editor shows each entry as one line: the kind word ("公历", "农历",
// "回历", "提醒" or "倒计"), the month and day ("05月01日（"), the era and year
// ("AD2008年）："), then the name field and an optional blank and audio path.

// Replaces every memorial day by the listed ones (lines of the three
// memorial kinds).
void WriteMemorialLines(RegistryStore& registry, const std::vector<std::string>& lines);
// Replaces the reminder days by the listed ones, in order, at most 20.
void WriteReminderLines(RegistryStore& registry, const std::vector<std::string>& lines);
// Stores the first listed countdown day, or removes it when there is none.
void WriteCountdownLines(RegistryStore& registry, const std::vector<std::string>& lines);

}  // namespace tovani
