#include "app/records.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <set>

#include "app/settings.h"
#include "engine/date_text.h"
#include "engine/dates.h"
#include "engine/hijri.h"
#include "framework/paths.h"
#include "engine/lunar_calendar.h"

namespace tovani {
namespace {

constexpr RegistryRoot kUser = RegistryRoot::kCurrentUser;
constexpr std::size_t kNameBytes = 20;
constexpr int kReminderSlots = kReminderLimit;

std::string Key(const char* sub) { return std::string(kSettingsKey) + "\\" + sub; }

std::string TwoDigits(int n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", n);
  return buf;
}

std::string Padded(const std::string& name) {
  return name.size() >= kNameBytes ? name : std::string(kNameBytes - name.size(), ' ') + name;
}

// Bytes from a 1-based position on; "" past the end.
std::string From(const std::string& s, std::size_t position) {
  return position - 1 < s.size() ? s.substr(position - 1) : std::string();
}

// The name of a stored entry: the bytes from a position on, cut to 20 bytes
// without splitting a character, without blanks around.
std::string NameAt(const std::string& s, std::size_t position) {
  return TrimBlanks(TruncateBytes(From(s, position), static_cast<int>(kNameBytes)));
}

bool IsDigits(const std::string& s) { return !s.empty() && AllCharsIn(s, "0123456789"); }

}  // namespace

bool IsPlayableAudioPath(const std::string& path, Platform& platform) {
  return IsFullPath(path) && HasExtension(path, {"MID", "MP3", "WAV", "WMA"}) && platform.IsExistingFile(path);
}

namespace {

// Era and four year digits ("AD2008", "BC0105") as an astronomical year; 0
// (no such year) for anything else.
std::int32_t YearOf(const std::string& eraAndYear, bool& ok) {
  ok = false;
  if (eraAndYear.size() != 6) return 0;
  const std::string era = eraAndYear.substr(0, 2), digits = eraAndYear.substr(2);
  if ((era != "AD" && era != "BC") || !IsDigits(digits)) return 0;
  const int n = std::stoi(digits);
  if (n == 0) return 0;
  ok = true;
  return era == "AD" ? n : 1 - n;
}

std::int32_t YearOfRecord(const std::string& record) {
  bool ok = false;
  const std::int32_t y = YearOf(record.substr(0, 6), ok);
  return ok ? y : 0;
}

// A memorial entry found for a day counts in year y when its own year is not later.
std::string Counted(const std::string& record, std::int32_t year) {
  if (record.empty() || YearOfRecord(record) > year) return {};
  return record.substr(6);
}

bool ValidInKind(MemorialKind kind, std::int32_t y, int m, int d, CalendarRules rules) {
  switch (kind) {
    case MemorialKind::kSolar: return IsValidDate(y, m, d);
    case MemorialKind::kLunar: return IsValidLunarDate(y, m, d, rules);
    case MemorialKind::kHijri: return IsValidHijriDate(y, m, d);
  }
  return false;
}

}  // namespace

const char* MemorialKey(MemorialKind kind) {
  switch (kind) {
    case MemorialKind::kSolar: return "SolarMemorial";
    case MemorialKind::kLunar: return "LunarMemorial";
    case MemorialKind::kHijri: return "MuharramMemorial";
  }
  return "";
}

std::string ReadMemorialRecord(const RecordContext& c, MemorialKind kind, int month, int day) {
  if (month < 1 || month > 99 || day < 1 || day > 99) return {};
  const std::string text =
      ReadRegistryText(c.registry, kUser, Key(MemorialKey(kind)), TwoDigits(month) + "-" + TwoDigits(day));
  if (text.size() < 7) return {};
  bool ok = false;
  const std::int32_t y = YearOf(text.substr(0, 6), ok);
  const std::string name = NameAt(text, 7);
  if (!ok || name.empty()) return {};
  const auto [first, last] = kind == MemorialKind::kSolar   ? std::pair(c.solarFirstYear, c.solarLastYear)
                             : kind == MemorialKind::kLunar ? std::pair(c.lunarFirstYear, c.lunarLastYear)
                                                            : std::pair(c.hijriFirstYear, c.hijriLastYear);
  if (y < first || y > last || !ValidInKind(kind, y, month, day, c.rules)) return {};
  std::string record = text.substr(0, 6) + Padded(name);
  const std::string audio = From(text, 28);
  if (IsPlayableAudioPath(audio, c.platform)) record += " " + audio;
  return record;
}

std::string FindSolarMemorial(const RecordContext& c, std::int32_t y, int m, int d) {
  if (!IsValidDate(y, m, d)) return {};
  std::string found = Counted(ReadMemorialRecord(c, MemorialKind::kSolar, m, d), y);
  if (found.empty() && c.nearLocate && m == 2 && d == 28 && !IsValidDate(y, 2, 29)) {
    found = Counted(ReadMemorialRecord(c, MemorialKind::kSolar, 2, 29), y);
  }
  return found;
}

std::string FindLunarMemorial(const RecordContext& c, std::int32_t y, int m, int d) {
  if (!IsValidLunarDate(y, m, d, c.rules)) return {};
  std::string found = Counted(ReadMemorialRecord(c, MemorialKind::kLunar, m, d), y);
  if (!c.nearLocate) return found;
  const bool noLeap = m <= 12 && !IsValidLunarDate(y, m + 12, 1, c.rules);
  const bool short29 = d == 29 && !IsValidLunarDate(y, m, 30, c.rules);
  if (found.empty() && noLeap) found = Counted(ReadMemorialRecord(c, MemorialKind::kLunar, m + 12, d), y);
  if (found.empty() && short29) found = Counted(ReadMemorialRecord(c, MemorialKind::kLunar, m, 30), y);
  if (found.empty() && short29 && noLeap) found = Counted(ReadMemorialRecord(c, MemorialKind::kLunar, m + 12, 30), y);
  return found;
}

std::string FindHijriMemorial(const RecordContext& c, std::int32_t y, int m, int d) {
  if (!IsValidHijriDate(y, m, d)) return {};
  std::string found = Counted(ReadMemorialRecord(c, MemorialKind::kHijri, m, d), y);
  if (found.empty() && c.nearLocate && m == 12 && d == 29 && !IsValidHijriDate(y, 12, 30)) {
    found = Counted(ReadMemorialRecord(c, MemorialKind::kHijri, 12, 30), y);
  }
  return found;
}

std::string FindReminder(const RecordContext& c, std::int32_t y, int m, int d) {
  if (y < 1800 || y > 2200 || !IsValidDate(y, m, d)) return {};
  const std::string key = CalendarDateText(y, m, d);
  for (int slot = 0; slot < kReminderSlots; ++slot) {
    const std::string text = ReadRegistryText(c.registry, kUser, Key("SolarReminded"), std::string(1, 'A' + slot));
    if (text.compare(0, key.size(), key) != 0 || text.size() < key.size()) continue;
    const std::string name = NameAt(text, 13);
    if (name.empty()) continue;
    std::string record = Padded(name);
    const std::string audio = From(text, 34);
    if (IsPlayableAudioPath(audio, c.platform)) record += " " + audio;
    return record;
  }
  return {};
}

std::optional<CountdownDay> ReadCountdown(const RecordContext& c) {
  const std::string text = ReadRegistryText(c.registry, kUser, kSettingsKey, "MyCountdownDay");
  if (text.size() < 13) return std::nullopt;
  const std::string era = text.substr(0, 2), date = text.substr(2, 10);
  if ((era != "AD" && era != "BC") || NormalizeDateInput(date) != date) return std::nullopt;
  std::string name = NameAt(text, 13);
  if (name.empty()) return std::nullopt;
  const int number = std::stoi(date.substr(6, 4));
  const std::int32_t year = era == "AD" ? number : 1 - number;
  const int month = std::stoi(date.substr(0, 2)), day = std::stoi(date.substr(3, 2));
  if (year < 1800 || year > 2200 || !IsValidDate(year, month, day)) return std::nullopt;
  return CountdownDay{CivilDate{year, month, day}, std::move(name)};
}

std::string CountdownText(const RecordContext& c, std::int32_t y, int m, int d) {
  if (!IsValidDate(y, m, d)) return {};
  const auto countdown = ReadCountdown(c);
  if (!countdown) return {};
  const long long left = static_cast<long long>(DateToDayNumber(countdown->date)) - DateToDayNumber(y, m, d);
  if (left < 0 || left > 1000) return {};
  return "距" + countdown->name + "还有" + std::to_string(left) + "天";
}

RecordContext MakeRecordContext(const AppState& s, RegistryStore& registry, Platform& platform) {
  RecordContext c{registry, platform};
  c.solarFirstYear = s.RecordLowestYear;
  c.solarLastYear = s.RecordHighestYear;
  c.lunarFirstYear = s.RecordLunarFirstYear;
  c.lunarLastYear = s.RecordLunarLastYear;
  c.hijriFirstYear = s.RecordHijriFirstYear;
  c.hijriLastYear = s.RecordHijriLastYear;
  c.nearLocate = s.NearLocateMemorialFlag;
  c.rules = s.Rules();
  return c;
}

RecordTitle SplitRecord(const std::string& record) {
  return {TrimBlanks(record.substr(0, std::min<std::size_t>(record.size(), kNameBytes))), From(record, 22)};
}

// ---- Editor lines ----

std::string EditorLine(const std::string& kindWord, int month, int day, const std::string& eraYear,
                       const std::string& rest) {
  return kindWord + TwoDigits(month) + "月" + TwoDigits(day) + "日（" + eraYear + "年）：" + rest;
}

std::vector<std::string> ReadMemorialLines(const RecordContext& c) {
  struct Kind {
    MemorialKind kind;
    const char* word;
    int months, days;
  };
  std::vector<std::string> lines;
  for (const Kind& k : {Kind{MemorialKind::kSolar, kSolarWord, 12, 31}, Kind{MemorialKind::kLunar, kLunarWord, 24, 30},
                        Kind{MemorialKind::kHijri, kHijriWord, 12, 30}}) {
    // The days that have a value ("mm-dd"), by month and day: only those
    // are read.
    std::set<std::pair<int, int>> days;
    for (const std::string& name : c.registry.ValueNames(kUser, Key(MemorialKey(k.kind)))) {
      if (name.size() != 5 || name[2] != '-' || !IsDigits(name.substr(0, 2)) || !IsDigits(name.substr(3))) continue;
      const int m = std::stoi(name.substr(0, 2)), d = std::stoi(name.substr(3));
      if (m >= 1 && m <= k.months && d >= 1 && d <= k.days) days.emplace(m, d);
    }
    for (const auto& [m, d] : days) {
      const std::string record = ReadMemorialRecord(c, k.kind, m, d);
      if (!record.empty()) lines.push_back(EditorLine(k.word, m, d, record.substr(0, 6), record.substr(6)));
    }
  }
  return lines;
}

namespace {

// A stored reminder or countdown entry: era, the date as mm-dd-yyyy, the name
// from position 13.  The date lies in 1800..2200.
struct DatedEntry {
  int month = 0, day = 0;
  std::string eraYear, name;
};

std::optional<DatedEntry> ParseDatedEntry(const std::string& text) {
  if (text.size() < 13) return std::nullopt;
  const std::string era = text.substr(0, 2), date = text.substr(2, 10);
  if ((era != "AD" && era != "BC") || NormalizeDateInput(date) != date) return std::nullopt;
  DatedEntry e{std::stoi(date.substr(0, 2)), std::stoi(date.substr(3, 2)), era + date.substr(6, 4), NameAt(text, 13)};
  bool ok = false;
  const std::int32_t year = YearOf(e.eraYear, ok);
  if (!ok || e.name.empty() || year < 1800 || year > 2200 || !IsValidDate(year, e.month, e.day)) return std::nullopt;
  return e;
}

}  // namespace

std::vector<std::string> ReadReminderLines(const RecordContext& c) {
  std::vector<std::string> lines;
  for (int slot = 0; slot < kReminderSlots; ++slot) {
    const std::string text = ReadRegistryText(c.registry, kUser, Key("SolarReminded"), std::string(1, 'A' + slot));
    const auto e = ParseDatedEntry(text);
    if (!e) continue;
    std::string rest = Padded(e->name);
    const std::string audio = From(text, 34);
    if (IsPlayableAudioPath(audio, c.platform)) rest += " " + audio;
    lines.push_back(EditorLine(kReminderWord, e->month, e->day, e->eraYear, rest));
  }
  return lines;
}

std::vector<std::string> ReadCountdownLines(const RecordContext& c) {
  const auto e = ParseDatedEntry(ReadRegistryText(c.registry, kUser, kSettingsKey, "MyCountdownDay"));
  if (!e) return {};
  return {EditorLine(kCountdownWord, e->month, e->day, e->eraYear, Padded(e->name))};
}

// ---- Editor writes ----

namespace {

// The fields of an editor line, by byte position; empty when the line does
// not have the editor's layout.
struct EditorFields {
  std::string kind, month, day, eraYear, rest;  // rest: the name field and what follows
};

std::optional<EditorFields> ParseEditorLine(const std::string& line) {
  if (line.size() < 27) return std::nullopt;
  EditorFields e{line.substr(0, 4), line.substr(4, 2), line.substr(8, 2), line.substr(14, 6), line.substr(26)};
  if (!IsDigits(e.month) || !IsDigits(e.day)) return std::nullopt;
  bool ok = false;
  YearOf(e.eraYear, ok);
  if (!ok) return std::nullopt;
  return e;
}

struct ValueWrite {
  std::string key, name, data;
};

// Replaces the values of the keys by the writes: every write first; then, when
// all of them succeeded, the values of the keys that were not written are
// removed (and a key left without any, with them).  When a write fails, the
// values written before it are put back as they were (a key that the save
// created goes again): kRefused, or kNotRestored when putting one back was
// refused too.
RecordSave ReplaceValues(RegistryStore& registry, const std::vector<std::string>& keys,
                         const std::vector<ValueWrite>& writes) {
  std::vector<std::optional<std::string>> before;
  before.reserve(writes.size());
  for (const ValueWrite& w : writes) before.push_back(registry.Get(kUser, w.key, w.name));
  std::vector<bool> existed;
  for (const std::string& key : keys) existed.push_back(registry.KeyExists(kUser, key));
  for (std::size_t i = 0; i < writes.size(); ++i) {
    if (WriteRegistryText(registry, kUser, writes[i].key, writes[i].name, writes[i].data)) continue;
    bool restored = true;
    for (std::size_t j = i; j-- > 0;) {
      const ValueWrite& w = writes[j];
      if (before[j]) {
        restored = registry.Set(kUser, w.key, w.name, *before[j]) && restored;
      } else {
        registry.RemoveValue(kUser, w.key, w.name);
      }
    }
    for (std::size_t k = 0; k < keys.size(); ++k) {
      if (!existed[k] && registry.ValueNames(kUser, keys[k]).empty()) registry.RemoveKey(kUser, keys[k]);
    }
    return restored ? RecordSave::kRefused : RecordSave::kNotRestored;
  }
  for (const std::string& key : keys) {
    std::set<std::string> written;
    for (const ValueWrite& w : writes) {
      if (w.key == key) written.insert(FoldRegistryName(w.name));
    }
    if (written.empty()) {
      DeleteRegistryKey(registry, kUser, key);
      continue;
    }
    for (const std::string& name : registry.ValueNames(kUser, key)) {
      if (written.count(FoldRegistryName(name)) == 0) DeleteRegistryValue(registry, kUser, key, name);
    }
  }
  return RecordSave::kSaved;
}

}  // namespace

RecordSave WriteMemorialLines(RegistryStore& registry, const std::vector<std::string>& lines) {
  std::vector<ValueWrite> writes;
  for (const std::string& line : lines) {
    const auto e = ParseEditorLine(line);
    if (!e) continue;
    const char* key = e->kind == kSolarWord ? "SolarMemorial" : e->kind == kLunarWord ? "LunarMemorial"
                    : e->kind == kHijriWord ? "MuharramMemorial" : nullptr;
    if (key == nullptr) continue;
    writes.push_back({Key(key), e->month + "-" + e->day, e->eraYear + e->rest});
  }
  return ReplaceValues(registry, {Key("SolarMemorial"), Key("LunarMemorial"), Key("MuharramMemorial")}, writes);
}

RecordSave WriteReminderLines(RegistryStore& registry, const std::vector<std::string>& lines) {
  std::vector<ValueWrite> writes;
  for (const std::string& line : lines) {
    const auto e = ParseEditorLine(line);
    if (!e) continue;
    // A line without a slot would be lost: nothing is written.
    if (writes.size() == static_cast<std::size_t>(kReminderSlots)) return RecordSave::kRefused;
    const std::string data = e->eraYear.substr(0, 2) + e->month + "-" + e->day + "-" + e->eraYear.substr(2) + e->rest;
    writes.push_back({Key("SolarReminded"), std::string(1, static_cast<char>('A' + writes.size())), data});
  }
  return ReplaceValues(registry, {Key("SolarReminded")}, writes);
}

RecordSave WriteCountdownLines(RegistryStore& registry, const std::vector<std::string>& lines) {
  std::string data;  // "" removes the value
  for (const std::string& line : lines) {
    const auto e = ParseEditorLine(line);
    if (!e) continue;
    data = e->eraYear.substr(0, 2) + e->month + "-" + e->day + "-" + e->eraYear.substr(2) +
           e->rest.substr(0, std::min<std::size_t>(e->rest.size(), kNameBytes));
    break;
  }
  // One value: a refused write leaves it as it was.
  return WriteRegistryText(registry, kUser, kSettingsKey, "MyCountdownDay", data) ? RecordSave::kSaved
                                                                                   : RecordSave::kRefused;
}

}  // namespace tovani
