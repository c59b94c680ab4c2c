#include "ui/memorial/memorial_window_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "app/records.h"
#include "engine/date_text.h"
#include "framework/win32/controls.h"
#include "framework/win32/dpi.h"
#include "framework/win32/fonts.h"
#include "framework/win32/dialogs.h"
#include "framework/win32/wide.h"
#include "framework/win32/gdi.h"
#include "sound/win32/audio_player_win32.h"
#include "ui/base/file_commands_win32.h"
#include "ui/day/day_model.h"
#include "ui/memorial/memorial_frame.h"
#include "ui/memorial/memorial_model.h"
#include "ui/base/tool_window_win32.h"
#include "ui/base/messages.h"
#include "ui/base/places_win32.h"

namespace tovani::memorial {
namespace {

using day::DayModel;
using day::ListId;

// The open-file dialog's filters: all audio files first, then each kind.
const std::vector<win32::FileFilter> kAudioFilters = {
    {"音频文件", "*.MP3;*.WAV;*.MID;*.WMA"}, {"MID 文件", "*.MID"}, {"MP3 文件", "*.MP3"},
    {"WAV 文件", "*.WAV"},                  {"WMA 文件", "*.WMA"},
};

win32::Place Place96(const ControlPlace& p, bool dropDown) {
  return PlaceOf(p, dropDown ? kDropDownHeight : p.height);
}

bool IsDateList(int id) { return id >= kDateListBase && id < kDateListBase + static_cast<int>(day::kListCount); }

class MemorialWindow : public ToolWindow {
 public:
  MemorialWindow(ProgramContext& program, int kind)
      : ToolWindow(program),
        editor_(MemorialEditor::Open(kind, program.state.RegistryUseFlag,
                                     MakeRecordContext(program.state, program.registry, program.platform))),
        dates_(MakeCalendarRange(kFirstYear, kLastYear, program.state.Rules()),
               *FromGregorian(
                   OpeningDate({program.state.CurrentYear, program.state.CurrentMonth, program.state.CurrentDay}),
                   program.state.Rules()),
               program.state.DFORMShowDynastyFlag) {}

  void Run(HWND owner) { RunModal(owner, kClassName, Caption(editor_.kind()), kWindowWidth, kWindowHeight); }

 protected:
  void CreateControls(UINT dpi) override;
  void OnCommand(int id, int code, HWND control) override;
  void Relayout(UINT dpi) override;
  void OnClosing() override {
    if (player_) player_->CloseIfOpen();
    DragAcceptFiles(hwnd(), FALSE);
  }
  std::optional<LRESULT> OnOwnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  HWND Item(int id) const { return GetDlgItem(hwnd(), id); }
  HFONT FontOf(int id, UINT dpi) const {
    return win32::GetFont("宋体", id == kRecordList ? kListFontPx : kControlFontPx, false, dpi);
  }
  std::optional<LRESULT> OnListInput(int list, UINT msg, WPARAM wParam);
  void ChosenDate(int list);
  void SelectDates();
  void RenderDates();
  void RenderRecords();
  void ChosenRecord();
  void Add(int row);
  void Save();
  void ChooseAudio();
  void Dropped(HDROP drop);
  void SetAudio(const std::string& path) { win32::SetTextOf(Item(kAudioField), path); }
  // The add buttons work only with a title to add.
  void EnableAddButtons();

