// The user's memorial days (Gregorian, lunar, Hijri), reminder days and
// countdown day, kept as text values under the settings key.  Entries are not
// cached: every lookup reads the registry again.
#pragma once

#include <cstdint>
#include <optional>
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
  CalendarRules rules = kHistoricalRules;  // the lunar calendar's
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
// The stored countdown day, when it is usable: its Gregorian date and name.
struct CountdownDay {
  CivilDate date;
  std::string name;
};
std::optional<CountdownDay> ReadCountdown(const RecordContext& c);

// An audio file the players accept: a full path ("X:\..." not ending in
// "\") to an existing file whose extension is MID, MP3, WAV or WMA in any
// letter case.
bool IsPlayableAudioPath(const std::string& path, Platform& platform);

// A record text split for the windows: the trimmed name (positions 1..20) and
// the audio path (from position 22).
struct RecordTitle {
  std::string name, audio;
};
RecordTitle SplitRecord(const std::string& record);

// ---- The memorial editor's lines ----
//
// The editor shows each entry as one line: the kind word ("公历", "农历",
// "回历", "提醒" or "倒计"), the month and day ("05月01日（"), the era and year
// ("AD2008年）："), then the name field and an optional blank and audio path.

// The kind words.
inline constexpr const char* kSolarWord = "公历";
inline constexpr const char* kLunarWord = "农历";
inline constexpr const char* kHijriWord = "回历";
inline constexpr const char* kReminderWord = "提醒";
inline constexpr const char* kCountdownWord = "倒计";

// A line: kind word, month and day in two digits, the era and four-digit year
// ("AD2008"), and the rest (name field, optional blank and audio path).
std::string EditorLine(const std::string& kindWord, int month, int day, const std::string& eraYear,
                       const std::string& rest);

// The stored entries as the editor lists them: every usable memorial day
// (Gregorian, then lunar, then Hijri, each by month and day), every usable
// reminder day (by slot), the usable countdown day.  Unusable entries and
// unplayable audio paths are left out, as the lookups leave them out.
std::vector<std::string> ReadMemorialLines(const RecordContext& c);
std::vector<std::string> ReadReminderLines(const RecordContext& c);
std::vector<std::string> ReadCountdownLines(const RecordContext& c);

// The writes of the editor's save.  Each writes the listed entries first and
// removes what is no longer listed only when every write succeeded; when a
// write is refused, the values already written are put back as they were and
// the stored entries are those from before the save.
enum class RecordSave {
  kSaved,
  kRefused,      // nothing changed
  kNotRestored,  // a write was refused, and so was putting back one written before it
};
// The number of reminder days the store holds (slots "A" to "T").
inline constexpr int kReminderLimit = 20;

// Replaces every memorial day by the listed ones (lines of the three
// memorial kinds).
RecordSave WriteMemorialLines(RegistryStore& registry, const std::vector<std::string>& lines);
// Replaces the reminder days by the listed ones, in order.  More than
// kReminderLimit lines are refused, and nothing is written.
RecordSave WriteReminderLines(RegistryStore& registry, const std::vector<std::string>& lines);
// Stores the first listed countdown day, or removes it when there is none.
RecordSave WriteCountdownLines(RegistryStore& registry, const std::vector<std::string>& lines);

}  // namespace tovani
