#include "ui/base/colours_win32.h"

#include <uxtheme.h>

#include "framework/win32/appearance.h"
#include "framework/win32/window.h"

namespace tovani {
namespace {

int SystemIndex(SystemColour s) {
  switch (s) {
    case SystemColour::kFace: return COLOR_BTNFACE;
    case SystemColour::kFaceText: return COLOR_BTNTEXT;
    case SystemColour::kWindow: return COLOR_WINDOW;
    case SystemColour::kWindowText: return COLOR_WINDOWTEXT;
    case SystemColour::kMenu: return COLOR_MENU;
    case SystemColour::kMenuText: return COLOR_MENUTEXT;
    case SystemColour::kHighlight: return COLOR_HIGHLIGHT;
    case SystemColour::kHighlightText: return COLOR_HIGHLIGHTTEXT;
    case SystemColour::kGrayText: return COLOR_GRAYTEXT;
    case SystemColour::kNone: break;
  }
  return -1;
}

COLORREF FromRgb(std::uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

BOOL CALLBACK DressControl(HWND control, LPARAM dark) {
  wchar_t cls[16] = {};
  GetClassNameW(control, cls, 16);
  if (lstrcmpiW(cls, WC_BUTTONW) != 0) return TRUE;
  switch (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_GROUPBOX:
      if (dark) {
        SetWindowTheme(control, L"", L"");
      } else {
        SetWindowTheme(control, nullptr, nullptr);
      }
      break;
    default:
      break;
  }
  return TRUE;
}

}  // namespace

COLORREF ColourOf(ColourRole role) {
  const RoleColours& c = ColoursOf(role);
  if (!DarkPaletteInUse() && c.system != SystemColour::kNone) return GetSysColor(SystemIndex(c.system));
  return FromRgb(ColourValue(role));
}

HBRUSH BrushOf(ColourRole role) { return win32::SolidBrush(ColourOf(role)); }

void FollowSystemAppearance() { UseDarkPalette(win32::AppsUseDarkTheme()); }

HBRUSH ViewColours::Apply(UINT msg, HWND control, HDC dc) const {
  std::pair<ColourRole, ColourRole> roles;
  if (const auto it = roles_.find(control); it != roles_.end()) {
    roles = it->second;
  } else if (!DarkPaletteInUse()) {
    return nullptr;
  } else if (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX) {
    roles = {ColourRole::kBoxText, ColourRole::kBox};
  } else {
    roles = {ColourRole::kFaceText, ground_};
  }
  SetTextColor(dc, ColourOf(roles.first));
  SetBkColor(dc, ColourOf(roles.second));
  return BrushOf(roles.second);
}

std::optional<LRESULT> ViewColours::OnMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) const {
  switch (msg) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      if (HBRUSH b = Apply(msg, reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam))) {
        return reinterpret_cast<LRESULT>(b);
      }
      return std::nullopt;
    case WM_ERASEBKGND:
      EraseWith(window, reinterpret_cast<HDC>(wParam), ground_);
      return 1;
    default:
      return std::nullopt;
  }
}

void EraseWith(HWND window, HDC dc, ColourRole role) {
  RECT r{};
  GetClientRect(window, &r);
  FillRect(dc, &r, BrushOf(role));
}

void DressWindow(HWND window) {
  const bool dark = DarkPaletteInUse();
  win32::UseDarkCaption(window, dark);
  EnumChildWindows(window, DressControl, dark ? 1 : 0);
}

void DressMenu(HMENU menu) {
  if (!DarkPaletteInUse()) return win32::SetMenuColours(menu, nullptr);
  const win32::MenuColours colours{ColourOf(ColourRole::kMenu), ColourOf(ColourRole::kMenuText),
                                   ColourOf(ColourRole::kMenuHighlight), ColourOf(ColourRole::kMenuHighlightText),
                                   ColourOf(ColourRole::kMenuGrayText)};
  win32::SetMenuColours(menu, &colours);
}

}  // namespace tovani
