#include "framework/win32/controls.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <memory>
#include <unordered_map>
#include <vector>

#include "framework/win32/faults.h"
#include "framework/win32/fonts.h"
#include "framework/win32/shown.h"
#include "framework/win32/wide.h"
#include "framework/win32/gdi.h"

namespace tovani::win32 {
namespace {

// An edit box the user types into: its text is the user's, never converted.
bool IsUserField(HWND control) {
  wchar_t cls[16] = {};
  GetClassNameW(control, cls, 16);
  return lstrcmpiW(cls, WC_EDITW) == 0 && (GetWindowLongW(control, GWL_STYLE) & ES_READONLY) == 0;
}

}  // namespace

HWND CreateControl(HWND parent, const wchar_t* cls, int id, DWORD style, DWORD exStyle, const Place& place96,
                   UINT dpi, HFONT font, const std::string& text) {
  const Place p = Scale(place96, dpi);
  const bool userField = lstrcmpiW(cls, WC_EDITW) == 0 && (style & ES_READONLY) == 0;
  HWND h = CreateWindowExW(exStyle, cls, (userField ? Wide(text) : Shown(text)).c_str(),
                           WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, p.x, p.y, p.width, p.height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
  if (h != nullptr && font != nullptr) SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return h;
}

std::string TextOf(HWND control) {
  const int n = GetWindowTextLengthW(control);
  std::wstring w(static_cast<std::size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(control, w.data(), n + 1);
  w.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return Narrow(w);
}

void SetTextOf(HWND control, const std::string& text, const std::vector<std::string>& kept) {
  SetWindowTextW(control, (IsUserField(control) ? Wide(text) : Shown(text, kept)).c_str());
}

void KeepTextOf(HWND control, const std::string& text) {
  DefWindowProcW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Shown(text).c_str()));
}

void Unthemed(HWND control) { SetWindowTheme(control, L"", L""); }

// ---- ComboBox ----

void ComboBox::Create(HWND parent, int id, const Place& place96, UINT dpi, HFONT font, int dropHeight96) {
  Place p = place96;
  p.height = dropHeight96;
  hwnd = CreateControl(parent, WC_COMBOBOXW, id, CBS_DROPDOWNLIST | CBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, 0,
                       p, dpi, font);
  Unthemed(hwnd);
}

void ComboBox::SetItems(const std::vector<std::string>& items, const std::vector<std::string>& kept) const {
  SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0);
  SendMessageW(hwnd, CB_RESETCONTENT, 0, 0);
  SendMessageW(hwnd, CB_INITSTORAGE, items.size(), items.size() * 24);
  for (const std::string& s : items) {
    SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Shown(s, kept).c_str()));
  }
  SendMessageW(hwnd, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd, nullptr, TRUE);
}