  MemorialEditor editor_;
  DayModel dates_;
  std::array<win32::ComboBox, day::kListCount> lists_;
  std::array<unsigned, day::kListCount> shown_{};
  win32::Tooltips tooltips_;
  std::optional<sound::EditorPlayerControls> player_;
  int wheel_ = 0;
};

void MemorialWindow::CreateControls(UINT dpi) {
  const HWND w = hwnd();
  tooltips_.Create(w);
  for (const ControlPlace& p : kPlaces) {
    const HFONT font = FontOf(p.id, dpi);
    const win32::Place place = Place96(p, IsDateList(p.id));
    if (IsDateList(p.id)) {
      const int i = p.id - kDateListBase;
      lists_[i].Create(w, p.id, place, dpi, font, kDropDownHeight);
      tooltips_.Add(lists_[i].hwnd, day::ListName(static_cast<ListId>(i)));
      win32::Subclass(lists_[i].hwnd, [this, i](HWND, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        return OnListInput(i, msg, wParam);
      });
      continue;
    }
    switch (p.id) {
      case kRecordList:
        win32::CreateControl(w, WC_LISTBOXW, p.id,
                             LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | WS_GROUP,
                             WS_EX_CLIENTEDGE, place, dpi, font);
        break;
      case kAddBase + 0:
      case kAddBase + 1:
      case kAddBase + 2:
        win32::CreateControl(w, WC_BUTTONW, p.id, BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, place, dpi, font,
                             AddCaption(editor_.kind(), p.id - kAddBase));
        break;
      case kStatus:
        Colour(win32::CreateControl(w, WC_STATICW, p.id, SS_LEFT | SS_NOPREFIX, 0, place, dpi, font),
               ColourRole::kRedText, ColourRole::kFace);
        break;
      case kTitleField:
      case kAudioField: {
        HWND field = win32::CreateControl(w, WC_EDITW, p.id, ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP,
                                          WS_EX_CLIENTEDGE, place, dpi, font);
        SendMessageW(field, EM_SETLIMITTEXT, 0, 0);
        tooltips_.Add(field, p.id == kTitleField ? TitleTip(editor_.kind()) : "音频文件");
        break;
      }
      case kChooseAudio:
      case kAudition:
      case kPause:
      case kDelete:
      case kSave:
      case kCancel: {
        const char* caption = p.id == kChooseAudio ? "选择音频文件"
                              : p.id == kAudition  ? "试听"
                              : p.id == kPause     ? "播放"
                              : p.id == kDelete    ? "删除"
                              : p.id == kSave      ? "保存"
                                                   : "取消";
        win32::CreateControl(w, WC_BUTTONW, p.id, BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, place, dpi, font,
                             caption);
        break;
      }
      case kCalendarFile:
        win32::CreateControl(w, WC_BUTTONW, p.id, BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, place, dpi, font,
                             "导出日历文件...");
        break;
      case kAudioSink:
        win32::CreateControl(w, WC_STATICW, p.id, 0, 0, place, dpi, nullptr);
        break;
      default:
        break;
    }
  }
  player_.emplace(w, Item(kAudition), Item(kPause));
  RenderDates();
  RenderRecords();
  if (!editor_.editable()) {
    for (const ControlPlace& p : kPlaces) {
      if (p.id != kCancel) EnableWindow(Item(p.id), FALSE);
    }
  } else {
    DragAcceptFiles(w, TRUE);
    EnableAddButtons();
  }
}

void MemorialWindow::EnableAddButtons() {
  const bool titled = editor_.editable() && !TrimBlanks(win32::TextOf(Item(kTitleField))).empty();
  for (int row = 0; row < kRowCount; ++row) {
    HWND button = Item(kAddBase + row);
    if ((IsWindowEnabled(button) != FALSE) != titled) EnableWindow(button, titled ? TRUE : FALSE);
  }
}

void MemorialWindow::Relayout(UINT dpi) {
  for (const ControlPlace& p : kPlaces) {
    HWND h = Item(p.id);
    if (h == nullptr) continue;
    win32::MoveTo(h, Place96(p, IsDateList(p.id)), dpi);
    if (p.id != kAudioSink) SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(p.id, dpi)), TRUE);
  }
  RenderRecords();  // the scrolling width follows the font
}

// ---- The date lists ----

void MemorialWindow::RenderDates() {
  for (int i = 0; i < day::kListCount; ++i) {
    const day::ListContent& c = dates_.List(static_cast<ListId>(i));
    if (c.version != shown_[i] || lists_[i].Count() != static_cast<int>(c.items.size())) {
      lists_[i].SetItems(c.items);
      shown_[i] = c.version;
    }
  }
  SelectDates();
}

void MemorialWindow::SelectDates() {
  for (int i = 0; i < day::kListCount; ++i) {
    const int selected = dates_.Selected(static_cast<ListId>(i));
    if (lists_[i].Selected() != selected) lists_[i].Select(selected);
  }
}

void MemorialWindow::ChosenDate(int list) {
  const int i = lists_[list].Selected();
  if (i < 0 || i == dates_.Selected(static_cast<ListId>(list))) return;
  dates_.Choose(static_cast<ListId>(list), i);
  RenderDates();
}

// Arrow keys and the wheel at the first or last item of a closed month or
// day list step across it, as in the day window.
std::optional<LRESULT> MemorialWindow::OnListInput(int list, UINT msg, WPARAM wParam) {
  int direction = 0;
  if (msg == WM_KEYDOWN && (GetKeyState(VK_MENU) & 0x8000) == 0) {
    if (wParam == VK_LEFT || wParam == VK_UP) direction = -1;
    if (wParam == VK_RIGHT || wParam == VK_DOWN) direction = 1;
  } else if (msg == WM_MOUSEWHEEL) {
    wheel_ += GET_WHEEL_DELTA_WPARAM(wParam);
    if (wheel_ > -WHEEL_DELTA && wheel_ < WHEEL_DELTA) return 0;
    direction = wheel_ > 0 ? -1 : 1;
    wheel_ = 0;
  }
  if (direction == 0 || lists_[list].Dropped()) return std::nullopt;
  if (dates_.Step(static_cast<ListId>(list), direction)) {
    RenderDates();
    return 0;
  }
  if (msg != WM_MOUSEWHEEL) return std::nullopt;
  const int i = lists_[list].Selected() + direction;  // one notch, one item
  if (i >= 0 && i < lists_[list].Count()) {
    lists_[list].Select(i);
    ChosenDate(list);
  }
  return 0;
}

// ---- The record list ----

