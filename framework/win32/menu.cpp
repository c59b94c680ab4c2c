#include "framework/win32/menu.h"

#include <algorithm>
#include <cwctype>
#include <deque>
#include <map>
#include <memory>
#include <string>

#include "framework/win32/shown.h"
#include "framework/win32/wide.h"
#include "framework/win32/gdi.h"

namespace tovani::win32 {

void SetItemStates(HMENU menu, const std::function<bool(int id)>& checked, const std::function<bool(int id)>& enabled) {
  const int n = GetMenuItemCount(menu);
  for (int i = 0; i < n; ++i) {
    if (HMENU sub = GetSubMenu(menu, i)) {
      SetItemStates(sub, checked, enabled);
      continue;
    }
    const UINT id = GetMenuItemID(menu, i);
    if (id == 0 || id == static_cast<UINT>(-1)) continue;
    const auto position = static_cast<UINT>(i);
    CheckMenuItem(menu, position, MF_BYPOSITION | (checked(static_cast<int>(id)) ? MF_CHECKED : MF_UNCHECKED));
    EnableMenuItem(menu, position, MF_BYPOSITION | (enabled(static_cast<int>(id)) ? MF_ENABLED : MF_GRAYED));
  }
}

namespace {

// An item of a menu in colours of its own: where it is, what it says.
struct OwnItem {
  HMENU menu;
  UINT position;
  std::wstring text;
  bool separator, popup;
  const MenuColours* colours;
};
struct OwnMenu {
  MenuColours colours;
  std::deque<OwnItem> items;  // their addresses are the items' data
};
std::map<HMENU, std::unique_ptr<OwnMenu>>& OwnMenus() {
  static std::map<HMENU, std::unique_ptr<OwnMenu>> menus;
  return menus;
}

const OwnItem* OwnItemOf(ULONG_PTR data) {
  for (const auto& [menu, own] : OwnMenus()) {
    for (const OwnItem& item : own->items) {
      if (reinterpret_cast<ULONG_PTR>(&item) == data) return &item;
    }
  }
  return nullptr;
}

HFONT MenuFont() {
  static const HFONT font = [] {
    NONCLIENTMETRICSW m{};
    m.cbSize = sizeof m;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
    return CreateFontIndirectW(&m.lfMenuFont);
  }();
  return font;
}

// Items become drawn by the owner (own != nullptr) or by the system again.
void MarkItems(HMENU menu, OwnMenu* own) {
  MENUINFO info{};
  info.cbSize = sizeof info;
  info.fMask = MIM_BACKGROUND;
  info.hbrBack = own != nullptr ? CreateSolidBrush(own->colours.back) : nullptr;
  MENUINFO old = info;
  old.hbrBack = nullptr;
  GetMenuInfo(menu, &old);
  SetMenuInfo(menu, &info);
  const Brush replaced(old.hbrBack);  // the menu's own brush until now
  const int n = GetMenuItemCount(menu);
  for (int i = 0; i < n; ++i) {
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE | MIIM_SUBMENU;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item)) continue;
    item.fMask = MIIM_FTYPE | MIIM_DATA;
    if (own != nullptr) {
      wchar_t text[256] = {};
      const int length = GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
      own->items.push_back({menu, static_cast<UINT>(i), std::wstring(text, static_cast<std::size_t>(std::max(length, 0))),
                            (item.fType & MFT_SEPARATOR) != 0, item.hSubMenu != nullptr, &own->colours});
      item.fType |= MFT_OWNERDRAW;
      item.dwItemData = reinterpret_cast<ULONG_PTR>(&own->items.back());
    } else {
      item.fType &= ~static_cast<UINT>(MFT_OWNERDRAW);
      item.dwItemData = 0;
    }
    SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item);
    if (item.hSubMenu != nullptr) MarkItems(item.hSubMenu, own);
  }
}

