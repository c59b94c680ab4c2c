#include "ui/help/help_window_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>

#include "app/registry.h"
#include "framework/win32/controls.h"
#include "framework/win32/dpi.h"
#include "framework/win32/fonts.h"
#include "ui/help/help_frame.h"
#include "ui/help/help_model.h"
#include "ui/base/tool_window_win32.h"
#include "ui/base/messages.h"
#include "ui/base/places_win32.h"
#include "weather/http.h"

namespace tovani::help {
namespace {

// Opening the connection gives up after this long, and the whole answer must
// have come within the second limit.
constexpr int kConnectMs = 20000;
constexpr int kAnswerMs = 60000;

// What the window and its version check share.  The check's thread keeps it
// alive for as long as it runs; the window is the target only while it is
// open, and a check whose window has closed keeps its result to itself.
struct VersionCheck {
  std::atomic<bool> stop{false};
  std::mutex mutex;
  HWND target = nullptr;  // guarded by mutex
  std::string note;       // guarded by mutex: the text for the introduction
};

// The page's answer as far as it came; "" when the page could not be asked
// for or the check was stopped.
std::string Download(const VersionPage& page, const std::atomic<bool>& stop) {
  const net::HttpLimits limits{kConnectMs, kAnswerMs, kAnswerMs, kAnswerLimit};
  const std::optional<std::string> answer = net::HttpGet(page.host, page.port, VersionRequest(page), limits, &stop);
  return stop || !answer ? std::string() : *answer;
}

void RunCheck(const std::shared_ptr<VersionCheck>& check, const VersionPage& page) {
  try {
    const auto version = NewerVersion(Download(page, check->stop));
    if (!version) return;
    std::lock_guard lock(check->mutex);
    if (check->target == nullptr) return;
    check->note = NewVersionNote(*version, page);
    PostMessageW(check->target, kVersionFound, 0, 0);
  } catch (...) {
    // Out of memory: the check says nothing, as when the page cannot be read.
  }
}

class HelpWindow : public ToolWindow {
 public:
  explicit HelpWindow(ProgramContext& program)
      : ToolWindow(program),
        years_{program.state.LowestYear, program.state.HighestYear, program.state.ToolHighestYear},
        introduction_(Introduction(years_)) {}
  ~HelpWindow() override { EndCheck(); }

  void Run(HWND owner) { RunModal(owner, kClassName, kCaption, kWindowWidth, kWindowHeight); }

 protected:
  void CreateControls(UINT dpi) override;
  void OnCommand(int id, int code, HWND control) override;
  void Relayout(UINT dpi) override;
  void OnClosing() override { EndCheck(); }
  std::optional<LRESULT> OnOwnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  HWND Item(int id) const { return GetDlgItem(hwnd(), id); }
  static HFONT FontOf(int id, UINT dpi) {
    const int px = id == kIntroduction ? kIntroductionFontPx : id == kPageBox ? kPageFontPx : kControlFontPx;
    return win32::GetFont("宋体", px, false, dpi);
  }
  void ShowPage(int page);
  void StartCheck();
  void EndCheck();
  void ShowNote();