void MemorialWindow::RenderRecords() {
  HWND box = Item(kRecordList);
  SendMessageW(box, WM_SETREDRAW, FALSE, 0);
  SendMessageW(box, LB_RESETCONTENT, 0, 0);
  const win32::WindowDc dc(box);
  const win32::Selection font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
  int widest = 0;
  for (const std::string& line : editor_.lines()) {
    const std::wstring w = Wide(line);
    SendMessageW(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(w.c_str()));
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), w.c_str(), static_cast<int>(w.size()), &size);
    widest = std::max(widest, static_cast<int>(size.cx));
  }
  SendMessageW(box, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + win32::Scale(4, dpi())), 0);
  SendMessageW(box, LB_SETCURSEL, static_cast<WPARAM>(editor_.chosen()), 0);
  SendMessageW(box, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(box, nullptr, TRUE);
  win32::SetTextOf(Item(kStatus), editor_.status());
}

void MemorialWindow::ChosenRecord() {
  const int i = static_cast<int>(SendMessageW(Item(kRecordList), LB_GETCURSEL, 0, 0));
  if (i < 0 || i == editor_.chosen()) return;
  const auto fields = editor_.Choose(i);
  player_->CloseIfOpen();
  if (!fields) return;
  if (const auto day = DayOfLine(*fields, dates_.range().rules); day && dates_.GoTo(day->gregorian)) RenderDates();
  win32::SetTextOf(Item(kTitleField), fields->title);
  SetAudio(fields->audio);
}

void MemorialWindow::Add(int row) {
  const std::string status = editor_.status();
  const bool added =
      editor_.Add(row, dates_.date(), win32::TextOf(Item(kTitleField)), win32::TextOf(Item(kAudioField)));
  if (added || editor_.status() != status) RenderRecords();  // a full list says so
}

void MemorialWindow::Save() {
  player_->CloseIfOpen();
  if (editor_.Save(program().registry)) {
    RequestClose();
    return;
  }
  RenderRecords();
}

// ---- Audio ----

void MemorialWindow::ChooseAudio() {
  const std::string current = TrimBlanks(win32::TextOf(Item(kAudioField)));
  const auto slash = current.rfind('\\');
  const std::string chosen = win32::ChooseOpenFile(hwnd(), "选择音频文件", kAudioFilters,
                                                   slash == std::string::npos ? "" : current.substr(0, slash + 1));
  if (!chosen.empty()) SetAudio(chosen);
}

void MemorialWindow::Dropped(HDROP drop) {
  std::wstring path(32768, L'\0');
  const UINT n = DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size()));
  DragFinish(drop);
  path.resize(n);
  const std::string narrow = Narrow(path);
  if (const auto field = DroppedAudio(narrow, Wide(narrow) == path, program().platform)) SetAudio(*field);
}

// ---- Events ----

void MemorialWindow::OnCommand(int id, int code, HWND) {
  if (IsDateList(id)) {
    const int i = id - kDateListBase;
    switch (code) {
      case CBN_SELENDOK: ChosenDate(i); break;
      case CBN_SELCHANGE:
        if (!lists_[i].Dropped()) ChosenDate(i);  // a key on a closed list
        break;
      case CBN_CLOSEUP: PostMessageW(hwnd(), kSettleLists, 0, 0); break;
      default: break;
    }
    return;
  }
  if (id >= kAddBase && id < kAddBase + static_cast<int>(kRowCount)) {
    if (code == BN_CLICKED) Add(id - kAddBase);
    return;
  }
  switch (id) {
    case kRecordList:
      if (code == LBN_SELCHANGE) ChosenRecord();
      break;
    case kTitleField:
      if (code == EN_CHANGE) EnableAddButtons();
      break;
    case kAudioField:
      if (code == EN_CHANGE) player_->CloseIfOpen();  // another file
      break;
    case kChooseAudio:
      if (code == BN_CLICKED) ChooseAudio();
      break;
    case kAudition:
      if (code == BN_CLICKED) player_->AuditionToggle(TrimBlanks(win32::TextOf(Item(kAudioField))), Item(kAudioSink));
      break;
    case kPause:
      if (code == BN_CLICKED) player_->PauseToggle();
      break;
    case kDelete:
      if (code == BN_CLICKED && editor_.Delete()) RenderRecords();
      break;
    case kSave:
      if (code == BN_CLICKED) Save();
      break;
    case kCalendarFile:
      if (code == BN_CLICKED) CalendarFileFromMenu(hwnd(), program());
      break;
    case kCancel:
      if (code == BN_CLICKED) RequestClose();
      break;
    default:
      break;
  }
}

std::optional<LRESULT> MemorialWindow::OnOwnMessage(UINT msg, WPARAM wParam, LPARAM) {
  switch (msg) {
    case WM_TIMER:
      if (wParam != sound::EditorPlayerControls::kPollTimerId) return std::nullopt;
      if (player_) player_->Poll();
      return 0;
    case WM_DROPFILES:
      if (editor_.editable()) {
        Dropped(reinterpret_cast<HDROP>(wParam));
      } else {
        DragFinish(reinterpret_cast<HDROP>(wParam));
      }
      return 0;
    case kSettleLists:
      SelectDates();
      return 0;
    default:
      return std::nullopt;
  }
}

}  // namespace

void OpenMemorialEditor(ProgramContext& program, HWND owner, int kind) {
  MemorialWindow window(program, kind);
  window.Run(owner);
}

}  // namespace tovani::memorial
