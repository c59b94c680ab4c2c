#include "ui/search/search_window_win32.h"

#include <commctrl.h>

#include <array>
#include <cwchar>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/win32/controls.h"
#include "framework/win32/dpi.h"
#include "framework/win32/fonts.h"
#include "framework/win32/wide.h"
#include "ui/base/tool_window_win32.h"
#include "ui/base/messages.h"
#include "ui/search/search_model.h"
#include "ui/search/search_session.h"

namespace tovani::search {
namespace {

using win32::Place;

constexpr int kWidth = 465, kHeight = 341;
constexpr int kRadioIds[kMonthSearchKinds] = {kLeapRadioId, kThreeBigRadioId, kThreeSmallRadioId, kFourBigRadioId};

// The search and its stop request live as long as the program: the menu
// command that opens the window shares them.
SearchSession& Session() {
  static SearchSession session;
  return session;
}

// The tests of the program from outside hold a search running with a pause
// after each step (TOVANI_SEARCH_PAUSE_MS, 1..1000); none otherwise.
int PauseAfterStepMs() {
  wchar_t text[16] = {};
  const DWORD n = GetEnvironmentVariableW(L"TOVANI_SEARCH_PAUSE_MS", text, 16);
  if (n == 0 || n >= 16) return 0;
  const long ms = std::wcstol(text, nullptr, 10);
  return ms >= 1 && ms <= 1000 ? static_cast<int>(ms) : 0;
}

class SearchWindow final : public ToolWindow {
 public:
  SearchWindow(ProgramContext& program, int page) : ToolWindow(program), page_(page) {}
  // However the window went, its search ends with it.
  ~SearchWindow() override {
    Session().RequestStop();
    Session().Join();
  }

 private:
  // A control with its 96-DPI place and font, for a change of DPI.
  struct Placed {
    HWND hwnd;
    Place place;
    int pixels;
    int cellHeight;  // 0: any; else the font's cell must fit this height
  };

  HWND Add(const wchar_t* cls, int id, DWORD style, DWORD exStyle, const Place& place, int pixels,
           const std::string& text, int cellHeight = 0) {
    HWND h = win32::CreateControl(hwnd(), cls, id, style, exStyle, place, dpi(), FontFor(pixels, cellHeight), text);
    placed_.push_back({h, place, pixels, cellHeight});
    return h;
  }
  HFONT FontFor(int pixels, int cellHeight) const {
    return cellHeight > 0 ? win32::GetFittingFont("宋体", pixels, false, dpi(), win32::Scale(cellHeight, dpi()))
                          : win32::GetFont("宋体", pixels, false, dpi());
  }
  HWND Field(int id, const Place& place, const std::string& text) {
    return Add(WC_EDITW, id, ES_AUTOHSCROLL | ES_NUMBER | WS_TABSTOP, WS_EX_CLIENTEDGE, place, 12, text);
  }

