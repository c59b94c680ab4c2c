#include "framework/win32/shell.h"

#include <string>

#include "framework/win32/shown.h"
#include "framework/win32/wide.h"

namespace tovani::win32 {

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

}  // namespace tovani::win32
