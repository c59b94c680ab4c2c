#include "framework/win32/shell.h"

#include <commdlg.h>

#include <algorithm>

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
  std::wstring filter;  // name, patterns, ..., each ending in a zero, then one more
  for (const FileFilter& f : filters) filter += Shown(f.name) + L'\0' + Wide(f.patterns) + L'\0';
  filter += L'\0';
  std::wstring file(32768, L'\0');
  const std::wstring wideTitle = Shown(title), wideFolder = Wide(folder);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = wideFolder.empty() ? nullptr : wideFolder.c_str();
  ofn.lpstrTitle = wideTitle.c_str();
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
  if (!GetOpenFileNameW(&ofn)) return {};
  file.resize(wcslen(file.c_str()));
  // A path with characters outside code page 936 could not be opened again.
  const std::string narrow = Narrow(file);
  return Wide(narrow) == file ? narrow : std::string();
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
