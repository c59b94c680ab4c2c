#include "ui/tables/tables_window_win32.h"

#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/win32/controls.h"
#include "framework/win32/dpi.h"
#include "framework/win32/fonts.h"
#include "ui/base/tool_window_win32.h"
#include "ui/tables/tables_frame.h"
#include "ui/tables/tables_model.h"
#include "ui/base/places_win32.h"

namespace tovani::tables {
namespace {

class TablesWindow : public ToolWindow {
 public:
  TablesWindow(ProgramContext& program, int page) : ToolWindow(program), form_(page, OpeningOf(program.state)) {}

  void Run(HWND owner) { RunModal(owner, kClassName, PageCaption(form_.page()), kWindowWidth, kWindowHeight); }

 protected:
  void CreateControls(UINT dpi) override;
  void OnCommand(int id, int code, HWND control) override;
  std::optional<LRESULT> OnOwnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  static Opening OpeningOf(const AppState& s) {
    return {s.LowestYear, s.LunarFirst.year, s.CurrentYear, s.CurrentLunarYear, s.NowCityCode, s.MyCity, s.Rules()};
  }
  HWND Item(int id) const { return GetDlgItem(hwnd(), id); }
  void Place(UINT dpi);
  void ReadInputs();
  void ShowField();
  void ShowResult(const std::optional<std::string>& table);
  void EmptyResult() { win32::SetTextOf(Item(kResult), {}); }
  void RunAndShow(const std::function<std::optional<std::string>()>& compute);
  HFONT ResultFont(UINT dpi) const;