  Coverage years_;
  std::string introduction_;
  int page_ = kFeatures;
  std::shared_ptr<VersionCheck> check_;
};

void HelpWindow::CreateControls(UINT dpi) {
  const HWND w = hwnd();
  for (const ControlPlace& c : kPlaces) {
    const win32::Place place = PlaceOf(c);
    HFONT font = FontOf(c.id, dpi);
    if (c.id == kIntroduction || c.id == kPageBox) {
      HWND box = win32::CreateControl(w, WC_EDITW, c.id,
                                      ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP | WS_GROUP,
                                      WS_EX_CLIENTEDGE, place, dpi, font);
      win32::MakeReadOnlyText(box, true);
      Colour(box, ColourRole::kWindowText, ColourRole::kWindow);
    } else if (c.id >= kFirstTab && c.id < kFirstTab + kPageCount) {
      const int page = c.id - kFirstTab;
      // The tab labels are one group: the arrow keys move between them.
      const DWORD first = page == 0 ? WS_TABSTOP | WS_GROUP : 0;
      win32::CreateControl(w, WC_BUTTONW, c.id, BS_AUTORADIOBUTTON | BS_PUSHLIKE | first, 0, place, dpi, font,
                           PageLabel(page));
    } else {
      const bool ok = c.id == kOkButton;
      win32::CreateControl(w, WC_BUTTONW, c.id, (ok ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP | WS_GROUP, 0,
                           place, dpi, font, ok ? "确定" : "取消");
    }
  }
  win32::SetTextOf(Item(kIntroduction), introduction_);
  ShowPage(kFeatures);
  StartCheck();
}

void HelpWindow::Relayout(UINT dpi) {
  for (const ControlPlace& c : kPlaces) {
    HWND h = Item(c.id);
    if (h == nullptr) continue;
    win32::MoveTo(h, PlaceOf(c), dpi);
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(c.id, dpi)), TRUE);
  }
}

// The page's label is marked and its text shown from the top.
void HelpWindow::ShowPage(int page) {
  page_ = page;
  for (int p = 0; p < kPageCount; ++p) {
    SendMessageW(Item(kFirstTab + p), BM_SETCHECK, p == page ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  HWND box = Item(kPageBox);
  win32::SetTextOf(box, PageText(page, years_));
  SendMessageW(box, EM_SETSEL, 0, 0);
  SendMessageW(box, EM_SCROLLCARET, 0, 0);
}

// The page address is read here, on the window's thread; the thread gets its
// own copy and the shared check.
void HelpWindow::StartCheck() {
  // Like every setting, the page is read only while registry use is on;
  // without a valid page nothing leaves the computer.
  if (!program().state.RegistryUseFlag) return;
  const auto page = ParseVersionPage(
      ReadRegistryText(program().registry, RegistryRoot::kCurrentUser, kSettingsKey, kVersionPageSetting));
  if (!page) return;
  check_ = std::make_shared<VersionCheck>();
  check_->target = hwnd();
  try {
    std::thread(RunCheck, check_, *page).detach();
  } catch (const std::system_error&) {
    check_.reset();  // no thread: no check
  }
}

// The window no longer takes a result, and the check stops waiting; its
// thread ends by itself and never waits for the window.
void HelpWindow::EndCheck() {
  if (check_ == nullptr) return;
  {
    std::lock_guard lock(check_->mutex);
    check_->target = nullptr;
  }
  check_->stop = true;
  check_.reset();
}

void HelpWindow::ShowNote() {
  if (check_ == nullptr) return;
  std::string note;
  {
    std::lock_guard lock(check_->mutex);
    note.swap(check_->note);
  }
  if (note.empty()) return;
  introduction_ += note;
  HWND box = Item(kIntroduction);
  win32::SetTextOf(box, introduction_);
  // The news is at the end: scrolled into view.
  const WPARAM end = static_cast<WPARAM>(GetWindowTextLengthW(box));
  SendMessageW(box, EM_SETSEL, end, static_cast<LPARAM>(end));
  SendMessageW(box, EM_SCROLLCARET, 0, 0);
}

void HelpWindow::OnCommand(int id, int code, HWND control) {
  if (id == IDOK && control == nullptr) {
    RequestClose();  // Enter: "确定"
  } else if ((id == kOkButton || id == kCancelButton) && code == BN_CLICKED) {
    RequestClose();
  } else if (id >= kFirstTab && id < kFirstTab + kPageCount && code == BN_CLICKED) {
    if (id - kFirstTab != page_) ShowPage(id - kFirstTab);
  }
}

std::optional<LRESULT> HelpWindow::OnOwnMessage(UINT msg, WPARAM, LPARAM) {
  switch (msg) {
    case kVersionFound:
      ShowNote();
      return 0;
    case WM_DESTROY:
      EndCheck();  // however the window goes
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

}  // namespace

void OpenHelpWindow(ProgramContext& program, HWND owner, int) {
  HelpWindow window(program);
  window.Run(owner);
}

}  // namespace tovani::help
