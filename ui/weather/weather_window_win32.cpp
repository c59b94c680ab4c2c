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
#include "ui/weather/weather_frame.h"
#include "ui/weather/weather_model.h"
#include "weather/client.h"

namespace tovani::weather {
namespace {

// Posted by the download's worker: a view waits in the window's mailbox.
constexpr UINT kViewArrived = WM_APP + 0x57;


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

class WeatherWindow : public win32::Window {
 public:
  WeatherWindow(ProgramContext& program, WeatherClient& client)
      : program_(program), client_(client), form_(program.state.Current) {}
  ~WeatherWindow() override { StopReceiving(); }

  // Creates and shows the window, centred on the owner's monitor.
  bool Open(HWND owner);
  // Brings the open window to the front (restored when it was minimised).
  void BringUp();

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

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
  void CreateControls();
  HWND Caption(int id, const Box& box, const char* text);
  win32::TextBox ResultBox(int id, const Box& box, FontKind font, bool centred = true);
  static void CentreLines(HWND box);
  void Relayout();
  void OnCommand(int id, int code);
  void Query();
  void Close();
  void StartReceiving();
  void StopReceiving();
  void Show(const WeatherView& view);

  ProgramContext& program_;
  WeatherClient& client_;
  WeatherForm form_;
  Mailbox mailbox_;
  bool receiving_ = false;  // the client's sink targets this window
  UINT dpi_ = 96;
  win32::ComboBox provinces_, cities_;
  std::array<win32::TextBox, kForecastDays> dates_;
  std::array<win32::TextBox, kForecastCells> cells_;  // by cell number - 1
  win32::TextBox status_;
  std::vector<Placed> placed_;
  // The fixed texts of the captions and buttons, and the forecast last shown:
  // to show them again in the characters chosen.
  std::vector<std::pair<HWND, const char*>> fixedTexts_;
  std::optional<WeatherView> shown_;
  ViewColours colours_{ColourRole::kFace};
  HWND lastFocus_ = nullptr;
};

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
// Owned by the main window (to stay above it), and still on the task bar.
constexpr DWORD kExStyle = WS_EX_APPWINDOW;

// The height left for the lines of a framed edit box of the height: the frame
// and the box's own inset of a frame's width and one pixel at each edge.
int TwoLineHeight(int boxHeight) { return boxHeight - 2 - 4; }

// The font of a control: two-line boxes take the largest one up to the
// size whose two lines fit their height, whichever face stands in.
HFONT WeatherWindow::Font(FontKind kind) const {
  if (kind == FontKind::kTwoLines) {
    const int room = TwoLineHeight(win32::Scale(kValueRows[0].height, dpi_));
    return win32::GetFittingFont("宋体", kFontPx, false, dpi_, room / 2);
  }
  return win32::GetFont("宋体", kFontPx, kind == FontKind::kBold, dpi_);
}

// The outer size of the window for its client area at the DPI.
SIZE OuterSize(UINT dpi) {
  RECT r{0, 0, win32::Scale(kClientWidth, dpi), win32::Scale(kClientHeight, dpi)};
  AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
  return {r.right - r.left, r.bottom - r.top};
}

bool WeatherWindow::Open(HWND owner) {
  win32::WindowClass cls{kClassName, LoadIconW(program_.instance, MAKEINTRESOURCEW(1)), ColourOf(ColourRole::kFace)};
  const SIZE size96 = OuterSize(96);
  // An embedded main window is a child window, and cannot own one.
  HWND ownerWindow = owner != nullptr && GetAncestor(owner, GA_PARENT) == GetDesktopWindow() ? owner : nullptr;
  if (!Create(program_.instance, cls, kCaption, kStyle, kExStyle, RECT{0, 0, size96.cx, size96.cy}, ownerWindow)) {
    return false;
  }
  dpi_ = win32::DpiOf(hwnd());
  const SIZE size = OuterSize(dpi_);
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  GetMonitorInfoW(MonitorFromWindow(owner != nullptr ? owner : hwnd(), MONITOR_DEFAULTTOPRIMARY), &mi);
  const RECT& m = mi.rcWork;
  // Centred; on a screen too small for it, its top left corner stays on it.
  const LONG left = std::max(m.left, m.left + (m.right - m.left - size.cx) / 2);
  const LONG top = std::max(m.top, m.top + (m.bottom - m.top - size.cy) / 2);
  SetWindowPos(hwnd(), nullptr, left, top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  CreateControls();
  DressWindow(hwnd());
  program_.modeless = hwnd();
  StartReceiving();
  // A download still running from a window closed before shows where it is.
  if (client_.DownloadState() == kWeatherRunning) Show(client_.View());
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
  SetFocus(provinces_.hwnd);
  return true;
}

void WeatherWindow::BringUp() {
  ShowWindow(hwnd(), IsIconic(hwnd()) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(hwnd());
}

HWND WeatherWindow::Caption(int id, const Box& box, const char* text) {
  HWND h = win32::CreateControl(hwnd(), WC_STATICW, id, SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, 0,
                                {box.x, box.y, box.width, box.height}, dpi_, Font(FontKind::kNormal), text);
  fixedTexts_.emplace_back(h, text);
  return Add(h, box);
}

// A read-only box whose text can be selected and copied; reached by Tab.
win32::TextBox WeatherWindow::ResultBox(int id, const Box& box, FontKind font, bool centred) {
  const bool twoLines = font == FontKind::kTwoLines;
  win32::TextBox b;
  b.Create(hwnd(), id, {box.x, box.y, box.width, box.height}, dpi_, Font(font), twoLines, centred, true);
  SetWindowLongPtrW(b.hwnd, GWL_STYLE, GetWindowLongPtrW(b.hwnd, GWL_STYLE) | WS_TABSTOP);
  colours_.Set(b.hwnd, ColourRole::kWindowText, ColourRole::kBox);
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
void WeatherWindow::CreateControls() {
  const HWND w = hwnd();
  provinces_.Create(w, kProvinceList, {kProvincePlace.x, kProvincePlace.y, kProvincePlace.width, kProvincePlace.height},
                    dpi_, Font(FontKind::kNormal), kListDropHeight);
  Add(provinces_.hwnd, kProvincePlace);
  provinces_.SetItems(form_.provinces());
  provinces_.Select(form_.provinceIndex());
  cities_.Create(w, kCityList, {kCityPlace.x, kCityPlace.y, kCityPlace.width, kCityPlace.height}, dpi_,
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
                                       {b.box.x, b.box.y, b.box.width, b.box.height}, dpi_, Font(FontKind::kNormal),
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
        colours_.Set(cell.hwnd, c % 2 == 0 ? ColourRole::kDayTemperature : ColourRole::kNightTemperature,
                     ColourRole::kBox);
      }
    }
  }
  status_ = ResultBox(kStatus, kStatusPlace, FontKind::kNormal, false);
}

void WeatherWindow::Relayout() {
  for (const Placed& p : placed_) {
    const bool list = p.hwnd == provinces_.hwnd || p.hwnd == cities_.hwnd;
    win32::MoveTo(p.hwnd, {p.box.x, p.box.y, p.box.width, list ? kListDropHeight : p.box.height}, dpi_);
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
  client_.StartWeatherDownload(form_.Query(program_.state.WeatherHost));
}

void WeatherWindow::Close() {
  StopReceiving();
  DestroyWindow(hwnd());
}

void WeatherWindow::OnCommand(int id, int code) {
  switch (id) {
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
      if (code == BN_CLICKED) Close();
      break;
    default:
      break;
  }
}

LRESULT WeatherWindow::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (win32::IsColourSetChange(msg, lParam)) {
    FollowSystemAppearance();
    DressWindow(hwnd());
    win32::RepaintAll(hwnd());
  }
  switch (msg) {
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
    case WM_COMMAND:
      if (lParam == 0 && LOWORD(wParam) == IDCANCEL) {
        Close();  // Esc
      } else if (lParam == 0 && LOWORD(wParam) == IDOK) {
        Query();  // Enter
      } else if (lParam != 0) {
        OnCommand(LOWORD(wParam), HIWORD(wParam));
      }
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      if (HBRUSH b = colours_.Apply(msg, reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam))) {
        return reinterpret_cast<LRESULT>(b);
      }
      break;
    case WM_ERASEBKGND:
      EraseWith(hwnd(), reinterpret_cast<HDC>(wParam), ColourRole::kFace);
      return 1;
    case WM_ACTIVATE:
      // The focus leaves with the window and comes back where it was.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd(), focus)) lastFocus_ = focus;
      } else if (HIWORD(wParam) == 0) {
        SetFocus(lastFocus_ != nullptr && IsWindow(lastFocus_) ? lastFocus_ : provinces_.hwnd);
      }
      return 0;
    case WM_CLOSE:
      Close();
      return 0;
    case WM_DESTROY:
      StopReceiving();
      if (program_.modeless == hwnd()) program_.modeless = nullptr;
      return 0;
    case WM_DPICHANGED:
      dpi_ = win32::FollowDpiChange(hwnd(), wParam, lParam);
      Relayout();
      return 0;
    default:
      break;
  }
  return Default(msg, wParam, lParam);
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
  if (window->Open(owner)) runtime.window = std::move(window);
}

}  // namespace tovani::weather
