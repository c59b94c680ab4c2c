// A modal tool window of the calendar windows: centred on the screen, owned
// by the main window (which stays disabled while it is open), closed by its
// cancel button, Esc, its close box or Ctrl+Alt+X from the main window.
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
  // Asks the window to close (as its close box does).
  void RequestClose() {
    closing_ = true;
    if (hwnd() != nullptr) PostMessageW(hwnd(), WM_NULL, 0, 0);  // wakes the modal loop
  }
  bool closing() const { return closing_; }

 protected:
  // Builds the controls (the window exists, not yet shown).
  virtual void CreateControls(UINT dpi) = 0;
  // A command: a control's notification (control != nullptr), or IDOK for
  // Enter (the default action) and IDCANCEL for Esc.
  virtual void OnCommand(int id, int code, HWND control) = 0;
  // Places the controls and fonts again after a change of DPI.
  virtual void Relayout(UINT) {}
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
  ProgramContext& program_;
  UINT dpi_ = 96;
  bool closing_ = false;
  ViewColours colours_{ColourRole::kFace};
};

}  // namespace tovani
