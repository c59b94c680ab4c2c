#include "framework/win32/shell.h"

#include <commdlg.h>

#include <algorithm>
#include <cwctype>
#include <deque>
#include <map>
#include <memory>
#include <string>

#include "framework/win32/menu.h"
#include "framework/win32/shown.h"
#include "framework/win32/wide.h"

namespace tovani::win32 {

// ---- Menu ----

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
  if (old.hbrBack != nullptr) DeleteObject(old.hbrBack);
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
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, MenuFont());
  RECT r{};
  DrawTextW(dc, item.text.c_str(), static_cast<int>(item.text.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
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
  HBRUSH back = CreateSolidBrush(selected ? c.highlight : c.back);
  FillRect(dc, &box, back);
  DeleteObject(back);
  const int check = GetSystemMetrics(SM_CXMENUCHECK);
  const COLORREF ink = gray ? c.grayText : selected ? c.highlightText : c.text;
  HPEN pen = CreatePen(PS_SOLID, std::max(1, check / 8), item.separator ? c.grayText : ink);
  HGDIOBJ oldPen = SelectObject(dc, pen);
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
      HBRUSH fill = CreateSolidBrush(ink);
      HGDIOBJ oldBrush = SelectObject(dc, fill);
      const int right = box.right - check / 2, half = check / 4;
      const POINT arrow[] = {{right - half, middle - half}, {right, middle}, {right - half, middle + half}};
      Polygon(dc, arrow, 3);
      SelectObject(dc, oldBrush);
      DeleteObject(fill);
    }
    RECT text = box;
    text.left += check + check / 2;
    text.right -= check;
    HGDIOBJ oldFont = SelectObject(dc, MenuFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ink);
    const UINT prefix = (d.itemState & ODS_NOACCEL) != 0 ? DT_HIDEPREFIX : 0;
    DrawTextW(dc, item.text.c_str(), static_cast<int>(item.text.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | prefix);
    SelectObject(dc, oldFont);
  }
  SelectObject(dc, oldPen);
  DeleteObject(pen);
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

void ShowPopupMenu(HMENU menu, HWND owner) {
  POINT p{};
  GetCursorPos(&p);
  SetForegroundWindow(owner);  // so that a click elsewhere closes the menu
  TrackPopupMenuEx(menu, TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, p.x, p.y, owner, nullptr);
  PostMessageW(owner, WM_NULL, 0, 0);
}

// ---- Message boxes ----

bool Ask(HWND owner, const std::string& text, const std::string& caption, bool defaultYes) {
  const UINT type = MB_YESNO | MB_ICONQUESTION | (defaultYes ? MB_DEFBUTTON1 : MB_DEFBUTTON2);
  return MessageBoxW(owner, Shown(text).c_str(), Shown(caption).c_str(), type) == IDYES;
}

void Tell(HWND owner, const std::string& text, const std::string& caption) {
  MessageBoxW(owner, Shown(text).c_str(), Shown(caption).c_str(), MB_OK | MB_ICONWARNING);
}

// ---- Tray icon ----

UINT TrayIcon::TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

NOTIFYICONDATAW TrayIcon::Data() const {
  NOTIFYICONDATAW d{};
  d.cbSize = sizeof d;
  d.hWnd = window_;
  d.uID = id_;
  d.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
  d.uCallbackMessage = callback_;
  d.hIcon = icon_;
  wcsncpy(d.szTip, tip_.c_str(), std::size(d.szTip) - 1);
  return d;
}

void TrayIcon::Add(HWND window, UINT id, HICON icon, const std::string& tip, UINT callbackMessage) {
  window_ = window;
  id_ = id;
  icon_ = icon;
  tip_ = Shown(tip);
  callback_ = callbackMessage;
  added_ = true;
  NOTIFYICONDATAW d = Data();
  shown_ = Shell_NotifyIconW(NIM_ADD, &d) != FALSE;
  ShowNotice();
}

void TrayIcon::Notify(const std::string& title, const std::string& text) {
  noticeTitle_ = Shown(title);
  notice_ = Shown(text);
  ShowNotice();
}

void TrayIcon::ShowNotice() {
  if (!shown_ || notice_.empty()) return;
  NOTIFYICONDATAW d = Data();
  d.uFlags = NIF_INFO;
  d.dwInfoFlags = NIIF_WARNING;
  wcsncpy(d.szInfoTitle, noticeTitle_.c_str(), std::size(d.szInfoTitle) - 1);
  wcsncpy(d.szInfo, notice_.c_str(), std::size(d.szInfo) - 1);
  if (Shell_NotifyIconW(NIM_MODIFY, &d)) notice_.clear();
}

void TrayIcon::SetTip(const std::string& tip, const std::vector<std::string>& kept) {
  const std::wstring w = Shown(tip, kept);
  if (w == tip_) return;
  tip_ = w;
  if (!added_) return;
  NOTIFYICONDATAW d = Data();
  if (shown_) {
    Shell_NotifyIconW(NIM_MODIFY, &d);
  } else {
    shown_ = Shell_NotifyIconW(NIM_ADD, &d) != FALSE;
  }
}

void TrayIcon::Remove() {
  if (added_) {
    NOTIFYICONDATAW d = Data();
    Shell_NotifyIconW(NIM_DELETE, &d);
  }
  added_ = shown_ = false;
}

void TrayIcon::Restore() {
  if (!added_) return;
  NOTIFYICONDATAW d = Data();
  shown_ = Shell_NotifyIconW(NIM_ADD, &d) != FALSE || Shell_NotifyIconW(NIM_MODIFY, &d) != FALSE;
  ShowNotice();
}

// ---- Hot keys ----

bool HotKeys::Register(HWND window, int id, UINT modifiers, UINT key) {
  window_ = window;
  if (!RegisterHotKey(window, id, modifiers, key)) return false;
  ids_.push_back(id);
  return true;
}

void HotKeys::UnregisterAll() {
  for (int id : ids_) UnregisterHotKey(window_, id);
  ids_.clear();
}

bool HotKeys::Holds(int id) const { return std::find(ids_.begin(), ids_.end(), id) != ids_.end(); }

// ---- Transparency ----

void SetWindowAlpha(HWND window, BYTE alpha) {
  const LONG_PTR ex = GetWindowLongPtrW(window, GWL_EXSTYLE);
  if ((ex & WS_EX_LAYERED) == 0) SetWindowLongPtrW(window, GWL_EXSTYLE, ex | WS_EX_LAYERED);
  SetLayeredWindowAttributes(window, 0, alpha, LWA_ALPHA);
}

// ---- Desktop ----

HWND FindDesktopIconView() {
  if (HWND progman = FindWindowW(L"Progman", L"Program Manager")) {
    if (HWND view = FindWindowExW(progman, nullptr, L"SHELLDLL_DefView", nullptr)) {
      if (HWND list = FindWindowExW(view, nullptr, L"SysListView32", nullptr)) return list;
    }
  }
  // Newer systems move the icon view under one of the WorkerW windows.
  for (HWND worker = FindWindowExW(nullptr, nullptr, L"WorkerW", nullptr); worker != nullptr;
       worker = FindWindowExW(nullptr, worker, L"WorkerW", nullptr)) {
    if (HWND view = FindWindowExW(worker, nullptr, L"SHELLDLL_DefView", nullptr)) {
      if (HWND list = FindWindowExW(view, nullptr, L"SysListView32", nullptr)) return list;
    }
  }
  return nullptr;
}

// ---- Open-file dialog ----

std::string ChooseOpenFile(HWND owner, const std::string& title, const std::vector<FileFilter>& filters,
                           const std::string& folder) {
  const std::wstring file = ChooseFilePath(owner, false, title, filters, L"", nullptr, Wide(folder));
  // A path with characters outside code page 936 could not be opened again.
  const std::string narrow = Narrow(file);
  return Wide(narrow) == file ? narrow : std::string();
}

std::wstring ChooseFilePath(HWND owner, bool save, const std::string& title, const std::vector<FileFilter>& filters,
                            const std::wstring& suggestedName, const wchar_t* defaultExtension,
                            const std::wstring& folder) {
  std::wstring filter;  // name, patterns, ..., each ending in a zero, then one more
  for (const FileFilter& f : filters) filter += Shown(f.name) + L'\0' + Wide(f.patterns) + L'\0';
  filter += L'\0';
  std::wstring file(32768, L'\0');
  file.replace(0, std::min(suggestedName.size(), file.size() - 1), suggestedName);
  const std::wstring wideTitle = Shown(title);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrTitle = wideTitle.c_str();
  ofn.lpstrDefExt = defaultExtension;
  ofn.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_NOCHANGEDIR |
              (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  if (!(save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn))) return {};
  file.resize(wcslen(file.c_str()));
  return file;
}

std::optional<std::string> ReadWholeFile(const std::wstring& path, std::size_t most) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<std::string> bytes;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(h, &size) && size.QuadPart >= 0 && static_cast<unsigned long long>(size.QuadPart) <= most) {
    std::string data(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (data.empty() || (ReadFile(h, data.data(), static_cast<DWORD>(data.size()), &read, nullptr) &&
                         read == data.size())) {
      bytes = std::move(data);
    }
  }
  CloseHandle(h);
  return bytes;
}

