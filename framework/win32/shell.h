// The window behaviours that reach into the shell: tray icon, global hot
// keys, transparency, and the desktop as a parent.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <optional>
#include <string_view>
#include <string>
#include <vector>

namespace tovani::win32 {

// A notification-area icon.  It remembers what it shows, so that it can come
// back when the task bar is re-created (or was not there yet at the start).
class TrayIcon {
 public:
  void Add(HWND window, UINT id, HICON icon, const std::string& tip, UINT callbackMessage);
  void SetTip(const std::string& tip, const std::vector<std::string>& kept = {});  // kept: the user's texts in it
  // A notice in a balloon of the icon; while the icon is not shown, it waits
  // for the icon to come.
  void Notify(const std::string& title, const std::string& text);
  void Remove();
  // On the "TaskbarCreated" message: adds the icon again.
  void Restore();
  bool shown() const { return shown_; }
  static UINT TaskbarCreatedMessage();

 private:
  NOTIFYICONDATAW Data() const;
  void ShowNotice();
  HWND window_ = nullptr;
  UINT id_ = 0, callback_ = 0;
  HICON icon_ = nullptr;
  std::wstring tip_;
  std::wstring noticeTitle_, notice_;  // a notice still to be shown
  bool added_ = false;  // Add was called and Remove not yet
  bool shown_ = false;  // the shell has the icon
};

// Global hot keys of a window.  A key another program holds is skipped.
class HotKeys {
 public:
  // True when the key was registered.
  bool Register(HWND window, int id, UINT modifiers, UINT key);
  void UnregisterAll();
  bool Holds(int id) const;

 private:
  HWND window_ = nullptr;
  std::vector<int> ids_;
};

// The opacity of a window (adds the layered style once).
void SetWindowAlpha(HWND window, BYTE alpha);

// The desktop's icon view, which an embedded window takes as its parent:
// Progman > SHELLDLL_DefView > SysListView32, or on newer systems the
// SHELLDLL_DefView under one of the desktop's WorkerW windows.  nullptr when
// there is none.
HWND FindDesktopIconView();

}  // namespace tovani::win32
