// The context menu of the two calendar windows and what its commands do to
// the application state, without any Win32: the items with their captions,
// ids and check marks; the placement, move-lock and transparency behaviours;
// and the dispatcher that turns a command id into state changes plus the list
// of things the window must then do on the screen.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/file_commands.h"
#include "app/registry.h"
#include "ui/menu/commands.h"

namespace tovani::menu {

// One menu item: a caption and id, or a separator (caption empty, id 0), or
// a sub-menu (children not empty, id 0).
struct MenuItem {
  std::string caption;
  int id = 0;
  std::vector<MenuItem> children;
  bool separator() const { return caption.empty(); }
};

// The whole menu, top level first, in the order the user sees it (made from
// the command table).
const std::vector<MenuItem>& ContextMenu();

// The behaviour state shared by both main windows that is not in AppState.
struct Behaviour {
  int fadeCount = 0;        // 0..15, automatic transparency
  bool menuOpen = false;    // the menu is showing
  bool dropdownOpen = false;  // a drop-down list of the window is open
};

// Whether an item carries a check mark, by its id (0 and unknown ids: no):
// a toggle while its setting is on, a choice while its setting has its value.
bool IsChecked(int id, const AppState& state);
// Whether an item can be chosen.  In the month window the items that act on
// the day window alone (its background picture, what its lists and second
// text line show) are greyed.
bool IsEnabled(int id, bool monthWindow);

// ---- What the windows say ----

// The caption of the program's messages.
inline constexpr const char* kMessageCaption = "青鹭日历";
// Asked before registry use is turned off; "否" leaves everything as it was.
inline constexpr const char* kRegistryOffQuestion =
    "关闭“允许使用注册表”将删除保存的全部纪念日、提醒日、倒计日和设置，删除后无法恢复。\n\n是否关闭？";
// Asked once a run, the first time the user changes a setting that would be
// kept while registry use is off; "是" turns it on.
inline constexpr const char* kKeepQuestion =
    "没有允许使用注册表，这项设置在程序退出后不会保留。\n\n是否允许使用注册表，保存设置和纪念日？";
// Said when the settings could not be written at the end.
inline constexpr const char* kSettingsNotSaved = "设置未能保存";

// Whether the command asks before it acts (turning registry use off).
bool AsksFirst(int id, const AppState& state);
// Whether to offer registry use after a change from before to after: it is
// off, the change touched a setting it would keep, and the question has not
// been asked in this run.
bool OffersRegistryUse(const AppState& before, const AppState& after, bool askedBefore);

// The hot keys (by their letters, in the order R, W, V, X) that another
// program holds, named for the tray icon's balloon; "" when there are none.
std::string HotKeysTakenText(const std::string& letters);

// The transparency amount 0..255 of a fixed level 0..9 (25 * level); the
// automatic one starts opaque (0).
int AmountOfLevel(Transparency level);
// The opacity for an amount: 255 - amount, amount clamped to 0..255.
std::uint8_t AlphaOf(int amount);

// Automatic transparency.  One tick of the 200 ms fade timer: when no list
// is open, the menu is not showing and the count is at most 14, the count
// grows by one and, when the cursor is not over the window or one of its
// controls, the new amount is 15 * count.  Empty when nothing changes.
std::optional<int> FadeTick(Behaviour& behaviour, bool cursorOverWindow);
// A mouse movement over the window or a control: opaque, count 0.
int FadeTouch(Behaviour& behaviour);

// What the window has to do on the screen after a command.  In the order
// listed, the view carries out each one that is set.
enum class Placement { kNone, kSetTopmost, kRemoveTopmost, kEmbed, kLeaveDesktop };

struct Effects {
  bool closeWindow = false;      // switch of window (ReopenFlag set) or exit
  std::vector<Placement> placement;
  std::optional<int> transparencyAmount;  // apply this amount (layered style)
  std::optional<bool> fadeTimer;          // start (true) or stop (false) the 200 ms fade timer
  std::optional<bool> hourlyTimer;        // start or stop the hourly check
  int openTool = 0;                       // the command id of a tool window to open, 0 for none
  bool stopBackgroundMusic = false;       // before a memorial editor
  bool speakTime = false;
  bool choosePicture = false;             // open the picture file dialog (day window only)
  bool goToday = false;
  FileAction file = FileAction::kNone;    // export or import records and settings, through a file dialog
  // Redraw after the command; for a tool window (coordinates, memorial
  // editors) after that window has closed again.
  Refresh refresh = Refresh::kNone;
  friend bool operator==(const Effects&, const Effects&) = default;
};

// The dispatcher.  Clears the menu-open flag, then acts on a known command as
// its row says (a flag turned, a tool opened), or as its case does: changes
// the state (and the registry for the registry-use option) and says what the
// window must do.  monthWindow: the current main window is the month
// window.  The system-date command acts only for a displayed year in
// 1980..2099.  Unknown ids, and items greyed in the window, change nothing
// and return no effects.
Effects Dispatch(int id, AppState& state, Behaviour& behaviour, RegistryStore& registry, bool monthWindow);

}  // namespace tovani::menu
