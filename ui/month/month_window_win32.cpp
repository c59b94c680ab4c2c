#include "ui/month/month_window_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "framework/win32/controls.h"
#include "framework/win32/fonts.h"
#include "framework/win32/wide.h"
#include "framework/win32/gdi.h"
#include "ui/common/list_texts.h"
#include "ui/month/month_frame.h"
#include "ui/month/month_model.h"
#include "ui/base/places_win32.h"

namespace tovani::month {
namespace {

using R = ColourRole;

std::array<ColourRole, kCellCount> FilledWith(ColourRole role) {
  std::array<ColourRole, kCellCount> a;
  a.fill(role);
  return a;
}

WeekStart WeekStartOf(const AppState& s) { return s.MFORMMondayFirstFlag ? WeekStart::kMonday : WeekStart::kSunday; }

class MonthWindow : public MainWindow {
 public:
  using MainWindow::MainWindow;

 protected:
  Frame GetFrame() const override {
    return {kClassName, kCaption, kWindowWidth, kWindowHeight,
            WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, 0, true};
  }

  void CreateControls(UINT dpi) override {
    model_.emplace(state().Range(), Displayed(), WeekStartOf(state()));
    for (int c = 0; c < 7; ++c) {
      headers_[c] = win32::CreateControl(hwnd(), WC_STATICW, kHeaderBase + c, SS_CENTER | SS_CENTERIMAGE | WS_BORDER, 0,
                                         PlaceOf(HeaderPlace(c)), dpi, nullptr);
    }
    ShowHeaders();
    for (int cell = 1; cell <= kCellCount; ++cell) {
      // Drawn here: the mark of a holiday in a colour of its own.
      HWND h = win32::CreateControl(hwnd(), WC_STATICW, kCellBase + cell, SS_OWNERDRAW | SS_NOTIFY | WS_BORDER, 0,
                                    PlaceOf(CellPlace(cell)), dpi, nullptr);
      cells_[cell - 1] = h;
      win32::Subclass(h, [this](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_RBUTTONDOWN) UpdateCheckMarks();
        if (msg == WM_RBUTTONUP) ShowMenu();
        return std::nullopt;
      });
    }
    label_ = win32::CreateControl(hwnd(), WC_STATICW, kLabelId, SS_CENTER | WS_BORDER, 0, PlaceOf(kLabelPlace), dpi,
                                  nullptr, kLabelText);
    Colour(label_, R::kGregorianText, R::kHeaderBack);
    years_.Create(hwnd(), kYearListId, PlaceOf(kYearListPlace), dpi, nullptr, kDropDownHeight);
    months_.Create(hwnd(), kMonthListId, PlaceOf(kMonthListPlace), dpi, nullptr, kDropDownHeight);
    for (const win32::ComboBox* list : {&years_, &months_}) {
      Colour(list->hwnd, R::kGregorianText, R::kListBack);
      Colour(list->List(), R::kGregorianText, R::kListBack);
    }
    win32::Subclass(months_.hwnd, [this](HWND, UINT msg, WPARAM w, LPARAM) { return OnListInput(true, msg, w); });
    win32::Subclass(years_.hwnd, [this](HWND, UINT msg, WPARAM w, LPARAM) { return OnListInput(false, msg, w); });
    summary_.Create(hwnd(), kSummaryId, PlaceOf(kSummaryPlace), dpi, nullptr, true, false, true);
    // The details scroll: a day's records may not fit the box.
    details_.Create(hwnd(), kDetailsId, PlaceOf(kDetailsPlace), dpi, nullptr, true, false, true, true);
    Colour(summary_.hwnd, R::kGregorianText, R::kListBack);
    Colour(details_.hwnd, R::kGregorianText, R::kSelectedBack);
    audioSink_ = win32::CreateControl(hwnd(), WC_STATICW, kAudioSinkId, 0, 0, PlaceOf(kAudioSinkPlace), dpi, nullptr);
    for (int b = 0; b < kButtonCount; ++b) {
      buttons_[b] = win32::CreateControl(hwnd(), WC_BUTTONW, kButtonBase + b, BS_PUSHBUTTON | WS_TABSTOP, 0,
                                         PlaceOf(ButtonPlace(b)), dpi, nullptr, kButtonCaptions[b]);
    }
    SetWindowPos(label_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ApplyFonts(dpi);

    std::vector<std::string> years, months;
    for (std::int32_t y = model_->range().firstYear; y <= model_->range().lastYear; ++y) {
      years.push_back(GregorianYearItem(y));
    }
    for (int m = 1; m <= 12; ++m) months.push_back(MonthItem(m));
    years_.SetItems(years);
    months_.SetItems(months);
    yearItems_ = std::move(years);
    monthItems_ = std::move(months);

    // The system menu keeps Move, Minimise, the separator and Close.
    HMENU system = GetSystemMenu(hwnd(), FALSE);
    for (int position : {4, 2, 0}) RemoveMenu(system, static_cast<UINT>(position), MF_BYPOSITION);
  }

