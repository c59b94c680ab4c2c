// The message loops of the program's windows: a main window's, and a tool
// window's modal one.
#pragma once

#include <windows.h>

#include <functional>

namespace tovani::win32 {

// What a main window's message loop asks of its window.
struct LoopHooks {
  // Alt+X in the window or a control.
  std::function<void()> onAltX;
  // Esc released in the window or a control (after it was pressed there).
  std::function<void()> onEscape;
  // A window that is not modal (or nullptr), whose keyboard navigation the
  // loop serves too.
  std::function<HWND()> modeless;
};
// Runs messages until the window is gone or WM_QUIT arrives (which is posted
// again for the loop outside).  Keyboard navigation goes through
// IsDialogMessageW of the window.
void RunMainLoop(HWND window, const LoopHooks& hooks);

// A modal loop for a tool window owned by owner: the owner is disabled until
// done() is true or the tool window is gone; WM_QUIT is passed on. The
// keyboard of a modeless window that stays usable meanwhile (modeless(), may
// be empty or give nullptr) goes through its IsDialogMessageW.
void RunModalLoop(HWND owner, HWND tool, const std::function<bool()>& done,
                  const std::function<HWND()>& modeless = {});

}  // namespace tovani::win32
