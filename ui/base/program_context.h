// What every window of the program shares for the whole run: the state,
// the registry and the platform, the behaviours of the main windows, the
// tool windows by their commands, and the official holidays.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <vector>

#include "app/app_state.h"
#include "app/platform.h"
#include "app/registry.h"
#include "engine/holidays.h"
#include "ui/menu/menu_model.h"

namespace tovani {

// The program's shared pieces, alive for the whole run.
struct ProgramContext {
  HINSTANCE instance = nullptr;
  AppState& state;
  RegistryStore& registry;
  Platform& platform;
  menu::Behaviour behaviour;
  // The tool windows by command id: each runs modally (the weather window
  // excepted), owned by the window it is given, on the page of its command,
  // and returns when it has closed.  Commands without an entry do nothing.
  std::map<int, std::function<void(HWND owner)>> tools;
  // The tool windows open now, the weather window among them (for
  // Ctrl+Alt+X), by their handles.
  std::vector<HWND> openTools;
  // The window that is not modal (the weather window) while it exists: the
  // main windows' message loops serve its keyboard navigation, and the main
  // window owns it, so that it stays above.
  HWND modeless = nullptr;
  // Asked once in this run, after a change of a setting while registry use
  // was off, whether to allow it.
  bool keepQuestionAsked = false;
  // The hot keys another program holds were named (once a run).
  bool hotKeyNoticeGiven = false;
  // The settings that registry use being off leaves unread were named (once
  // a run).
  bool ignoredNoticeGiven = false;
  // The official holidays: the built-in table, and the years added under the
  // registry key "Holidays" (read at the start while registry use is on).
  HolidayCalendar holidays;
};

}  // namespace tovani