  void Relayout(UINT dpi) override {
    for (int c = 0; c < 7; ++c) win32::MoveTo(headers_[c], PlaceOf(HeaderPlace(c)), dpi);
    for (int cell = 1; cell <= kCellCount; ++cell) win32::MoveTo(cells_[cell - 1], PlaceOf(CellPlace(cell)), dpi);
    for (int b = 0; b < kButtonCount; ++b) win32::MoveTo(buttons_[b], PlaceOf(ButtonPlace(b)), dpi);
    win32::MoveTo(label_, PlaceOf(kLabelPlace), dpi);
    win32::MoveTo(years_.hwnd, PlaceOf(kYearListPlace, kDropDownHeight), dpi);
    win32::MoveTo(months_.hwnd, PlaceOf(kMonthListPlace, kDropDownHeight), dpi);
    win32::MoveTo(summary_.hwnd, PlaceOf(kSummaryPlace), dpi);
    win32::MoveTo(details_.hwnd, PlaceOf(kDetailsPlace), dpi);
    win32::MoveTo(audioSink_, PlaceOf(kAudioSinkPlace), dpi);
    ApplyFonts(dpi);
    details_.ShowScrollBarWhenLonger();
    InvalidateRect(hwnd(), nullptr, TRUE);
  }

  void ShowDate() override { Render(true); }
  void RefreshTexts() override { Render(true); }
  void ShowTextsAgain() override {
    win32::SetTextOf(label_, kLabelText);
    years_.SetItems(yearItems_);
    months_.SetItems(monthItems_);
    SelectLists();
    ShowHeaders();
  }
  void RefreshAll() override {
    model_->SetRange(state().Range());
    if (model_->weekStart() != WeekStartOf(state())) {
      model_->SetWeekStart(WeekStartOf(state()));
      ShowHeaders();
    }
    shownYear_ = shownMonth_ = 0;
    Render(true);
  }

  bool GoTo(const CalendarTriple& g) override {
    if (!model_->GoTo(g)) return false;
    Render(false);
    return true;
  }

  void OnControl(int id, int code, HWND) override {
    if (id == kYearListId || id == kMonthListId) {
      OnListNotification(code, id == kYearListId ? years_ : months_, [this, id] { Chosen(id); });
      return;
    }
    if (id > kCellBase && id <= kCellBase + kCellCount && (code == STN_CLICKED || code == STN_DBLCLK)) {
      if (model_->ClickCell(id - kCellBase)) Render(false, true);
      return;
    }
    if (id >= kButtonBase && id < kButtonBase + kButtonCount && code == BN_CLICKED) {
      switch (id - kButtonBase) {
        case kPreviousYear: model_->StepYear(-1); break;
        case kNextYear: model_->StepYear(1); break;
        case kPreviousMonth: model_->StepMonth(-1); break;
        case kNextMonth: model_->StepMonth(1); break;
        case kPreviousDay: model_->StepDay(-1); break;
        case kNextDay: model_->StepDay(1); break;
        case kToday: model_->GoTo(program().platform.Today()); break;
        default: break;
      }
      Render(false);
    }
  }

  std::optional<LRESULT> OnOwnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    switch (msg) {
      case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const int cell = static_cast<int>(item.CtlID) - kCellBase;
        if (item.CtlType != ODT_STATIC || cell < 1 || cell > kCellCount) return std::nullopt;
        DrawCell(item.hDC, item.rcItem, cell);
        return TRUE;
      }
      case WM_NCLBUTTONDOWN:
        // Locked: the caption does not move the window.
        if (wParam == HTCAPTION && state().PositionLock == MoveLock::kLocked) return 0;
        return std::nullopt;
      default:
        return std::nullopt;
    }
  }

