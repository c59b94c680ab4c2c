#include "ui/memorial/memorial_model.h"

#include <cstdio>
#include <utility>

#include "engine/date_text.h"
#include "engine/dates.h"
#include "engine/hijri.h"
#include "engine/lunar_calendar.h"

namespace tovani::memorial {
namespace {

constexpr std::size_t kTitleBytes = 20;

const char* const kKindWords[] = {kSolarWord, kLunarWord, kHijriWord};

std::string TwoDigits(int n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", n);
  return buf;
}

bool ValidInRow(int row, const CalendarTriple& d, CalendarRules rules) {
  switch (row) {
    case kGregorianRow: return IsValidDate(d.year, d.month, d.day);
    case kLunarRow: return IsValidLunarDate(d.year, d.month, d.day, rules);
    case kHijriRow: return IsValidHijriDate(d.year, d.month, d.day);
    default: return false;
  }
}

bool AllDigits(const std::string& s) {
  return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

const char* Caption(int kind) {
  switch (kind) {
    case kReminders: return "编辑提醒日";
    case kCountdown: return "编辑倒计日";
    default: return "编辑纪念日";
  }
}

const char* TitleTip(int kind) {
  switch (kind) {
    case kReminders: return "提醒事项";
    case kCountdown: return "倒计事项";
    default: return "纪念事项";
  }
}

const char* AddCaption(int kind, int row) {
  if (kind == kReminders) return "添加公历提醒日";
  if (kind == kCountdown) return "添加公历倒计日";
  switch (row) {
    case kLunarRow: return "添加农历纪念日";
    case kHijriRow: return "添加回历纪念日";
    default: return "添加公历纪念日";
  }
}

CalendarTriple OpeningDate(const CalendarTriple& displayed) {
  const CalendarTriple first{kFirstYear, 1, 1}, last{kLastYear, 12, 31};
  if (!IsValidDate(displayed.year, displayed.month, displayed.day)) return first;
  const DayNumber z = DateToDayNumber(displayed.year, displayed.month, displayed.day);
  if (z < DateToDayNumber(first.year, first.month, first.day)) return first;
  if (z > DateToDayNumber(last.year, last.month, last.day)) return last;
  return displayed;
}

std::string EraYear(std::int32_t year) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%s%04d", year > 0 ? "AD" : "BC", static_cast<int>(year > 0 ? year : 1 - year));
  return buf;
}

std::string RecordText(const std::string& title, const std::string& audio) {
  const std::string name = TrimBlanks(TruncateBytes(TrimBlanks(title), static_cast<int>(kTitleBytes)));
  std::string text = std::string(kTitleBytes - name.size(), ' ') + name;
  const std::string path = TrimBlanks(audio);
  if (!path.empty()) text += " " + path;
  return text;
}

std::optional<LineFields> FieldsOfLine(const std::string& line) {
  if (line.size() < 26) return std::nullopt;
  const std::string word = line.substr(0, 4), month = line.substr(4, 2), day = line.substr(8, 2);
  const std::string era = line.substr(14, 2), digits = line.substr(16, 4);
  if (!AllDigits(month) || !AllDigits(day) || !AllDigits(digits) || (era != "AD" && era != "BC")) return std::nullopt;
  LineFields f;
  if (word == kLunarWord) {
    f.row = kLunarRow;
  } else if (word == kHijriWord) {
    f.row = kHijriRow;
  } else if (word == kSolarWord || word == kReminderWord || word == kCountdownWord) {
    f.row = kGregorianRow;
  } else {
    return std::nullopt;
  }
  const int n = std::stoi(digits);
  f.date = {era == "AD" ? n : 1 - n, std::stoi(month), std::stoi(day)};
  const RecordTitle t = SplitRecord(line.substr(26));
  f.title = t.name;
  f.audio = t.audio;
  return f;
}

std::optional<DayInCalendars> DayOfLine(const LineFields& f, CalendarRules rules) {
  if (!ValidInRow(f.row, f.date, rules)) return std::nullopt;
  const std::optional<DayInCalendars> day = f.row == kLunarRow  ? FromLunar(f.date, rules)
                                            : f.row == kHijriRow ? FromHijri(f.date, rules)
                                                                 : FromGregorian(f.date, rules);
  if (!day || day->gregorian.year < kFirstYear || day->gregorian.year > kLastYear) return std::nullopt;
  return day;
}

std::optional<std::string> DroppedAudio(const std::string& path, bool hasCodePageForm, Platform& platform) {
  if (!hasCodePageForm) return std::string();
  if (!IsPlayableAudioPath(path, platform)) return std::nullopt;
  return path;
}

// ---- MemorialEditor ----

MemorialEditor::MemorialEditor(int kind, bool registryUse, std::vector<std::string> lines, CalendarRules rules)
    : kind_(kind == kReminders || kind == kCountdown ? kind : kMemorials),
      editable_(registryUse),
      rules_(rules),
      lines_(registryUse ? std::move(lines) : std::vector<std::string>{}) {
  // What each stored line stands for is read once from its stored layout;
  // lines added here carry the date they were made from.
  for (const std::string& line : lines_) fields_.push_back(FieldsOfLine(line));
}

MemorialEditor MemorialEditor::Open(int kind, bool registryUse, const RecordContext& records) {
  if (!registryUse) return MemorialEditor(kind, false, {}, records.rules);
  switch (kind) {
    case kReminders: return MemorialEditor(kind, true, ReadReminderLines(records), records.rules);
    case kCountdown: return MemorialEditor(kind, true, ReadCountdownLines(records), records.rules);
    default: return MemorialEditor(kind, true, ReadMemorialLines(records), records.rules);
  }
}

std::string MemorialEditor::KeyOf(int row, const CalendarTriple& date) const {
  switch (kind_) {
    case kReminders:
      return std::string(kReminderWord) + TwoDigits(date.month) + "月" + TwoDigits(date.day) + "日（" +
             EraYear(date.year) + "年）：";
    case kCountdown: return kCountdownWord;
    default: return std::string(kKindWords[row]) + TwoDigits(date.month) + "月" + TwoDigits(date.day) + "日";
  }
}

bool MemorialEditor::Add(int row, const DayInCalendars& shown, const std::string& title, const std::string& audio) {
  if (!editable_ || row < 0 || row >= kRowCount) return false;
  if (kind_ != kMemorials) row = kGregorianRow;
  const CalendarTriple& date = row == kLunarRow ? shown.lunar : row == kHijriRow ? shown.hijri : shown.gregorian;
  if (!ValidInRow(row, date, rules_) || TrimBlanks(title).empty()) return false;
  const char* word = kind_ == kReminders ? kReminderWord : kind_ == kCountdown ? kCountdownWord : kKindWords[row];
  const std::string line = EditorLine(word, date.month, date.day, EraYear(date.year), RecordText(title, audio));
  const std::string key = KeyOf(row, date);
  const LineFields fields{row, date, TrimBlanks(TruncateBytes(TrimBlanks(title), static_cast<int>(kTitleBytes))),
                          TrimBlanks(audio)};
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].compare(0, key.size(), key) == 0) {
      lines_[i] = line;
      fields_[i] = fields;
      chosen_ = static_cast<int>(i);
      status_.clear();
      return true;
    }
  }
  if (kind_ == kReminders && lines_.size() >= static_cast<std::size_t>(kReminderLimit)) {
    status_ = kReminderLimitText;
    return false;
  }
  lines_.push_back(line);
  fields_.push_back(fields);
  chosen_ = static_cast<int>(lines_.size()) - 1;
  status_.clear();
  return true;
}

std::optional<LineFields> MemorialEditor::Choose(int index) {
  if (index < 0 || index >= static_cast<int>(lines_.size())) return std::nullopt;
  chosen_ = index;
  return fields_[index];
}

bool MemorialEditor::Delete() {
  if (!editable_ || chosen_ < 0 || chosen_ >= static_cast<int>(lines_.size())) return false;
  lines_.erase(lines_.begin() + chosen_);
  fields_.erase(fields_.begin() + chosen_);
  chosen_ = -1;
  status_.clear();
  return true;
}

bool MemorialEditor::Save(RegistryStore& registry) {
  if (!editable_) return false;
  RecordSave saved = RecordSave::kRefused;
  switch (kind_) {
    case kReminders: saved = WriteReminderLines(registry, lines_); break;
    case kCountdown: saved = WriteCountdownLines(registry, lines_); break;
    default: saved = WriteMemorialLines(registry, lines_); break;
  }
  status_ = saved == RecordSave::kSaved     ? ""
            : saved == RecordSave::kRefused ? kSaveFailedText
                                            : kNotRestoredText;
  return saved == RecordSave::kSaved;
}

}  // namespace tovani::memorial
