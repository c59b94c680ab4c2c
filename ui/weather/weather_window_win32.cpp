#include "ui/weather/weather_window_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "framework/win32/appearance.h"
#include "framework/win32/controls.h"
#include "framework/win32/dpi.h"
#include "framework/win32/fonts.h"
#include "framework/win32/window.h"
#include "ui/base/colours_win32.h"
#include "ui/base/tool_window_win32.h"
#include "ui/base/messages.h"
#include "ui/weather/weather_frame.h"
#include "ui/weather/weather_model.h"
#include "weather/client.h"

namespace tovani::weather {
namespace {


// The latest view the worker made for the window and the window has not yet
// shown (every view is whole: an older one need not be shown at all).
class Mailbox {
 public:
  void Put(const WeatherView& view) {
    std::lock_guard lock(mutex_);
    latest_ = view;
  }
  std::optional<WeatherView> Take() {
    std::lock_guard lock(mutex_);
    std::optional<WeatherView> view = std::move(latest_);
    latest_.reset();
    return view;
  }

 private:
  std::mutex mutex_;
  std::optional<WeatherView> latest_;  // guarded by mutex_
};

class WeatherWindow : public ToolWindow {
 public:
  WeatherWindow(ProgramContext& program, WeatherClient& client)
      : ToolWindow(program), client_(client), form_(program.state.Current) {}
  ~WeatherWindow() override { StopReceiving(); }

 protected:
  void CreateControls(UINT dpi) override;
  void OnCommand(int id, int code, HWND control) override;
  void Relayout(UINT dpi) override;
  void OnOpened() override;
  void OnClosing() override { StopReceiving(); }
  std::optional<LRESULT> OnOwnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  enum class FontKind { kNormal, kBold, kTwoLines };
  struct Placed {
    HWND hwnd;
    Box box;
    FontKind font;
  };

  HWND Add(HWND h, const Box& box, FontKind font = FontKind::kNormal) {
    placed_.push_back({h, box, font});
    return h;
  }
  HFONT Font(FontKind kind) const;
  HWND Caption(int id, const Box& box, const char* text);
  win32::TextBox ResultBox(int id, const Box& box, FontKind font, bool centred = true);
  static void CentreLines(HWND box);
  void Query();
  void StartReceiving();
  void StopReceiving();
  void Show(const WeatherView& view);