 private:
  // A day cell as a centred static would draw it, and the first line (a
  // holiday's mark, or empty) in the top right corner in the mark's colour;
  // r is the cell's inside in the DC's coordinates.
  void DrawCell(HDC dc, RECT r, int cell) {
    FillRect(dc, &r, BrushOf(cellBack_[cell - 1]));
    if (cellBack_[cell - 1] == R::kSelectedBack) {
      // The displayed day stands out by its frame too (light: in its own
      // background colour, so only the dark palette shows it).
      const int width = win32::Scale(2, dpi());
      RECT frame = r;
      for (int i = 0; i < width; ++i) {
        FrameRect(dc, &frame, BrushOf(R::kSelectedFrame));
        InflateRect(&frame, -1, -1);
      }
    }
    const std::wstring text = Wide(cellTexts_[cell - 1]);
    const std::size_t lineEnd = std::min(text.find(L"\r\n"), text.size());
    const std::wstring mark = text.substr(0, lineEnd), rest = text.substr(lineEnd);
    const bool dayOff = cellStatus_[cell - 1] == HolidayStatus::kDayOff;
    const win32::Selection font(dc, cellFont_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColourOf(ColumnText((cell - 1) % 7)));
    DrawTextW(dc, rest.c_str(), static_cast<int>(rest.size()), &r, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    if (!mark.empty()) {
      SetTextColor(dc, ColourOf(dayOff ? R::kDayOffMark : R::kWorkDayMark));
      r.right -= win32::Scale(3, dpi());
      r.top += win32::Scale(1, dpi());
      DrawTextW(dc, mark.c_str(), static_cast<int>(mark.size()), &r, DT_RIGHT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }
  }

  // The changed cells drawn at once through one DC of the window that does
  // not leave out its controls: a month's step redraws most of the grid, and
  // a paint of each cell in turn costs several times the drawing.  A cell
  // out of sight is drawn by its own paint when it shows again.
  void DrawCellsNow(const std::vector<int>& cells) {
    if (cells.empty()) return;
    const win32::WindowDc dc(hwnd(), GetDCEx(hwnd(), nullptr, DCX_CACHE | DCX_CLIPSIBLINGS));
    if (!dc) {
      for (int cell : cells) InvalidateRect(cells_[cell - 1], nullptr, FALSE);
      return;
    }
    for (int cell : cells) {
      RECT r;
      GetClientRect(cells_[cell - 1], &r);
      MapWindowPoints(cells_[cell - 1], hwnd(), reinterpret_cast<POINT*>(&r), 2);
      DrawCell(dc.get(), r, cell);
    }
  }

  ColourRole ColumnText(int column) const {
    return IsWeekendColumn(column, model_->weekStart()) ? R::kRedText : R::kWeekText;
  }

  // The weekday headings of the columns, the weekend's in red.
  void ShowHeaders() {
    for (int c = 0; c < 7; ++c) {
      win32::SetTextOf(headers_[c], WeekdayHeader(c, model_->weekStart()));
      Colour(headers_[c], ColumnText(c), R::kHeaderBack);
      InvalidateRect(headers_[c], nullptr, TRUE);
    }
  }

  void ApplyFonts(UINT dpi) {
    const auto set = [](HWND h, HFONT f) { SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(f), TRUE); };
    HFONT kai16 = win32::GetFont("楷体_GB2312", 16, true, dpi), song14 = win32::GetFont("宋体", 14, false, dpi);
    HFONT song12 = win32::GetFont("宋体", 12, false, dpi);
    for (HWND h : headers_) set(h, kai16);
    // The cells are drawn here in it and hold no font of their own: Wine's
    // static control keeps a record of each static given a font after the
    // control has gone (42 a month window).
    cellFont_ = song14;
    for (HWND h : buttons_) set(h, song12);
    set(label_, win32::GetFont("楷体_GB2312", 29, false, dpi));
    // The two narrow lists show their longest item whole on the face.
    const auto face = [dpi](const ControlPlace& p) {
      return win32::Scale(p.width, dpi) - GetSystemMetrics(SM_CXVSCROLL) - win32::Scale(10, dpi);
    };
    set(years_.hwnd, win32::GetFontFittingTexts("宋体", 14, false, dpi, {GregorianYearItem(-103), GregorianYearItem(4103)},
                                                face(kYearListPlace)));
    set(months_.hwnd, win32::GetFontFittingTexts("宋体", 14, false, dpi, {MonthItem(12)}, face(kMonthListPlace)));
    // Every line of the two boxes shows, whatever face stands in for 宋体.
    const auto inner = [dpi](const ControlPlace& p) { return win32::Scale(p.height, dpi) - 4; };
    set(summary_.hwnd, win32::GetFittingFont("宋体", 13, false, dpi, inner(kSummaryPlace) / 2));
    set(details_.hwnd, win32::GetFittingFont("宋体", 13, false, dpi, inner(kDetailsPlace) / 5));
  }

  std::optional<LRESULT> OnListInput(bool monthList, UINT msg, WPARAM w) {
    if (msg == WM_MOUSEMOVE) Touched();
    const win32::ComboBox& list = monthList ? months_ : years_;
    const int direction = StepOf(msg, w, wheel_);
    if (direction == 0) return msg == WM_MOUSEWHEEL ? std::optional<LRESULT>(0) : std::nullopt;
    if (program().behaviour.dropdownOpen || list.Dropped()) return std::nullopt;
    // Across the year at the ends of the month list; otherwise one item.
    if (monthList) {
      model_->StepMonth(direction);
    } else {
      model_->StepYear(direction);
    }
    Render(false);
    return 0;
  }

  void Chosen(int id) {
    const bool year = id == kYearListId;
    const int i = (year ? years_ : months_).Selected();
    if (i < 0 || i == (year ? model_->YearIndex() : model_->MonthIndex())) return;
    if (year) {
      model_->ChooseYear(i);
    } else {
      model_->ChooseMonth(i);
    }
    Render(false);
  }

  void SelectLists() override {
    if (years_.Selected() != model_->YearIndex()) years_.Select(model_->YearIndex());
    if (months_.Selected() != model_->MonthIndex()) months_.Select(model_->MonthIndex());
  }

  // The grid, the summary and the details of the displayed date (texts:
  // options changed, so everything is written again).
  void Render(bool texts, bool cellsOnly = false) {
    const DayInCalendars& d = model_->date();
    StoreDisplayed(d);
    SelectLists();
    const MonthGrid& grid = model_->grid();
    const int selected = model_->SelectedCell();
    std::array<HolidayNote, kCellCount> notes{};
    if (!cellsOnly || texts) {
      for (int day = 1; day <= 31; ++day) {
        const int cell = IsValidDate(d.gregorian.year, d.gregorian.month, day) ? model_->CellOfDay(day) : 0;
        if (cell >= 1 && cell <= kCellCount) notes[cell - 1] = HolidayNoteOf({d.gregorian.year, d.gregorian.month, day});
      }
    }
    std::vector<int> changed;
    for (int cell = 1; cell <= kCellCount; ++cell) {
      bool change = false;
      if (!cellsOnly || texts) {
        // Kept as shown: a change of the characters draws the cell again.
        const std::string text = CellWithMark(grid.cells[cell - 1], notes[cell - 1]);
        const std::string shown = win32::ShownText(text);
        if (cellTexts_[cell - 1] != shown) {
          cellTexts_[cell - 1] = shown;
          cellStatus_[cell - 1] = notes[cell - 1].status;
          win32::KeepTextOf(cells_[cell - 1], text);
          change = true;
        }
      }
      const ColourRole back = cell == selected ? R::kSelectedBack : R::kField;
      if (cellBack_[cell - 1] != back) {
        cellBack_[cell - 1] = back;
        change = true;
      }
      if (change) changed.push_back(cell);
    }
    DrawCellsNow(changed);
    if (texts || d.gregorian.year != shownYear_ || d.gregorian.month != shownMonth_) {
      summary_.SetText(MonthSummary(d.gregorian.year, d.gregorian.month, state().Rules()));
      shownYear_ = d.gregorian.year;
      shownMonth_ = d.gregorian.month;
    }
    const AppState& s = state();
    const DayRecords records = RecordsOf(d);
    const std::string details = DetailsWithRecords(
        DetailsWithHoliday(DayDetails(d, s.CycleYearStart(), s.Current.longitude, s.Current.latitude, s.Rules()),
                           HolidayNoteOf(d.gregorian)),
        records);
    const std::vector<std::string> kept = UserTextsOf(records);
    if (details_.Text() != win32::ShownText(details, kept)) {
      details_.SetText(details, kept);
      details_.ShowScrollBarWhenLonger();
    }
    PlayDayMusic(records.audio, audioSink_);
  }

  std::optional<MonthModel> model_;
  std::array<HWND, 7> headers_{};
  std::array<HWND, kCellCount> cells_{};
  HFONT cellFont_ = nullptr;  // the process's, shared
  std::array<ColourRole, kCellCount> cellBack_ = FilledWith(ColourRole::kField);
  std::array<std::string, kCellCount> cellTexts_;
  std::array<HolidayStatus, kCellCount> cellStatus_{};  // the holiday arrangement each cell's mark stands for
  std::array<HWND, kButtonCount> buttons_{};
  HWND label_ = nullptr, audioSink_ = nullptr;
  static constexpr const char* kLabelText = "公 历";
  std::vector<std::string> yearItems_, monthItems_;  // the lists' items, to show again
  win32::ComboBox years_, months_;
  win32::TextBox summary_, details_;
  std::int32_t shownYear_ = 0, shownMonth_ = 0;
  int wheel_ = 0;
};

}  // namespace

bool RunMonthWindow(ProgramContext& program) {
  MonthWindow window(program);
  return window.Run();
}

}  // namespace tovani::month