bool WriteWholeFile(const std::wstring& path, std::string_view bytes) {
  const std::wstring temporary = path + L".tovani-new";
  HANDLE h = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = (bytes.empty() || (WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                                     written == bytes.size())) &&
                  FlushFileBuffers(h);
  CloseHandle(h);
  if (!ok || !MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

// ---- Loops ----

namespace {

bool Within(HWND window, HWND h) { return h == window || IsChild(window, h); }

}  // namespace

void RunMainLoop(HWND window, const LoopHooks& hooks) {
  MSG msg;
  bool escapePressed = false;
  while (IsWindow(window)) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (Within(window, msg.hwnd)) {
      if (msg.message == WM_SYSKEYDOWN && (msg.wParam == 'X' || msg.wParam == 'x')) {
        if (hooks.onAltX) hooks.onAltX();
        continue;
      }
      if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
        // Esc that closes an open list belongs to the list.
        wchar_t cls[16] = {};
        GetClassNameW(msg.hwnd, cls, 16);
        const bool listOpen = lstrcmpiW(cls, L"ComboBox") == 0 && SendMessageW(msg.hwnd, CB_GETDROPPEDSTATE, 0, 0);
        escapePressed = !listOpen;
      } else if (msg.message == WM_KEYUP && msg.wParam == VK_ESCAPE) {
        if (escapePressed && hooks.onEscape) hooks.onEscape();
        escapePressed = false;
        continue;
      }
    }
    if (HWND other = hooks.modeless ? hooks.modeless() : nullptr) {
      if (IsWindow(other) && Within(other, msg.hwnd) && IsDialogMessageW(other, &msg)) continue;
    }
    if (IsDialogMessageW(window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void RunModalLoop(HWND owner, HWND tool, const std::function<bool()>& done, const std::function<HWND()>& modeless) {
  if (owner != nullptr) EnableWindow(owner, FALSE);
  MSG msg;
  while (IsWindow(tool) && !done()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (HWND other = modeless ? modeless() : nullptr) {
      if (IsWindow(other) && Within(other, msg.hwnd) && IsDialogMessageW(other, &msg)) continue;
    }
    if (IsDialogMessageW(tool, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (owner != nullptr) EnableWindow(owner, TRUE);  // before the tool goes, so the owner is activated
}

}  // namespace tovani::win32