std::string ComboBox::Item(int index) const {
  const LRESULT n = SendMessageW(hwnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (n == CB_ERR) return {};
  std::wstring w(static_cast<std::size_t>(n) + 1, L'\0');
  SendMessageW(hwnd, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(w.data()));
  w.resize(static_cast<std::size_t>(n));
  return Narrow(w);
}

HWND ComboBox::List() const {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  return GetComboBoxInfo(hwnd, &info) ? info.hwndList : nullptr;
}

// ---- TextBox ----

void MakeReadOnlyText(HWND edit, bool keysToWindow) {
  SendMessageW(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(2, 2));
  SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
  Subclass(edit, [keysToWindow](HWND h, UINT msg, WPARAM w, LPARAM) -> std::optional<LRESULT> {
    switch (msg) {
      case WM_GETDLGCODE:
        if (!keysToWindow) return std::nullopt;
        return CallNext(h, msg, w, 0) & ~(DLGC_WANTALLKEYS | DLGC_HASSETSEL);
      case WM_KEYDOWN:
        if (w == 'A' && (GetKeyState(VK_CONTROL) & 0x8000) != 0) {
          SendMessageW(h, EM_SETSEL, 0, -1);
          return 0;
        }
        return std::nullopt;
      case WM_CHAR:
        if (w == 1) return 0;  // Ctrl+A's character, handled at its key: no beep
        return std::nullopt;
      case WM_LBUTTONDBLCLK:
        SetFocus(h);
        SendMessageW(h, EM_SETSEL, 0, -1);
        return 0;
      case WM_PASTE:
      case WM_CUT:
      case WM_CLEAR:
        return 0;
      case WM_DESTROY:
        // Wine's multi-line edit keeps what it laid out for each line when
        // it is destroyed (some 90 bytes a line, every time a window with a
        // page of text closes); emptied first, it lets go of them.
        if ((GetWindowLongW(h, GWL_STYLE) & ES_MULTILINE) != 0) SetWindowTextW(h, L"");
        return std::nullopt;
      default:
        return std::nullopt;
    }
  });
}

void TextBox::Create(HWND parent, int id, const Place& place96, UINT dpi, HFONT font, bool multiLine, bool centred,
                     bool framed, bool scrolls) {
  DWORD style = ES_READONLY | (centred ? ES_CENTER : ES_LEFT);
  style |= multiLine ? ES_MULTILINE | ES_AUTOVSCROLL : ES_AUTOHSCROLL;
  if (multiLine && scrolls) style |= WS_VSCROLL;
  hwnd = CreateControl(parent, WC_EDITW, id, style | (framed ? WS_BORDER : 0), 0, place96, dpi, font);
  MakeReadOnlyText(hwnd, false);
  if (multiLine && scrolls) ShowScrollBarWhenLonger();
}

int LineHeightOf(HWND control) {
  const WindowDc dc(control);
  const Selection font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  TEXTMETRICW tm{};
  GetTextMetricsW(dc.get(), &tm);
  return static_cast<int>(tm.tmHeight);
}

void TextBox::SetFittingText(const std::string& text, const char* face, int pixels96, UINT dpi) const {
  RECT r{};
  SendMessageW(hwnd, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
  HFONT font = GetFontFittingTexts(face, pixels96, false, dpi, {ShownText(text)}, r.right - r.left);
  if (reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)) != font) {
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
  SetText(text);
}

void TextBox::ShowScrollBarWhenLonger() const {
  // Measured without the bar: a text that fits the full width needs none; one
  // that does not fit needs it all the more once the bar takes its room.
  ShowScrollBar(hwnd, SB_VERT, FALSE);
  const auto lines = static_cast<int>(SendMessageW(hwnd, EM_GETLINECOUNT, 0, 0));
  RECT r{};
  SendMessageW(hwnd, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
  const int lineHeight = LineHeightOf(hwnd);
  if (lineHeight > 0 && lines * lineHeight > r.bottom - r.top) {
    ShowScrollBar(hwnd, SB_VERT, TRUE);
    SendMessageW(hwnd, EM_SCROLLCARET, 0, 0);
  }
}

void TextBox::SetText(const std::string& text, const std::vector<std::string>& kept) const {
  const std::string shown = IsUserField(hwnd) ? text : ShownText(text, kept);
  if (TextOf(hwnd) != shown) SetWindowTextW(hwnd, Wide(shown).c_str());
}

std::string TextBox::Text() const { return TextOf(hwnd); }

// ---- Tooltips ----

void Tooltips::Create(HWND parent) {
  hwnd = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr,
                         reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
}

void Tooltips::Add(HWND control, const std::string& text) {
  texts_.emplace_back(control, text);
  std::wstring w = Shown(text);
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND;
  ti.hwnd = GetParent(control);
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  ti.lpszText = w.data();
  SendMessageW(hwnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  // The control's mouse messages reach the tooltip through our own
  // subclassing (see Subclass), not the common controls' TTF_SUBCLASS.
  const HWND tip = hwnd;
  Subclass(control, [tip](HWND h, UINT msg, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
    if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) {
      MSG m{h, msg, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
      SendMessageW(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
    }
    return std::nullopt;
  });
}

void Tooltips::ShowTextsAgain() const {
  for (const auto& [control, text] : texts_) {
    std::wstring w = Shown(text);
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = GetParent(control);
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = w.data();
    SendMessageW(hwnd, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
  }
}

// ---- Balloon ----

void Balloon::Create(HWND parent, COLORREF text, COLORREF back, int delayMs) {
  parent_ = parent;
  hwnd = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_BALLOON | TTS_NOPREFIX | TTS_ALWAYSTIP,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr,
                         reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
  Unthemed(hwnd);
  SetColours(text, back);
  SendMessageW(hwnd, TTM_SETDELAYTIME, TTDT_INITIAL, delayMs);
  SendMessageW(hwnd, TTM_SETMAXTIPWIDTH, 0, 400);
  wide_ = L" ";
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_TRACK | TTF_ABSOLUTE;
  ti.hwnd = parent;
  ti.uId = 1;
  ti.lpszText = wide_.data();
  SendMessageW(hwnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void Balloon::SetColours(COLORREF text, COLORREF back) const {
  SendMessageW(hwnd, TTM_SETTIPTEXTCOLOR, text, 0);
  SendMessageW(hwnd, TTM_SETTIPBKCOLOR, back, 0);
}

void Balloon::Show(const std::string& text, POINT at, const std::vector<std::string>& kept) {
  if (hwnd == nullptr) return;
  if (text.empty()) return Hide();
  text_ = text;
  wide_ = Shown(text, kept);
  // Lines of the same width at any scaling of the window's monitor.
  SendMessageW(hwnd, TTM_SETMAXTIPWIDTH, 0, Scale(400, DpiOf(parent_)));
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = parent_;
  ti.uId = 1;
  ti.lpszText = wide_.data();
  SendMessageW(hwnd, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
  SendMessageW(hwnd, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
  SendMessageW(hwnd, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
  // Above its window, which is topmost too and may have come to the front
  // since the balloon was made.
  SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Balloon::Hide() {
  text_.clear();
  if (hwnd == nullptr) return;
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = parent_;
  ti.uId = 1;
  SendMessageW(hwnd, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
}

// ---- Subclassing ----
//
// The window procedure of a subclassed control is replaced by ours, and the
// handlers are found in a table of this (the window) thread.  The common
// controls' SetWindowSubclass keeps its data in a window property, which Wine
// reads from its server for every message: a list of 4000 items took half a
// second to fill that way.

namespace {

struct Subclassed {
  WNDPROC previous = nullptr;
  std::vector<SubclassHandler> handlers;  // the last added sees a message first
};

std::unordered_map<HWND, std::shared_ptr<Subclassed>>& SubclassTable() {
  thread_local std::unordered_map<HWND, std::shared_ptr<Subclassed>> table;
  return table;
}

// The handlers running, innermost last: where CallNext goes on from.
struct Running {
  HWND hwnd;
  std::size_t index;
};
std::vector<Running>& RunningHandlers() {
  thread_local std::vector<Running> running;
  return running;
}

// Handlers below index (index and those added after it excluded), then the
// control's own procedure.
LRESULT DispatchFrom(HWND h, UINT msg, WPARAM w, LPARAM l, std::size_t index) {
  const auto it = SubclassTable().find(h);
  if (it == SubclassTable().end()) return DefWindowProcW(h, msg, w, l);
  const std::shared_ptr<Subclassed> keep = it->second;  // a handler may destroy the window
  while (index-- > 0) {
    if (index >= keep->handlers.size()) continue;
    RunningHandlers().push_back({h, index});
    std::optional<LRESULT> result;
    try {
      result = keep->handlers[index](h, msg, w, l);
    } catch (...) {
      NoteCaughtException("a control's handler");
      result.reset();  // the control's own procedure answers
    }
    RunningHandlers().pop_back();
    if (result) return *result;
    if (!IsWindow(h)) return 0;
  }
  return CallWindowProcW(keep->previous, h, msg, w, l);
}

LRESULT CALLBACK SubclassProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  const auto it = SubclassTable().find(h);
  if (it == SubclassTable().end()) return DefWindowProcW(h, msg, w, l);
  if (msg == WM_NCDESTROY) {
    const WNDPROC previous = it->second->previous;
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(h, GWLP_WNDPROC)) == SubclassProc) {
      SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    }
    SubclassTable().erase(it);
    return CallWindowProcW(previous, h, msg, w, l);
  }
  return DispatchFrom(h, msg, w, l, it->second->handlers.size());
}

}  // namespace

void Subclass(HWND control, SubclassHandler handler) {
  if (control == nullptr) return;
  auto& entry = SubclassTable()[control];
  if (entry == nullptr) {
    entry = std::make_shared<Subclassed>();
    entry->previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
    if (entry->previous == nullptr) {
      SubclassTable().erase(control);
      return;
    }
  }
  entry->handlers.push_back(std::move(handler));
}

LRESULT CallNext(HWND control, UINT msg, WPARAM w, LPARAM l) {
  const auto& running = RunningHandlers();
  for (auto it = running.rbegin(); it != running.rend(); ++it) {
    if (it->hwnd == control) return DispatchFrom(control, msg, w, l, it->index);
  }
  return DispatchFrom(control, msg, w, l, 0);
}

}  // namespace tovani::win32
