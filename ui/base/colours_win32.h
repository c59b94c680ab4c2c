// The palette in the Win32 views: colours of roles, the controls' colours
// answered to WM_CTLCOLOR*, and following the system's light or dark choice.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <utility>

#include "framework/win32/menu.h"
#include "ui/common/palette.h"

namespace tovani {

// The role's colour now; in the light palette a system role is the
// system's colour.
COLORREF ColourOf(ColourRole role);
HBRUSH BrushOf(ColourRole role);

// Reads the system's choice and takes the palette for it.
void FollowSystemAppearance();

// The colours of a window's controls.  Controls given none keep the
// system's colours in the light palette and take the dark palette's face,
// box and text colours in the dark one, on the window's ground.
class ViewColours {
 public:
  explicit ViewColours(ColourRole ground) : ground_(ground) {}
  void Set(HWND control, ColourRole text, ColourRole back) { roles_[control] = {text, back}; }
  // The brush answering a WM_CTLCOLOR* message; nullptr to let the window
  // procedure's default colour the control.
  HBRUSH Apply(UINT msg, HWND control, HDC dc) const;
  // A window's WM_CTLCOLOR* (its controls in their colours) and
  // WM_ERASEBKGND (its client area in the ground's colour); nothing for
  // other messages and for controls the default colours.
  std::optional<LRESULT> OnMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) const;

 private:
  ColourRole ground_;
  std::map<HWND, std::pair<ColourRole, ColourRole>> roles_;
};

// The window's client area in the role (WM_ERASEBKGND).
void EraseWith(HWND window, HDC dc, ColourRole role);

// The window's caption, check boxes, radio buttons and group boxes in the
// palette: the visual styles draw the latter in their own colours, so they
// go without them while the palette is dark.
void DressWindow(HWND window);

// The menu's colours in the palette: drawn by the system while light.
void DressMenu(HMENU menu);

}  // namespace tovani
