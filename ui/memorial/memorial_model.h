// The memorial editor's rules, without any Win32: the texts of its three
// kinds, the record list and its lines, adding (a line replaced in place by
// its key), choosing, deleting and saving, and what a dropped file does to
// the audio field.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/platform.h"
#include "app/records.h"
#include "app/registry.h"
#include "engine/calendar_range.h"

namespace tovani::memorial {

// The editor's kinds, as the menu commands open them.
enum EditorKind : int { kMemorials = 1, kReminders = 2, kCountdown = 3 };
// The rows of date lists: Gregorian, lunar, Hijri.
enum Row : int { kGregorianRow = 0, kLunarRow = 1, kHijriRow = 2, kRowCount = 3 };

// The Gregorian years the date lists cover.
inline constexpr int kFirstYear = 1800, kLastYear = 2200;

// "编辑纪念日", "编辑提醒日", "编辑倒计日".
const char* Caption(int kind);
// The title field's tooltip: "纪念事项", "提醒事项", "倒计事项".
const char* TitleTip(int kind);
// The add button beside a row: "添加公历纪念日" .. "添加回历纪念日" for memorial
// days; every row "添加公历提醒日" or "添加公历倒计日" for the other kinds.
const char* AddCaption(int kind, int row);
// Said in the window when a save failed: nothing changed, or the records
// could not all be put back as they were.
inline constexpr const char* kSaveFailedText = "保存失败，原有的记录未改动。";
inline constexpr const char* kNotRestoredText = "保存失败，原有的记录未能全部恢复。";
// Said when a reminder day is added to a full list.
inline constexpr const char* kReminderLimitText = "提醒日最多20个，请先删除一个再添加。";

// The displayed date as the date lists can show it: moved into 1800..2200.
CalendarTriple OpeningDate(const CalendarTriple& displayed);

// "AD" and four digits of the year, or "BC" and four digits of 1 - year.
std::string EraYear(std::int32_t year);

// The record text of a line: the title without blanks around, cut to 20
// bytes without splitting a two-byte character, right-aligned in 20 bytes;
// then " " and the audio path (blanks around removed) when there is one.
std::string RecordText(const std::string& title, const std::string& audio);

// What a line stands for: the row of its calendar, its date (month code for
// lunar ones), its title and audio path.
struct LineFields {
  int row = kGregorianRow;
  CalendarTriple date{};
  std::string title, audio;
  friend bool operator==(const LineFields&, const LineFields&) = default;
};
std::optional<LineFields> FieldsOfLine(const std::string& line);
// The day of a line's date in the three calendars; nothing for a date that
// lies outside the date lists.
std::optional<DayInCalendars> DayOfLine(const LineFields& fields, CalendarRules rules);

// The audio field after a file was dropped on the editor (its path as
// program text, and whether that text names the same file, that is whether
// the path has a code-page-936 form): the path of an existing audio file; ""
// (the field emptied) for a path that has no such form; nothing (the field
// as it was) for any other file.
std::optional<std::string> DroppedAudio(const std::string& path, bool hasCodePageForm, Platform& platform);

class MemorialEditor {
 public:
  // Opened with the stored records of the kind while registry use is on,
  // empty (and not editable) while it is off.
  MemorialEditor(int kind, bool registryUse, std::vector<std::string> lines, CalendarRules rules);
  static MemorialEditor Open(int kind, bool registryUse, const RecordContext& records);

  int kind() const { return kind_; }
  // While registry use is off, every control but the cancel button is off.
  bool editable() const { return editable_; }
  const std::vector<std::string>& lines() const { return lines_; }
  // The chosen line; -1 for none.
  int chosen() const { return chosen_; }
  // What the last action has to tell: "", a refused save (kSaveFailedText,
  // kNotRestoredText) or a full list of reminder days (kReminderLimitText).
  const std::string& status() const { return status_; }

  // The key of a line for a date of a row: kind word, month and day for
  // memorial days ("公历05月01日"), with the era and year for reminder days
  // ("提醒05月01日（AD2008年）："), the kind word alone for the countdown.
  std::string KeyOf(int row, const CalendarTriple& date) const;

  // An add button: the date of the button's row (memorial days) or the
  // Gregorian date (the other kinds), the title and the audio path.  A line
  // beginning with the key is replaced in place, otherwise the line is added;
  // either becomes the chosen line.  False, and nothing changes, for an
  // invalid date, an empty title, or an editor that is not editable; false
  // with kReminderLimitText for a new reminder day when kReminderLimit are
  // listed.
  bool Add(int row, const DayInCalendars& shown, const std::string& title, const std::string& audio);
  // A line of the list was chosen: what it stands for (nothing for an index
  // out of the list).
  std::optional<LineFields> Choose(int index);
  // Removes the chosen line; false when there is none.
  bool Delete();
  // Writes the list back (the records of the kind are replaced by it).  False
  // when the store refused a write: the status then says so, and the stored
  // records are those from before.
  bool Save(RegistryStore& registry);

 private:
  int kind_;
  bool editable_;
  CalendarRules rules_;  // the lunar calendar's
  std::vector<std::string> lines_;
  std::vector<std::optional<LineFields>> fields_;  // what each line stands for
  int chosen_ = -1;
  std::string status_;
};

}  // namespace tovani::memorial
