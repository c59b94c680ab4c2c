#include "ui/menu/menu_model.h"

#include <algorithm>

#include "app/settings.h"
#include "app/startup.h"
#include "engine/lunar_calendar.h"
#include "engine/solar_terms.h"

namespace tovani::menu {
namespace {

// The rows from the first one on, up to the end of their level (the end of
// the table or of a sub-menu), as menu items; first is left after that end.
std::vector<MenuItem> BuildLevel(std::span<const CommandRow> rows, std::size_t& next) {
  std::vector<MenuItem> items;
  while (next < rows.size()) {
    const CommandRow& row = rows[next++];
    switch (row.kind) {
      case Kind::kEndSubMenu: return items;
      case Kind::kSeparator: items.push_back({}); break;
      case Kind::kSubMenu: items.push_back({row.caption, 0, BuildLevel(rows, next)}); break;
      default: items.push_back({row.caption, row.id, {}}); break;
    }
  }
  return items;
}

std::vector<MenuItem> BuildMenu() {
  std::size_t next = 0;
  return BuildLevel(CommandTable(), next);
}

// A flag of the options turned; some say more than what to draw again.
void TurnFlag(const CommandRow& row, AppState& s, RegistryStore& registry, bool monthWindow, Effects& e) {
  e.refresh = row.refresh;
  switch (row.id) {
    case kOptionRegistry: ToggleRegistryUse(s, registry); return;  // writes or deletes the stored settings
    case kOptionAutoRun: ToggleAutoRun(s); return;
    default: break;
  }
  s.*row.flag = !(s.*row.flag);
  switch (row.id) {
    case kOptionHourly: e.hourlyTimer = s.WholeAutoReportTimeFlag; break;
    case kOptionModernAncient: RecomputeLunarBounds(s); break;  // each rule set has its own lunar years
    case kOptionMondayFirst: e.refresh = monthWindow ? Refresh::kAll : Refresh::kNone; break;
    default: break;
  }
}

// Always on top and embedded in the desktop: one layer at a time.
void TurnLayer(Layer layer, AppState& s, Effects& e) {
  const bool top = layer == Layer::kTopmost;
  if (s.LayerMode == layer) {
    e.placement = {top ? Placement::kRemoveTopmost : Placement::kLeaveDesktop};
    s.LayerMode = Layer::kNormal;
    return;
  }
  if (s.LayerMode == Layer::kDesktop) e.placement.push_back(Placement::kLeaveDesktop);
  if (s.LayerMode == Layer::kTopmost) e.placement.push_back(Placement::kRemoveTopmost);
  e.placement.push_back(top ? Placement::kSetTopmost : Placement::kEmbed);
  s.LayerMode = layer;
}

void Choose(const CommandRow& row, AppState& s, Behaviour& b, Effects& e) {
  switch (row.setting) {
    case Setting::kWindow:
      e.closeWindow = row.value == static_cast<int>(WindowKind::kMonth) ? SwitchToMonthWindow(s) : SwitchToDayWindow(s);
      break;
    case Setting::kTransparency:
      s.FORMTransFlag = TransparencyOfLevel(row.value);
      e.transparencyAmount = AmountOfLevel(s.FORMTransFlag);
      e.fadeTimer = s.FORMTransFlag == Transparency::kAutomatic;
      if (*e.fadeTimer) b.fadeCount = 0;
      break;
    case Setting::kDayInfo:
      s.DFORMShowInfoTypeFlag = static_cast<DayInfo>(row.value);
      e.refresh = row.refresh;
      break;
    default: break;
  }
}

void Act(int id, Effects& e) {
  switch (id) {
    case kSpeakTime: e.speakTime = true; break;
    case kOptionPicture: e.choosePicture = true; break;
    case kGoToday: e.goToday = true; break;
    case kExportRecords: e.file = FileAction::kExport; break;
    case kImportRecords: e.file = FileAction::kImport; break;
    case kExit: e.closeWindow = true; break;
    default: break;
  }
}

}  // namespace

const std::vector<MenuItem>& ContextMenu() {
  static const std::vector<MenuItem> menu = BuildMenu();
  return menu;
}

bool IsChecked(int id, const AppState& s) {
  const CommandRow* row = FindCommand(id);
  if (row == nullptr) return false;
  if (row->kind == Kind::kChoice) return SettingValue(*row, s) == row->value;
  if (row->kind != Kind::kToggle) return false;
  return SettingValue(*row, s) == (row->setting == Setting::kFlag ? 1 : row->value);
}

bool IsEnabled(int id, bool monthWindow) {
  const CommandRow* row = FindCommand(id);
  return row == nullptr || !(monthWindow && row->dayWindowOnly);
}

bool AsksFirst(int id, const AppState& s) { return id == kOptionRegistry && s.RegistryUseFlag; }

bool OffersRegistryUse(const AppState& before, const AppState& after, bool askedBefore) {
  return !askedBefore && !after.RegistryUseFlag && ChangesKeptSettings(before, after);
}

std::string HotKeysTakenText(const std::string& letters) {
  if (letters.empty()) return {};
  std::string keys;
  for (char c : letters) {
    if (!keys.empty()) keys += "、";
    keys += std::string("Ctrl+Alt+") + c;
  }
  std::string text = "热键 " + keys + " 已被其他程序占用，本程序不能使用。";
  if (letters.find('R') != std::string::npos) text += "单击托盘图标可以显示窗口。";
  return text;
}

int AmountOfLevel(Transparency t) {
  const int level = LevelOf(t);
  return level >= 0 && level <= 9 ? 25 * level : 0;
}

std::uint8_t AlphaOf(int amount) { return static_cast<std::uint8_t>(255 - std::clamp(amount, 0, 255)); }

std::optional<int> FadeTick(Behaviour& b, bool cursorOverWindow) {
  if (b.dropdownOpen || b.menuOpen || b.fadeCount > 14) return std::nullopt;
  b.fadeCount = std::max(b.fadeCount, 0) + 1;
  if (cursorOverWindow) return std::nullopt;
  return 15 * b.fadeCount;
}

int FadeTouch(Behaviour& b) {
  b.fadeCount = 0;
  return 0;
}

Effects Dispatch(int id, AppState& s, Behaviour& b, RegistryStore& registry, bool monthWindow) {
  b.menuOpen = false;
  Effects e;
  const CommandRow* row = FindCommand(id);
  if (row == nullptr || !IsEnabled(id, monthWindow)) return e;  // greyed there: it would do nothing
  switch (row->kind) {
    case Kind::kTool:
      if (id == kSetSystemDate && (s.CurrentYear < 1980 || s.CurrentYear > 2099)) break;
      e.openTool = id;
      e.stopBackgroundMusic = row->stopsMusic;
      e.refresh = row->refresh;
      break;
    case Kind::kToggle:
      if (row->setting == Setting::kFlag) {
        TurnFlag(*row, s, registry, monthWindow, e);
      } else if (row->setting == Setting::kLayer) {
        TurnLayer(static_cast<Layer>(row->value), s, e);
      } else if (row->setting == Setting::kMoveLock) {
        s.PositionLock = s.PositionLock == MoveLock::kLocked ? MoveLock::kMovable : MoveLock::kLocked;
      }
      break;
    case Kind::kChoice: Choose(*row, s, b, e); break;
    case Kind::kAction: Act(id, e); break;
    default: break;
  }
  return e;
}

}  // namespace tovani::menu
