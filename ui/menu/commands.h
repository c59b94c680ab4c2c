// The commands of the context menu, in one table: each command's id, its
// caption, what kind of command it is, the setting it shows or the tool
// window it opens, what is drawn again after it and in which window it
// applies; and, between them, the menu's separators and sub-menus in the
// order the user sees them.  The menu, its check marks and greying, the
// dispatcher and the program's list of tool windows are all made from it, so
// that a new command is one row here (and, for a command that does more than
// turn a flag, a case in the dispatcher).
#pragma once

#include <span>

#include "app/app_state.h"

namespace tovani::menu {

// Command ids of the menu items (and of the tool windows they open).  They
// are the ids of WM_COMMAND, which other programs may send too: they never
// change.
enum Command : int {
  kShowDayWindow = 3025,
  kShowMonthWindow = 3026,
  kAlwaysOnTop = 3035,
  kEmbedInDesktop = 3036,
  kLockPosition = 3037,
  kTransparency0 = 3040,  // .. 3049: levels 0..9
  kTransparencyAuto = 3050,
  kCoordinates = 3055,
  kEditMemorials = 3060,
  kEditReminders = 3061,
  kEditCountdown = 3062,
  kEditAlarms = 3063,
  kCalcJulianDay = 3065,
  kCalcInterval = 3066,
  kCalcSexagenary = 3067,
  kCalcConvert = 3068,
  kTableMonths = 3070,
  kTableTerms = 3071,
  kTableMoons = 3072,
  kTableSun = 3073,
  kSearchMonths = 3075,
  kSearchDays = 3076,
  kWeather = 3077,
  kSpeakTime = 3080,
  kOptionRegistry = 3085,
  kOptionAutoRun = 3086,
  kOptionHourly = 3087,
  kOptionGanZhiFromNewYear = 3090,
  kOptionNoBackgroundMusic = 3091,
  kOptionModernAncient = 3092,
  kOptionNearLocate = 3093,
  kOptionMondayFirst = 3094,
  kOptionDynasty = 3095,
  kOptionInfoFestivals = 3096,
  kOptionInfoSunTimes = 3097,
  kOptionInfoTwilight = 3098,
  kOptionTraditional = 3099,
  kOptionPicture = 3100,
  kExportRecords = 3101,
  kImportRecords = 3102,
  kGoToday = 3105,
  kSetSystemDate = 3106,
  kHelp = 3110,
  kExit = 3111,
};

// What a window draws again after a command.  kAll: the ranges changed,
// everything is built again.
enum class Refresh { kNone, kTexts, kLists, kAll };

// What a row of the table is.
enum class Kind {
  kSeparator,   // a line between items
  kSubMenu,     // a sub-menu: the rows after it, up to its kEndSubMenu
  kEndSubMenu,
  kToggle,      // turns a setting on and off; checked while it is on
  kChoice,      // chooses a value of a setting; checked while the setting has it
  kTool,        // opens a tool window on one of its pages
  kAction,      // does a thing once
};

// The settings that toggles and choices show.
enum class Setting {
  kNone,
  kFlag,          // a flag of the state (the row's flag)
  kWindow,        // the calendar window shown: WindowKind
  kLayer,         // Layer
  kMoveLock,      // MoveLock
  kTransparency,  // the level, 0..9, or 10 for automatic
  kDayInfo,       // what the day window's second line tells: DayInfo
};

// The tool windows; the program knows how to open each.
enum class Tool { kNone, kCoordinates, kMemorialEditor, kCalculator, kTables, kSearch, kHelp, kWeather };

struct CommandRow {
  Kind kind = Kind::kSeparator;
  int id = 0;
  const char* caption = "";
  Setting setting = Setting::kNone;
  bool AppState::*flag = nullptr;  // Setting::kFlag
  // A choice: the value it chooses; a toggle of a setting that is not a
  // flag: the value while it is on; a tool: the page it opens on.
  int value = 0;
  Tool tool = Tool::kNone;
  Refresh refresh = Refresh::kNone;  // drawn again after it (after a tool: once the tool has closed)
  bool dayWindowOnly = false;        // it concerns the day window alone: greyed in the month window
  bool stopsMusic = false;           // the day's music stops before the tool opens
};

// Every row, in the order the menu shows them.
std::span<const CommandRow> CommandTable();
// The row of a command id; nullptr for an id that is not a command.
const CommandRow* FindCommand(int id);
// The value a setting has in the state (a flag: 0 or 1).
int SettingValue(const CommandRow& row, const AppState& state);

}  // namespace tovani::menu