  WeatherClient& client_;
  WeatherForm form_;
  Mailbox mailbox_;
  bool receiving_ = false;  // the client's sink targets this window
  win32::ComboBox provinces_, cities_;
  std::array<win32::TextBox, kForecastDays> dates_;
  std::array<win32::TextBox, kForecastCells> cells_;  // by cell number - 1
  win32::TextBox status_;
  std::vector<Placed> placed_;
  // The fixed texts of the captions and buttons, and the forecast last shown:
  // to show them again in the characters chosen.
  std::vector<std::pair<HWND, const char*>> fixedTexts_;
  std::optional<WeatherView> shown_;
};

// The height left for the lines of a framed edit box of the height: the frame
// and the box's own inset of a frame's width and one pixel at each edge.
int TwoLineHeight(int boxHeight) { return boxHeight - 2 - 4; }

// The font of a control: two-line boxes take the largest one up to the
// size whose two lines fit their height, whichever face stands in.
HFONT WeatherWindow::Font(FontKind kind) const {
  if (kind == FontKind::kTwoLines) {
    const int room = TwoLineHeight(win32::Scale(kValueRows[0].height, dpi()));
    return win32::GetFittingFont("宋体", kFontPx, false, dpi(), room / 2);
  }
  return win32::GetFont("宋体", kFontPx, kind == FontKind::kBold, dpi());
}

void WeatherWindow::OnOpened() {
  StartReceiving();
  // A download still running from a window closed before shows where it is.
  if (client_.DownloadState() == kWeatherRunning) Show(client_.View());
}

HWND WeatherWindow::Caption(int id, const Box& box, const char* text) {
  HWND h = win32::CreateControl(hwnd(), WC_STATICW, id, SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, 0,
                                {box.x, box.y, box.width, box.height}, dpi(), Font(FontKind::kNormal), text);
  fixedTexts_.emplace_back(h, text);
  return Add(h, box);
}

// A read-only box whose text can be selected and copied; reached by Tab.
win32::TextBox WeatherWindow::ResultBox(int id, const Box& box, FontKind font, bool centred) {
  const bool twoLines = font == FontKind::kTwoLines;
  win32::TextBox b;
  b.Create(hwnd(), id, {box.x, box.y, box.width, box.height}, dpi(), Font(font), twoLines, centred, true);
  SetWindowLongPtrW(b.hwnd, GWL_STYLE, GetWindowLongPtrW(b.hwnd, GWL_STYLE) | WS_TABSTOP);
  Colour(b.hwnd, ColourRole::kWindowText, ColourRole::kBox);
  if (twoLines) {
    // Tab, Enter and Esc go to the window, as in the one-line boxes.
    win32::Subclass(b.hwnd, [](HWND h, UINT msg, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
      if (msg != WM_GETDLGCODE) return std::nullopt;
      return win32::CallNext(h, msg, wParam, lParam) & ~DLGC_WANTALLKEYS;
    });
  }
  Add(b.hwnd, box, font);
  return b;
}

// A one-line text in a two-line box stands in the middle of it.
void WeatherWindow::CentreLines(HWND box) {
  RECT client{};
  GetClientRect(box, &client);
  const int lineHeight = win32::LineHeightOf(box);
  const int lines = static_cast<int>(std::clamp<LRESULT>(SendMessageW(box, EM_GETLINECOUNT, 0, 0), 1, 2));
  // The box insets the rectangle given to it by the frame's width and a pixel.
  const int room = TwoLineHeight(static_cast<int>(client.bottom) + 2);
  RECT r = client;
  r.left += 2;  // the margins
  r.right -= 2;
  r.top = std::max(0, (room - lines * lineHeight) / 2);
  SendMessageW(box, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&r));
}

// In reading order, which is the Tab order.
void WeatherWindow::CreateControls(UINT) {
  const HWND w = hwnd();
  provinces_.Create(w, kProvinceList, {kProvincePlace.x, kProvincePlace.y, kProvincePlace.width, kProvincePlace.height},
                    dpi(), Font(FontKind::kNormal), kListDropHeight);
  Add(provinces_.hwnd, kProvincePlace);
  provinces_.SetItems(form_.provinces());
  provinces_.Select(form_.provinceIndex());
  cities_.Create(w, kCityList, {kCityPlace.x, kCityPlace.y, kCityPlace.width, kCityPlace.height}, dpi(),
                 Font(FontKind::kNormal), kListDropHeight);
  Add(cities_.hwnd, kCityPlace);
  cities_.SetItems(form_.cities());
  cities_.Select(form_.cityIndex());
  struct Button {
    int id;
    Box box;
    const char* text;
    DWORD style;
  };
  for (const Button& b : {Button{kQuery, kQueryPlace, "查询", BS_DEFPUSHBUTTON},
                          Button{kCancel, kCancelPlace, "取消", BS_PUSHBUTTON}}) {
    HWND button = win32::CreateControl(w, WC_BUTTONW, b.id, b.style | WS_TABSTOP, 0,
                                       {b.box.x, b.box.y, b.box.width, b.box.height}, dpi(), Font(FontKind::kNormal),
                                       b.text);
    fixedTexts_.emplace_back(button, b.text);
    Add(button, b.box);
  }

  Caption(kRowCaptionBase, RowCaptionPlace(0), kRowCaptions[0]);
  for (int d = 0; d < kForecastDays; ++d) dates_[d] = ResultBox(kDateBase + d, DatePlace(d), FontKind::kBold);
  for (int c = 0; c < kGridColumns; ++c) Caption(kHalfCaptionBase + c, HalfCaptionPlace(c), kHalfCaptions[c % 2]);
  for (int r = 0; r < kGridValueRows; ++r) {
    Caption(kRowCaptionBase + 1 + r, RowCaptionPlace(1 + r), kRowCaptions[1 + r]);
    for (int c = 0; c < kGridColumns; ++c) {
      const int n = CellAt(c, r);
      win32::TextBox& cell = cells_[static_cast<std::size_t>(n - 1)];
      cell = ResultBox(CellId(n), CellPlace(c, r), r == 0 ? FontKind::kTwoLines : FontKind::kNormal);
      if (r == 0) CentreLines(cell.hwnd);
      if (r == 1) {
        Colour(cell.hwnd, c % 2 == 0 ? ColourRole::kDayTemperature : ColourRole::kNightTemperature,
                     ColourRole::kBox);
      }
    }
  }
  status_ = ResultBox(kStatus, kStatusPlace, FontKind::kNormal, false);
}

void WeatherWindow::Relayout(UINT) {
  for (const Placed& p : placed_) {
    const bool list = p.hwnd == provinces_.hwnd || p.hwnd == cities_.hwnd;
    win32::MoveTo(p.hwnd, {p.box.x, p.box.y, p.box.width, list ? kListDropHeight : p.box.height}, dpi());
    SendMessageW(p.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(Font(p.font)), TRUE);
    if (p.font == FontKind::kTwoLines) CentreLines(p.hwnd);
  }
}

void WeatherWindow::StartReceiving() {
  const HWND target = hwnd();
  Mailbox* box = &mailbox_;
  client_.sink().SetTarget([box, target](const WeatherView& view) {
    box->Put(view);
    PostMessageW(target, kViewArrived, 0, 0);
  });
  receiving_ = true;
}

// From here on the worker reaches this window no more; what it left in the
// mailbox is dropped.
void WeatherWindow::StopReceiving() {
  if (!receiving_) return;
  receiving_ = false;
  client_.sink().ClearTarget();
  mailbox_.Take();
}

void WeatherWindow::Show(const WeatherView& view) {
  shown_ = view;
  for (int d = 0; d < kForecastDays; ++d) dates_[d].SetText(view.dates[d]);
  for (int n = 1; n <= kForecastCells; ++n) {
    const win32::TextBox& cell = cells_[static_cast<std::size_t>(n - 1)];
    if (cell.Text() == win32::ShownText(view.Cell(n))) continue;
    cell.SetText(view.Cell(n));
    const int row = (n - 1) % kForecastRows;  // 0..7: weather by day is 0, by night 4
    if (row == 0 || row == kGridValueRows) CentreLines(cell.hwnd);
  }
  status_.SetText(view.status);
}

void WeatherWindow::Query() {
  // One download at a time: "查询" while one runs does nothing.
  client_.StartWeatherDownload(form_.Query(state().WeatherHost));
}

void WeatherWindow::OnCommand(int id, int code, HWND control) {
  switch (id) {
    case IDOK:  // Enter
      if (control == nullptr) Query();
      break;
    case kProvinceList:
      if (code == CBN_SELCHANGE && form_.ChooseProvince(provinces_.Selected())) {
        cities_.SetItems(form_.cities());
        cities_.Select(form_.cityIndex());
      }
      break;
    case kCityList:
      if (code == CBN_SELCHANGE) form_.ChooseCity(cities_.Selected());
      break;
    case kQuery:
      if (code == BN_CLICKED) Query();
      break;
    case kCancel:
      if (code == BN_CLICKED) RequestClose();
      break;
    default:
      break;
  }
}

std::optional<LRESULT> WeatherWindow::OnOwnMessage(UINT msg, WPARAM, LPARAM) {
  switch (msg) {
    case WM_DESTROY:
      StopReceiving();
      return std::nullopt;  // the base forgets the window
    case win32::kShowTextsAgain:
      // Every text in the characters now chosen.
      SetWindowTextW(hwnd(), win32::Shown(kCaption).c_str());
      for (const auto& [control, text] : fixedTexts_) win32::SetTextOf(control, text);
      provinces_.SetItems(form_.provinces());
      provinces_.Select(form_.provinceIndex());
      cities_.SetItems(form_.cities());
      cities_.Select(form_.cityIndex());
      if (shown_) Show(*shown_);
      return 0;
    case kViewArrived:
      if (receiving_) {
        if (const std::optional<WeatherView> view = mailbox_.Take()) Show(*view);
      }
      return 0;
    default:
      return std::nullopt;
  }
}

// The program's downloads, and its one weather window.  The window goes
// first at the end of the program, then the client stops its download.
struct WeatherRuntime {
  WeatherClient client;
  std::unique_ptr<WeatherWindow> window;  // the open window, or the last one closed
};

WeatherRuntime& Runtime() {
  static WeatherRuntime runtime;
  return runtime;
}

}  // namespace

void OpenWeatherWindow(ProgramContext& program, HWND owner, int) {
  WeatherRuntime& runtime = Runtime();
  if (runtime.window != nullptr && runtime.window->exists()) {
    runtime.window->BringUp();
    return;
  }
  runtime.window.reset();
  auto window = std::make_unique<WeatherWindow>(program, runtime.client);
  if (window->OpenModeless(owner, kClassName, kCaption, kClientWidth, kClientHeight)) {
    runtime.window = std::move(window);
  }
}

}  // namespace tovani::weather
