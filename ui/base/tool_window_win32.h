// A tool window of the calendar windows: centred on the owner's monitor,
// owned by the main window, closed by its cancel button, Esc, its close box
// or Ctrl+Alt+X from the main window; in the palette, following the DPI, and
// with the focus back where it was when it is activated again.  Most run
// modally (the main window stays disabled while they are open); the weather
// window stays open beside the calendar, on the task bar, without a loop of
// its own.
#pragma once

#include <windows.h>

#include "framework/win32/controls.h"
#include "framework/win32/window.h"
#include "ui/base/colours_win32.h"
#include "ui/base/main_window_win32.h"

namespace tovani {

class ToolWindow : public win32::Window {
 public:
  explicit ToolWindow(ProgramContext& program) : program_(program) {}
  ~ToolWindow() override;

  // Creates the window (its outer size at 96 DPI, scaled to the DPI), shows
  // it and runs it modally until it closes; the owner is enabled again and
  // activated before the window goes.
  void RunModal(HWND owner, const char* className, const char* caption, int width96, int height96);
  // Creates and shows the window that is not modal, its client area of the
  // size at 96 DPI (scaled to the DPI); false when it could not be made.
  bool OpenModeless(HWND owner, const char* className, const char* caption, int clientWidth96, int clientHeight96);
  // The window that is not modal to the front (restored when minimised).
  void BringUp();
  // Asks the window to close (as its close box does).
  void RequestClose();
  bool closing() const { return closing_; }

 protected:
  // Builds the controls (the window exists, not yet shown).
  virtual void CreateControls(UINT dpi) = 0;
  // A command: a control's notification (control != nullptr), or IDOK for
  // Enter (the default action) and IDCANCEL for Esc.
  virtual void OnCommand(int id, int code, HWND control) = 0;
  // Places the controls and fonts again after a change of DPI.
  virtual void Relayout(UINT) {}
  // The window that is not modal has its controls and is about to show.
  virtual void OnOpened() {}
  // Called when the window is about to close.
  virtual void OnClosing() {}
  // Other messages; nothing to let the base handle them.
  virtual std::optional<LRESULT> OnOwnMessage(UINT, WPARAM, LPARAM) { return std::nullopt; }

  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  // The window's size becomes that of a client area (at 96 DPI, scaled to
  // the window's DPI) with the frame on top; it stays centred where it was.
  void FitClientArea(int width96, int height96);

  ProgramContext& program() { return program_; }
  AppState& state() { return program_.state; }
  UINT dpi() const { return dpi_; }
  void Colour(HWND control, ColourRole text, ColourRole back) { colours_.Set(control, text, back); }

 private:
  // Centres the window of the outer size (at its DPI) on the owner's monitor;
  // on a monitor too small for it, its top left corner stays on it.
  void Centre(HWND owner, SIZE size);
  void Forget();

  ProgramContext& program_;
  UINT dpi_ = 96;
  bool modeless_ = false;
  bool closing_ = false;
  ViewColours colours_{ColourRole::kFace};
  HWND lastFocus_ = nullptr;
};

}  // namespace tovani
