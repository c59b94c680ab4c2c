// A pop-up menu made from a table of items: each item has a caption, an id
// and children; an empty caption is a separator, children make a sub-menu.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <vector>

#include "framework/win32/gdi.h"
#include "framework/win32/shown.h"

namespace tovani::win32 {

template <class Item>
HMENU BuildPopupMenu(const std::vector<Item>& items) {
  HMENU menu = CreatePopupMenu();
  for (const Item& item : items) {
    if (item.caption.empty()) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    } else if (!item.children.empty()) {
      AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(BuildPopupMenu(item.children)),
                  Shown(item.caption).c_str());
    } else {
      AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(item.id), Shown(item.caption).c_str());
    }
  }
  return menu;
}

// Sets the check mark and the greyed state of every command item of the menu
// and its sub-menus.
void SetItemStates(HMENU menu, const std::function<bool(int id)>& checked, const std::function<bool(int id)>& enabled);

// A menu in colours of its own (a dark menu): its items drawn by the owner
// window, their texts kept as the items' own (GetMenuStringW reads them).
struct MenuColours {
  COLORREF back, text, highlight, highlightText, grayText;
};
// The menu and its sub-menus in the colours, or, with nullptr, drawn by the
// system again.
void SetMenuColours(HMENU menu, const MenuColours* colours);
// The owner window's WM_MEASUREITEM, WM_DRAWITEM and WM_MENUCHAR for such a
// menu; nothing for other items and menus.
std::optional<LRESULT> OnMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam);

// Gives back the menu's colours (SetMenuColours(menu, nullptr)) and destroys
// it with its sub-menus.
BOOL WINAPI DestroyPopupMenu(HMENU menu);
// An owner of such a menu.
using PopupMenu = Owned<HMENU, DestroyPopupMenu>;

// Shows the menu at the cursor, owned by the window, tracking the right
// button; the chosen command arrives as WM_COMMAND.
void ShowPopupMenu(HMENU menu, HWND owner);

}  // namespace tovani::win32
