// What the day and the month window share: the context menu and its
// commands, the placement, move lock and transparency, the global hot keys,
// the clock timers, the day's records and music, staying on screen and on
// today, and the close that saves the settings.  One class, in five files by
// job:
//   main_window_win32.cpp            its life and the routing of its messages
//   main_window_day_win32.cpp        the displayed day, its records and music, today
//   main_window_effects_win32.cpp    carrying out commands: effects, tools, clock timers
//   main_window_placement_win32.cpp  place, layer, drag, hiding, transparency and fade
//   main_window_tray_win32.cpp       the tray icon and the hot keys
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <optional>
#include <vector>
#include <string>

#include "framework/win32/controls.h"
#include "framework/win32/dpi.h"
#include "framework/win32/shell.h"
#include "framework/win32/window.h"
#include "ui/base/colours_win32.h"
#include "ui/base/messages.h"
#include "ui/base/program_context.h"
#include "ui/common/day_records.h"
#include "ui/menu/menu_model.h"

namespace tovani {

class MainWindow : public win32::Window {
 public:
  explicit MainWindow(ProgramContext& program) : program_(program) {}

  // Creates the window and runs its message loop until it is gone.  False
  // when the window could not be created.
  bool Run();

  // The command dispatcher (menu items; tests send them as WM_COMMAND).
  void Command(int id);

 protected:
  struct Frame {
    const char* className;
    const char* caption;
    int width, height;  // at 96 DPI
    DWORD style, exStyle;
    bool monthWindow;
  };
  virtual Frame GetFrame() const = 0;
  // Builds the controls at the DPI (the window exists, sized, not shown).
  virtual void CreateControls(UINT dpi) = 0;
  // Places the controls and fonts again after a change of DPI.
  virtual void Relayout(UINT dpi) = 0;
  // Draws everything from the displayed date of the state.
  virtual void ShowDate() = 0;
  // Texts (and records) only, after an option changed.
  virtual void RefreshTexts() = 0;
  // The lists again (era names on or off) - day window only.
  virtual void RefreshLists() {}
  // The range changed: everything again.
  virtual void RefreshAll() = 0;
  // The characters shown changed (simplified, traditional): what RefreshAll
  // does not write again, the lists' items and the fixed labels.
  virtual void ShowTextsAgain() {}
  // Moves the displayed date; false outside the range.
  virtual bool GoTo(const CalendarTriple& gregorian) = 0;
  // A notification of a control (WM_COMMAND with a control handle).
  virtual void OnControl(int id, int code, HWND control) = 0;
  // Extra work after creation (dropped files...).
  virtual void AfterCreate() {}
  // The window shows, in front, for the first time.
  virtual void OnShown() {}
  // The window is being moved (day window: the balloon goes).
  virtual void OnMoveStarted() {}
  // The command that picks the background picture (day window).
  virtual void ChoosePicture() {}
  // Before close: the balloon goes and the like.
  virtual void BeforeClose() {}
  // A message the window handles itself; nothing to let the base have it.
  virtual std::optional<LRESULT> OnOwnMessage(UINT, WPARAM, LPARAM) { return std::nullopt; }

  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  ProgramContext& program() { return program_; }
  AppState& state() { return program_.state; }
  UINT dpi() const { return dpi_; }
  // The displayed date, as the state keeps it.
  DayInCalendars Displayed() const;
  void StoreDisplayed(const DayInCalendars& date);
  // The records of a day, while registry use is on (else none).
  DayRecords RecordsOf(const DayInCalendars& date);
  // The records of the days after today, while registry use is on.
  std::vector<RecordAhead> RecordsAhead();
  // What the windows say of a day's holiday arrangement.
  HolidayNote HolidayNoteOf(const CivilDate& day);
  bool IsToday(const CalendarTriple& gregorian) { return program_.platform.Today() == gregorian; }
  // Stops the previous day's music and starts the day's, as the options say.
  void PlayDayMusic(const std::string& audio, HWND sink);
  // Right-button handling shared with controls that stand for the window.
  void UpdateCheckMarks();
  void ShowMenu();
  // Mouse movement over the window or a control (automatic transparency).
  void Touched();
  // Drags the window by its body unless locked.
  void StartDrag();
  void Colour(HWND control, ColourRole text, ColourRole back) { colours_.Set(control, text, back); }
  // The palette changed (the controls and the window are repainted after):
  // what the window colours itself.
  virtual void OnPaletteChanged() {}
  // A notification of a drop-down list: a choice (the list closed on an item,
  // or a closed list changed by a key) calls chosen; a list that closes
  // without one shows the displayed date again (SelectLists).
  void OnListNotification(int code, const win32::ComboBox& list, const std::function<void()>& chosen);
  // The lists show the displayed date.
  virtual void SelectLists() {}
  // The step of an arrow key (Left and Up -1, Right and Down +1) or of the
  // wheel (a whole notch, away from the user -1); 0 for other input and for
  // part of a notch, which is kept in wheel.
  static int StepOf(UINT msg, WPARAM wParam, int& wheel);
  void Hide();
  // Ctrl+Alt+R and a click on the tray icon: shown (restored when minimised)
  // and in front.
  void ShowAgain();
  // After a change by the user (state before it): while registry use is off,
  // the first change this run of a setting it would keep offers to turn it
  // on.
  void OfferRegistryUse(const AppState& before);

 private:
  // ---- Life ----
  void Create();
  void Close();
  // The system's light or dark choice changed.
  void FollowAppearance();

  // ---- Effects ----
  void ApplyEffects(const menu::Effects& effects);
  void OpenTool(int command, const menu::Effects& effects);
  // Records and settings came in from a file: the settings, holidays and
  // timers again, and everything shown.
  void ReloadAfterImport();
  // WM_COPYDATA: a file command handed over by a second copy.
  LRESULT OnHandedCommand(const COPYDATASTRUCT& data);
  // The hourly and alarm checks, started with the window; one of them due.
  void StartClockTimers();
  void OnClockTimer(UINT_PTR id);

  // ---- The day ----
  // A new day (the timer, a changed clock, waking up): a window on today
  // follows it.
  void CheckToday();

  // ---- Placement ----
  RECT InitialRect(UINT dpi) const;
  void KeepOnScreen(WINDOWPOS& pos) const;
  void ApplyPlacement(menu::Placement p);
  void ApplyPlacementOnly(menu::Placement p);
  void ApplyTransparencyAtStart();
  // A step of the fade timer; the fade held while the window is moved.
  void FadeStep();
  void HoldFade(bool held);
  // The weather window above this one: owned by it while this is a top-level
  // window; let go when this one closes.
  void KeepModelessAbove();
  void LetModelessGo();

  // ---- Tray and hot keys ----
  void RegisterHotKeys();
  void OnHotKey(int id);
  void OnTray(UINT mouseMessage);
  // The tray icon's tip; kept: the user's texts in it.
  std::string TipOfToday(std::vector<std::string>* kept = nullptr);
  void ShowTrayTip();

  ProgramContext& program_;
  UINT dpi_ = 96;
  win32::PopupMenu menu_;
  win32::HotKeys hotKeys_;
  win32::TrayIcon tray_;
  ViewColours colours_{ColourRole::kStamp};
  CivilDate today_{};
  bool closed_ = false;
  HWND lastFocus_ = nullptr;
};

// The Gregorian, lunar and Hijri dates of the computer's today.
std::optional<DayInCalendars> TodayIn(Platform& platform, CalendarRules rules);

}  // namespace tovani
