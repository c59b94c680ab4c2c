// The window behaviours that reach beyond a window: tray icon, global hot
// keys, transparency, the desktop as a parent, the open-file dialog, and the
// message loops.
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

// A filter of the open-file dialog: its name and patterns ("*.MP3;*.WAV").
struct FileFilter {
  std::string name, patterns;
};

// An open-file dialog (program text) with its filters, the first chosen; ""
// when cancelled.
std::string ChooseOpenFile(HWND owner, const std::string& title, const std::vector<FileFilter>& filters,
                           const std::string& folder);

// A file dialog for a file to read (save false) or to write (save true,
// asking before it replaces a file), with its filters, the first chosen, the
// extension added to a name typed without one (none: nullptr), and the folder
// it opens in (empty: the system's choice).  The path as the system gives it
// (any characters); empty when cancelled.
std::wstring ChooseFilePath(HWND owner, bool save, const std::string& title, const std::vector<FileFilter>& filters,
                            const std::wstring& suggestedName, const wchar_t* defaultExtension,
                            const std::wstring& folder = L"");

// A whole file's bytes; nothing when it cannot be read or holds more than
// most bytes.
std::optional<std::string> ReadWholeFile(const std::wstring& path, std::size_t most);
// Writes a whole file: first beside it under another name, then in its
// place, so that a failed write leaves the file that was there.  False when
// it could not be written.
bool WriteWholeFile(const std::wstring& path, std::string_view bytes);

// Message boxes of the program, owned by a window (program text).  Ask: "是"
// and "否", true for "是"; defaultYes chooses the button Enter presses.
bool Ask(HWND owner, const std::string& text, const std::string& caption, bool defaultYes);
void Tell(HWND owner, const std::string& text, const std::string& caption);

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
