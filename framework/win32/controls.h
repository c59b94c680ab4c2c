// Small typed wrappers over the standard controls.  Texts go in and come out
// as program text (code page 936); the W functions do the work.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "framework/win32/dpi.h"
#include "framework/win32/shown.h"

namespace tovani::win32 {

// Creates a child control of a standard class at its 96-DPI place.
HWND CreateControl(HWND parent, const wchar_t* cls, int id, DWORD style, DWORD exStyle, const Place& place96,
                   UINT dpi, HFONT font, const std::string& text = {});

// A drop-down list, selection only.
struct ComboBox {
  HWND hwnd = nullptr;
  void Create(HWND parent, int id, const Place& place96, UINT dpi, HFONT font, int dropHeight96);
  // The items as program texts (see shown.h), the kept texts in them the user's.
  void SetItems(const std::vector<std::string>& items, const std::vector<std::string>& kept = {}) const;
  void Select(int index) const { SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }
  int Selected() const { return static_cast<int>(SendMessageW(hwnd, CB_GETCURSEL, 0, 0)); }
  int Count() const { return static_cast<int>(SendMessageW(hwnd, CB_GETCOUNT, 0, 0)); }
  bool Dropped() const { return SendMessageW(hwnd, CB_GETDROPPEDSTATE, 0, 0) != 0; }
  std::string Item(int index) const;
  // The list that drops down (for its colours).
  HWND List() const;
};

// A read-only edit control: selectable, copyable text that screen readers
// read; a double click or Ctrl+A selects all of it, pasting does nothing.
// A read-only edit as users meet it: any length of text, Ctrl+A and a double
// click select all, paste, cut and clear do nothing. With keysToWindow, Tab,
// Enter and Esc go to the window, as from the other fields, even from a
// multi-line box (which would keep them).
void MakeReadOnlyText(HWND edit, bool keysToWindow);

struct TextBox {
  HWND hwnd = nullptr;
  // A multi-line box that scrolls shows a vertical scroll bar while its text
  // is longer than the box (ShowScrollBarWhenLonger after each new text).
  void Create(HWND parent, int id, const Place& place96, UINT dpi, HFONT font, bool multiLine, bool centred,
              bool framed, bool scrolls = false);
  void SetText(const std::string& text, const std::vector<std::string>& kept = {}) const;  // only when it differs
  // A one-line text in the largest font of the face, at most pixels96 high,
  // in which the whole text fits the box (whatever face stands in for it).
  void SetFittingText(const std::string& text, const char* face, int pixels96, UINT dpi) const;
  void ShowScrollBarWhenLonger() const;
  std::string Text() const;
};

std::string TextOf(HWND control);
// The height of a line in the control's font, in pixels.
int LineHeightOf(HWND control);
// Program texts go to controls as the windows show them (shown.h): an edit
// box the user types into gets its text as it is, any other control the
// program's text in the characters chosen, but for the kept texts in it.
void SetTextOf(HWND control, const std::string& text, const std::vector<std::string>& kept = {});
// The text kept as the control's own (what WM_GETTEXT and assistive
// technology read) without the control painting itself at once, as a static
// does on a new text: for owner-drawn controls that are invalidated anyway.
void KeepTextOf(HWND control, const std::string& text);

// Tooltips that show a control's name while the mouse rests on it.
struct Tooltips {
  HWND hwnd = nullptr;
  void Create(HWND parent);
  void Add(HWND control, const std::string& text);
  // After a change of the characters shown.
  void ShowTextsAgain() const;

 private:
  std::vector<std::pair<HWND, std::string>> texts_;
};

// A balloon not tied to hovering: shown at a point as soon as it has a text.
struct Balloon {
  HWND hwnd = nullptr;
  void Create(HWND parent, COLORREF text, COLORREF back, int delayMs);
  void SetColours(COLORREF text, COLORREF back) const;
  // An empty text hides the balloon.  The point is in screen pixels.
  void Show(const std::string& text, POINT at, const std::vector<std::string>& kept = {});
  void Hide();
  const std::string& text() const { return text_; }

 private:
  HWND parent_ = nullptr;
  std::wstring wide_;
  std::string text_;
};

// Sees a control's messages before the control does.  The handler returns a
// result to swallow a message, or nothing to let the control have it; a
// handler added later sees a message first.
using SubclassHandler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;
void Subclass(HWND control, SubclassHandler handler);
// Within a handler: what the handlers below it and the control make of a
// message.
LRESULT CallNext(HWND control, UINT msg, WPARAM w, LPARAM l);

// Takes the visual theme off a control, so that it uses the colours given to
// it (themed drop-down lists and tooltips ignore them).
void Unthemed(HWND control);

}  // namespace tovani::win32