void MeasureItem(const OwnItem& item, MEASUREITEMSTRUCT& m) {
  const int line = GetSystemMetrics(SM_CYMENU);
  if (item.separator) {
    m.itemWidth = 0;
    m.itemHeight = static_cast<UINT>(line / 2);
    return;
  }
  const WindowDc screen(nullptr);
  const Selection font(screen.get(), MenuFont());
  RECT r{};
  DrawTextW(screen.get(), item.text.c_str(), static_cast<int>(item.text.size()), &r,
            DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
  const int check = GetSystemMetrics(SM_CXMENUCHECK);
  m.itemWidth = static_cast<UINT>(r.right + 2 * check + line / 2);
  m.itemHeight = static_cast<UINT>(std::max(line, static_cast<int>(r.bottom) + line / 3));
}

void DrawItem(const OwnItem& item, const DRAWITEMSTRUCT& d) {
  const MenuColours& c = *item.colours;
  HDC dc = d.hDC;
  const RECT& box = d.rcItem;
  const bool gray = (d.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  const bool selected = (d.itemState & ODS_SELECTED) != 0 && !gray;
  const Brush back(CreateSolidBrush(selected ? c.highlight : c.back));
  FillRect(dc, &box, back.get());
  const int check = GetSystemMetrics(SM_CXMENUCHECK);
  const COLORREF ink = gray ? c.grayText : selected ? c.highlightText : c.text;
  const Pen pen(CreatePen(PS_SOLID, std::max(1, check / 8), item.separator ? c.grayText : ink));
  const Selection penSelected(dc, pen.get());
  if (item.separator) {
    const int y = (box.top + box.bottom) / 2;
    MoveToEx(dc, box.left + check / 2, y, nullptr);
    LineTo(dc, box.right - check / 2, y);
  } else {
    const int middle = (box.top + box.bottom) / 2;
    if ((d.itemState & ODS_CHECKED) != 0) {
      const int left = box.left + check / 4, unit = check / 4;
      const POINT tick[] = {{left, middle}, {left + unit, middle + unit}, {left + 3 * unit, middle - unit}};
      Polyline(dc, tick, 3);
    }
    if (item.popup) {
      const Brush fill(CreateSolidBrush(ink));
      const Selection fillSelected(dc, fill.get());
      const int right = box.right - check / 2, half = check / 4;
      const POINT arrow[] = {{right - half, middle - half}, {right, middle}, {right - half, middle + half}};
      Polygon(dc, arrow, 3);
    }
    RECT text = box;
    text.left += check + check / 2;
    text.right -= check;
    const Selection font(dc, MenuFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ink);
    const UINT prefix = (d.itemState & ODS_NOACCEL) != 0 ? DT_HIDEPREFIX : 0;
    DrawTextW(dc, item.text.c_str(), static_cast<int>(item.text.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | prefix);
  }
  // The system would draw its own sub-menu arrow over ours.
  ExcludeClipRect(dc, box.left, box.top, box.right, box.bottom);
}

// The item of the menu whose mnemonic is the key, as the system finds it
// for items it draws.
std::optional<LRESULT> MenuChar(wchar_t key, HMENU menu) {
  for (const auto& [top, own] : OwnMenus()) {
    for (const OwnItem& item : own->items) {
      if (item.menu != menu) continue;
      const std::size_t amp = item.text.find(L'&');
      if (amp == std::wstring::npos || amp + 1 >= item.text.size()) continue;
      if (std::towupper(item.text[amp + 1]) == std::towupper(key)) return MAKELRESULT(item.position, MNC_EXECUTE);
    }
  }
  return std::nullopt;
}

}  // namespace

void SetMenuColours(HMENU menu, const MenuColours* colours) {
  if (menu == nullptr) return;
  auto& menus = OwnMenus();
  if (const auto it = menus.find(menu); it != menus.end()) {
    MarkItems(menu, nullptr);
    menus.erase(it);
  }
  if (colours == nullptr) return;
  auto own = std::make_unique<OwnMenu>();
  own->colours = *colours;
  MarkItems(menu, own.get());
  menus[menu] = std::move(own);
}

std::optional<LRESULT> OnMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_MEASUREITEM: {
      auto& m = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (m.CtlType != ODT_MENU) return std::nullopt;
      const OwnItem* item = OwnItemOf(m.itemData);
      if (item == nullptr) return std::nullopt;
      MeasureItem(*item, m);
      return TRUE;
    }
    case WM_DRAWITEM: {
      const auto& d = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (d.CtlType != ODT_MENU) return std::nullopt;
      const OwnItem* item = OwnItemOf(d.itemData);
      if (item == nullptr) return std::nullopt;
      DrawItem(*item, d);
      return TRUE;
    }
    case WM_MENUCHAR:
      return MenuChar(static_cast<wchar_t>(LOWORD(wParam)), reinterpret_cast<HMENU>(lParam));
    default:
      return std::nullopt;
  }
}

BOOL WINAPI DestroyPopupMenu(HMENU menu) {
  SetMenuColours(menu, nullptr);
  return DestroyMenu(menu);
}

void ShowPopupMenu(HMENU menu, HWND owner) {
  POINT p{};
  GetCursorPos(&p);
  SetForegroundWindow(owner);  // so that a click elsewhere closes the menu
  TrackPopupMenuEx(menu, TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, p.x, p.y, owner, nullptr);
  PostMessageW(owner, WM_NULL, 0, 0);
}

}  // namespace tovani::win32