  TablesForm form_;
  std::vector<std::string> sampleLines_;  // lines of the first table, for the result box's font
};

void TablesWindow::CreateControls(UINT dpi) {
  const HWND w = hwnd();
  HFONT font = win32::GetFont("宋体", kControlFontPx, false, dpi);
  const bool sunPage = form_.page() == kSunTimes;
  const std::optional<std::string> first = form_.Compute();
  if (first) {
    for (std::size_t start = 0; start != std::string::npos && sampleLines_.size() < 30;) {
      const std::size_t end = first->find(kLineBreak, start);
      sampleLines_.push_back(first->substr(start, end == std::string::npos ? end : end - start));
      start = end == std::string::npos ? end : end + 2;
    }
  }
  for (const ControlPlace& c : kPlaces) {
    const win32::Place place = PlaceOf(c);
    switch (c.id) {
      case kYearLabel:
        win32::CreateControl(w, WC_STATICW, c.id, SS_LEFT | SS_NOPREFIX, 0, place, dpi, font,
                             YearLabel(form_.page()));
        break;
      case kYearField:
        win32::CreateControl(w, WC_EDITW, c.id, ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, WS_EX_CLIENTEDGE, place,
                             dpi, win32::GetFittingFont("宋体", 14, false, dpi, win32::Scale(c.height - 4, dpi)));
        break;
      case kBeforeEra:
        win32::CreateControl(w, WC_BUTTONW, c.id, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 0, place, dpi, font,
                             "纪元前");
        break;
      case kCompute:
        win32::CreateControl(w, WC_BUTTONW, c.id, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, place, dpi, font,
                             "计算");
        break;
      case kCancel:
        win32::CreateControl(w, WC_BUTTONW, c.id, BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, place, dpi, font,
                             "取消");
        break;
      case kCityList:
        if (sunPage) {
          win32::ComboBox list;
          list.Create(w, c.id, place, dpi, font, kCityListDropHeight);
          list.SetItems(form_.cities(), {state().MyCity.name});  // the own place's name as typed
          list.Select(form_.city);
        }
        break;
      case kPreviousYear:
      case kNextYear:
        win32::CreateControl(w, WC_BUTTONW, c.id, BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, place, dpi, font,
                             c.id == kPreviousYear ? "上一年" : "下一年");
        break;
      case kSunriseSunset:
      case kDawnDusk:
        if (sunPage) {
          const bool first = c.id == kSunriseSunset;
          HWND radio = win32::CreateControl(w, WC_BUTTONW, c.id,
                                            BS_AUTORADIOBUTTON | (first ? WS_TABSTOP | WS_GROUP : 0), 0, place,
                                            dpi, font, first ? "日出日落时刻" : "天亮天黑时刻");
          SendMessageW(radio, BM_SETCHECK, first != form_.dawnAndDusk ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        break;
      case kResult: {
        HWND box = win32::CreateControl(
            w, WC_EDITW, c.id, ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP | WS_GROUP,
            WS_EX_CLIENTEDGE, place, dpi, nullptr);
        win32::MakeReadOnlyText(box, true);
        SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(ResultFont(dpi)), FALSE);
        Colour(box, ColourRole::kWindowText, ColourRole::kWindow);
        break;
      }
      default:
        break;
    }
  }
  ShowField();
  SendMessageW(Item(kYearField), EM_SETSEL, 0, -1);  // typing replaces the year
  ShowResult(first);
}

// The largest font, up to the size asked for, in which a table's lines fit
// the result box without wrapping (the tables are laid out in columns).
HFONT TablesWindow::ResultFont(UINT dpi) const {
  HWND box = Item(kResult);
  RECT r{};
  GetClientRect(box, &r);
  const LRESULT margins = SendMessageW(box, EM_GETMARGINS, 0, 0);
  const int width = r.right - r.left - LOWORD(margins) - HIWORD(margins) - 1;
  return win32::GetFontFittingTexts("宋体", kResultFontPx, false, dpi, sampleLines_, width);
}

void TablesWindow::Place(UINT dpi) {
  HFONT font = win32::GetFont("宋体", kControlFontPx, false, dpi);
  for (const ControlPlace& c : kPlaces) {
    HWND h = Item(c.id);
    if (h == nullptr) continue;
    win32::MoveTo(h, PlaceOf(c, c.id == kCityList ? kCityListDropHeight : c.height), dpi);
    HFONT f = c.id == kResult      ? ResultFont(dpi)
              : c.id == kYearField ? win32::GetFittingFont("宋体", 14, false, dpi, win32::Scale(c.height - 4, dpi))
                                   : font;
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(f), TRUE);
  }
}

// The form takes what the controls show now.
void TablesWindow::ReadInputs() {
  form_.field = {win32::TextOf(Item(kYearField)),
                 SendMessageW(Item(kBeforeEra), BM_GETCHECK, 0, 0) == BST_CHECKED};
}

void TablesWindow::ShowField() {
  HWND field = Item(kYearField);
  if (win32::TextOf(field) != form_.field.text) win32::SetTextOf(field, form_.field.text);
  SendMessageW(Item(kBeforeEra), BM_SETCHECK, form_.field.beforeEra ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TablesWindow::ShowResult(const std::optional<std::string>& table) {
  if (!table) return;
  HWND box = Item(kResult);
  win32::SetTextOf(box, *table, {state().MyCity.name});
  SendMessageW(box, EM_SETSEL, 0, 0);
  SendMessageW(box, EM_SCROLLCARET, 0, 0);
}

// A computation from the inputs: the field as the form leaves it, then the
// table (a long one takes a moment: the wait cursor shows meanwhile).
void TablesWindow::RunAndShow(const std::function<std::optional<std::string>()>& compute) {
  ReadInputs();
  HCURSOR before = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  const auto table = compute();
  ShowField();
  ShowResult(table);
  SetCursor(before);
}

void TablesWindow::OnCommand(int id, int code, HWND control) {
  switch (id) {
    case IDOK:
      if (control == nullptr) RunAndShow([this] { return form_.Compute(); });
      break;
    case kCompute:
      if (code == BN_CLICKED) RunAndShow([this] { return form_.Compute(); });
      break;
    case kPreviousYear:
    case kNextYear:
      if (code == BN_CLICKED) {
        RunAndShow([this, id] { return form_.Step(id == kNextYear ? +1 : -1); });
      }
      break;
    case kCancel:
      if (code == BN_CLICKED) RequestClose();
      break;
    case kYearField:
      if (code == EN_CHANGE) EmptyResult();
      break;
    case kBeforeEra:
      if (code == BN_CLICKED) EmptyResult();
      break;
    case kCityList:
      if (code == CBN_SELCHANGE) {
        const int chosen = static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0));
        if (chosen >= 0 && chosen != form_.city) {
          form_.city = chosen;
          EmptyResult();
        }
      }
      break;
    case kSunriseSunset:
    case kDawnDusk:
      if (code == BN_CLICKED) {
        const bool dawn = SendMessageW(Item(kDawnDusk), BM_GETCHECK, 0, 0) == BST_CHECKED;
        if (dawn != form_.dawnAndDusk) {
          form_.dawnAndDusk = dawn;
          EmptyResult();
        }
      }
      break;
    default:
      break;
  }
}

std::optional<LRESULT> TablesWindow::OnOwnMessage(UINT msg, WPARAM wParam, LPARAM) {
  if (msg == WM_DPICHANGED) Place(HIWORD(wParam));  // the base then takes the new window size
  return std::nullopt;
}

}  // namespace

void OpenTablesWindow(ProgramContext& program, HWND owner, int page) {
  TablesWindow window(program, page);
  window.Run(owner);
}

}  // namespace tovani::tables