  void CreateControls(UINT) override {
    FitClientArea(kWidth, kHeight);
    const Fields f = InitialFields(state().CurrentYear);
    const bool months = page_ == kMonths;
    Add(WC_STATICW, kStartLabelId, SS_RIGHT, 0, {15, 12, 81, 16}, 13, StartLabel(page_));
    start_ = Field(kStartId, {100, 10, 54, 18}, f.start);
    beforeEra_ = Add(WC_BUTTONW, kBeforeEraId, BS_AUTOCHECKBOX | WS_TABSTOP, 0, {163, 12, 64, 16}, 12, "纪元前");
    SendMessageW(beforeEra_, BM_SETCHECK, f.beforeEra ? BST_CHECKED : BST_UNCHECKED, 0);
    Add(WC_STATICW, kRangeLabelId, SS_RIGHT, 0, {15, 37, 104, 16}, 13, kRangeLabel);
    range_ = Field(kRangeId, {123, 35, 60, 18}, f.range);

    if (months) {
      for (int i = 0; i < kMonthSearchKinds; ++i) {
        radios_[i] = Add(WC_BUTTONW, kRadioIds[i], BS_RADIOBUTTON | WS_TABSTOP, 0, {52 + 96 * i, 66, 64, 16}, 12,
                         MonthSearchLabel(static_cast<MonthSearchKind>(i)));
        // The month field comes right after "农历闰月", in place and in tab order.
        if (i == 0) {
          month_ = Field(kMonthId, {116, 65, 20, 18}, "");
          SendMessageW(month_, EM_SETLIMITTEXT, 2, 0);
          tooltips_.Create(hwnd());
          tooltips_.Add(month_, "1～12");
        }
      }
      CheckRadio(MonthSearchKind::kLeapMonths);
    } else {
      for (int c = 0; c < kConditionCount; ++c) {
        const int row = c / 6, column = c % 6;
        const ColourRole colour = row == 0 ? ColourRole::kGregorianText : ColourRole::kLunarText;
        HWND label = Add(WC_STATICW, kListLabelBaseId + c, 0, 0, {15 + 72 * column, 57 + 38 * row, 66, 14}, 12,
                         ConditionLabel(static_cast<Condition>(c)));
        Colour(label, colour, ColourRole::kFace);
        win32::ComboBox& list = lists_[c];
        list.Create(hwnd(), kListBaseId + c, {15 + 72 * column, 72 + 38 * row, 66, 20}, dpi(),
                    win32::GetFont("宋体", 12, false, dpi()), 200);
        placed_.push_back({list.hwnd, {15 + 72 * column, 72 + 38 * row, 66, 200}, 12, 0});
        std::vector<std::string> items{""};  // "any"
        for (std::string& item : ConditionItems(static_cast<Condition>(c))) items.push_back(std::move(item));
        list.SetItems(items);
        list.Select(0);
        Colour(list.hwnd, colour, ColourRole::kBox);
        Colour(list.List(), colour, ColourRole::kBox);
      }
    }

    const Place box = months ? Place{15, 97, 426, 199} : Place{15, 136, 426, 160};
    result_ = Add(WC_EDITW, kResultId, ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | WS_VSCROLL | WS_TABSTOP,
                  WS_EX_CLIENTEDGE, box, 13, "");
    win32::MakeReadOnlyText(result_, true);
    Colour(result_, ColourRole::kBoxText, ColourRole::kBox);
    Add(WC_BUTTONW, kSearchButtonId, BS_DEFPUSHBUTTON | WS_TABSTOP, 0, {283, 306, 75, 24}, 12, "查询");
    Add(WC_BUTTONW, kCancelButtonId, BS_PUSHBUTTON | WS_TABSTOP, 0, {366, 306, 75, 24}, 12, "取消");
  }

  void OnCommand(int id, int code, HWND control) override {
    if (id == IDOK && control == nullptr) return Query();  // Enter
    switch (id) {
      case kSearchButtonId:
        if (code == BN_CLICKED) Query();
        break;
      case kCancelButtonId:
        if (code == BN_CLICKED) RequestClose();
        break;
      case kStartId:
      case kRangeId:
      case kMonthId:
        if (code == EN_CHANGE && !writingFields_) Interrupt();
        break;
      case kBeforeEraId:
        if (code == BN_CLICKED) Interrupt();
        break;
      case kLeapRadioId:
      case kThreeBigRadioId:
      case kThreeSmallRadioId:
      case kFourBigRadioId:
        if (code == BN_CLICKED) {
          for (int i = 0; i < kMonthSearchKinds; ++i) {
            if (kRadioIds[i] == id) CheckRadio(static_cast<MonthSearchKind>(i));
          }
          Interrupt();
        }
        break;
      default:
        break;
    }
  }

  // The search stops within a step (a year or a day) and its thread ends.
  void OnClosing() override {
    Session().RequestStop();
    Session().Join();
  }

  std::optional<LRESULT> OnOwnMessage(UINT msg, WPARAM, LPARAM) override {
    if (msg != kSearchNews) return std::nullopt;
    SearchSession::News news = Session().Collect();
    if (!news.progress.empty()) SetResult(news.progress);
    if (news.ended) {
      Session().Join();
      SetResult(news.result.value_or(""));
    }
    return 0;
  }

