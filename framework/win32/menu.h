// A pop-up menu made from a table of items: each item has a caption, an id
// and children; an empty caption is a separator, children make a sub-menu.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

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

// Shows the menu at the cursor, owned by the window, tracking the right
// button; the chosen command arrives as WM_COMMAND.
void ShowPopupMenu(HMENU menu, HWND owner);

}  // namespace tovani::win32