  // A change of DPI: the base has sized the window; the client area, the
  // controls and their fonts follow.
  void Relayout(UINT dpi) override {
    FitClientArea(kWidth, kHeight);
    for (const Placed& p : placed_) {
      win32::MoveTo(p.hwnd, p.place, dpi);
      SendMessageW(p.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(p.pixels, p.cellHeight)), TRUE);
    }
  }


  void CheckRadio(MonthSearchKind chosen) {
    kind_ = chosen;
    for (int i = 0; i < kMonthSearchKinds; ++i) {
      SendMessageW(radios_[i], BM_SETCHECK, i == static_cast<int>(chosen) ? BST_CHECKED : BST_UNCHECKED, 0);
    }
  }

  // An edit of a field, a click on "纪元前" or a radio button: a running
  // search stops, and the result goes.
  void Interrupt() {
    Session().RequestStop();
    SetResult("");
  }

  void SetResult(const std::string& text) { SetWindowTextW(result_, win32::Shown(text).c_str()); }

  Fields ReadFields() const {
    Fields f;
    f.start = win32::TextOf(start_);
    f.beforeEra = SendMessageW(beforeEra_, BM_GETCHECK, 0, 0) == BST_CHECKED;
    f.range = win32::TextOf(range_);
    if (month_ != nullptr) f.month = win32::TextOf(month_);
    return f;
  }

  // The fields show what the model made of them (without counting as edits).
  void WriteFields(const Fields& f) {
    writingFields_ = true;
    const auto put = [](HWND h, const std::string& text) {
      if (h != nullptr && win32::TextOf(h) != text) win32::SetTextOf(h, text);
    };
    put(start_, f.start);
    put(range_, f.range);
    put(month_, f.month);
    writingFields_ = false;
  }

  // "查询" or Enter.
  void Query() {
    if (!Session().Press()) return;  // a search runs: this press stops it
    SetResult("");
    Fields f = ReadFields();
    const std::int32_t firstYear = page_ == kMonths ? state().LunarFirst.year : state().LowestYear;
    const auto request = ReadRequest(f, page_, firstYear);
    // The month field counts (and is cleared when faulty) for leap months only.
    const int month = page_ == kMonths && kind_ == MonthSearchKind::kLeapMonths ? ReadMonthRestriction(f) : 0;
    WriteFields(f);
    if (!request) return;
    std::unique_ptr<Search> search;
    if (page_ == kMonths) {
      search = MakeMonthSearch(kind_, *request, month, state().Rules());
    } else {
      std::array<int, kConditionCount> selections{};
      for (int c = 0; c < kConditionCount; ++c) selections[c] = lists_[c].Selected();
      const DayConditions conditions = ConditionsFromSelections(selections);
      if (!conditions.Any()) return;
      search =
          MakeConditionDaySearch(request->start, request->years, conditions, state().CycleYearStart(), state().Rules());
    }
    const HWND window = hwnd();
    Session().Start(
        std::move(search), [window] { PostMessageW(window, kSearchNews, 0, 0); },
        [] { return static_cast<std::int64_t>(GetTickCount64()); }, PauseAfterStepMs());
  }

  const int page_;
  MonthSearchKind kind_ = MonthSearchKind::kLeapMonths;  // page 1: the radio button chosen
  bool writingFields_ = false;
  HWND start_ = nullptr, beforeEra_ = nullptr, range_ = nullptr, month_ = nullptr, result_ = nullptr;
  std::array<HWND, kMonthSearchKinds> radios_{};
  std::array<win32::ComboBox, kConditionCount> lists_{};
  win32::Tooltips tooltips_;
  std::vector<Placed> placed_;
};

}  // namespace

void OpenSearchWindow(ProgramContext& program, HWND owner, int page) {
  if (page != kMonths && page != kDays) return;
  Session().Open(page);
  SearchWindow window(program, page);
  window.RunModal(owner, "TOVANI_SFORM", PageCaption(page), kWidth, kHeight);
}

}  // namespace tovani::search
