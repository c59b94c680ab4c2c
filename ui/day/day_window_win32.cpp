#include "ui/day/day_window_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <memory>
#include <optional>

#include "framework/paths.h"
#include "framework/win32/controls.h"
#include "framework/win32/fonts.h"
#include "framework/win32/gdi.h"
#include "framework/win32/wide.h"
#include "framework/win32/dialogs.h"
#include "ui/base/messages.h"
#include "ui/day/day_frame.h"
#include "ui/day/day_model.h"
#include "ui/base/places_win32.h"

namespace tovani::day {
namespace {

HRGN OutlineRegion(UINT dpi) {
  const Outline& o = DayWindowOutline();
  const auto s = [dpi](int v) { return win32::Scale(v, dpi); };
  HRGN region = CreateRectRgn(s(o.body.left), s(o.body.top), s(o.body.right), s(o.body.bottom));
  for (const Box& c : o.circles) {
    const win32::Region circle(CreateEllipticRgn(s(c.left), s(c.top), s(c.right), s(c.bottom)));
    CombineRgn(region, region, circle.get(), RGN_OR);
  }
  return region;
}

// A full path with a .BMP extension that loads as a bitmap.
bool UsablePicture(const std::string& path) {
  if (!IsFullPath(path) || !HasExtension(path, {"BMP"})) return false;
  const win32::Bitmap b(static_cast<HBITMAP>(LoadImageW(nullptr, Wide(path).c_str(), IMAGE_BITMAP, 0, 0,
                                                          LR_LOADFROMFILE)));
  return static_cast<bool>(b);
}

class DayWindow : public MainWindow {
 public:
  using MainWindow::MainWindow;

 protected:
  Frame GetFrame() const override {
    return {kClassName, kCaption, kWindowWidth, kWindowHeight, WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW, false};
  }

  void CreateControls(UINT dpi) override {
    SetWindowRgn(hwnd(), OutlineRegion(dpi), FALSE);
    model_.emplace(state().Range(), Displayed(), state().DFORMShowDynastyFlag);
    tooltips_.Create(hwnd());
    picture_ = win32::CreateControl(hwnd(), WC_STATICW, kPictureId, SS_BITMAP, 0, PlaceOf(kPicturePlace), dpi, nullptr);
    HFONT song14 = win32::GetFont("宋体", 14, false, dpi);
    for (int i = 0; i < kListCount; ++i) {
      const ControlPlace p = ListPlace(i / 3, i % 3);
      lists_[i].Create(hwnd(), kListBase + i, PlaceOf(p), dpi, song14, kDropDownHeight);
      const ColourRole text = i / 3 == 1 ? ColourRole::kLunarText : ColourRole::kGregorianText;
      Colour(lists_[i].hwnd, text, ColourRole::kField);
      Colour(lists_[i].List(), text, ColourRole::kField);
      tooltips_.Add(lists_[i].hwnd, ListName(static_cast<ListId>(i)));
      const auto list = static_cast<ListId>(i);
      win32::Subclass(lists_[i].hwnd, [this, list](HWND, UINT msg, WPARAM w, LPARAM) -> std::optional<LRESULT> {
        return OnListInput(list, msg, w);
      });
    }
    line1_.Create(hwnd(), kTextLine1Id, PlaceOf(kTextLine1Place), dpi, win32::GetFont("宋体", 13, false, dpi), false,
                  true, false);
    line2_.Create(hwnd(), kTextLine2Id, PlaceOf(kTextLine2Place), dpi, song14, false, true, false);
    Colour(line1_.hwnd, ColourRole::kGregorianText, ColourRole::kField);
    Colour(line2_.hwnd, ColourRole::kRedText, ColourRole::kField);
    audioSink_ = win32::CreateControl(hwnd(), WC_STATICW, kAudioSinkId, 0, 0, PlaceOf(kAudioSinkPlace), dpi, nullptr);
    balloon_.Create(hwnd(), ColourOf(ColourRole::kBalloonText), ColourOf(ColourRole::kField), 100);
    SetWindowPos(picture_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    LoadPicture();
  }

  void Relayout(UINT dpi) override {
    SetWindowRgn(hwnd(), OutlineRegion(dpi), TRUE);
    HFONT song14 = win32::GetFont("宋体", 14, false, dpi);
    for (int i = 0; i < kListCount; ++i) {
      const ControlPlace p = ListPlace(i / 3, i % 3);
      win32::MoveTo(lists_[i].hwnd, PlaceOf(p, kDropDownHeight), dpi);
      SendMessageW(lists_[i].hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(song14), TRUE);
    }
    win32::MoveTo(line1_.hwnd, PlaceOf(kTextLine1Place), dpi);
    win32::MoveTo(line2_.hwnd, PlaceOf(kTextLine2Place), dpi);
    win32::MoveTo(audioSink_, PlaceOf(kAudioSinkPlace), dpi);
    win32::MoveTo(picture_, PlaceOf(kPicturePlace), dpi);
    // From the texts as written: those shown may be converted already.
    line1_.SetFittingText(line1Text_, "宋体", 13, dpi);
    line2_.SetFittingText(line2Text_, "宋体", 14, dpi);
    LoadPicture();
    ShowBalloon(balloonText_);  // at the text line's new place
  }

  void AfterCreate() override { DragAcceptFiles(hwnd(), TRUE); }

  void OnPaletteChanged() override {
    balloon_.SetColours(ColourOf(ColourRole::kBalloonText), ColourOf(ColourRole::kField));
    if (IsWindowVisible(balloon_.hwnd)) InvalidateRect(balloon_.hwnd, nullptr, TRUE);
  }

  void BeforeClose() override { balloon_.Hide(); }
  // Coming to the front put the window above its balloon.
  void OnShown() override { PostMessageW(hwnd(), kShowBalloonAgain, 0, 0); }

  void ShowDate() override { Render(); }

  void RefreshTexts() override {
    const DayInCalendars& d = model_->date();
    const AppState& s = state();
    // Each line whole, in 宋体 or whatever face stands in for it.
    line1Text_ = DayTextLine1(d, s.CycleYearStart(), s.Rules());
    line1_.SetFittingText(line1Text_, "宋体", 13, dpi());
    std::string line2 = DayTextLine2(d, s.DFORMShowInfoTypeFlag, s.Current.longitude, s.Current.latitude, s.Rules());
    if (s.DFORMShowInfoTypeFlag == DayInfo::kFestivals) line2 = LineWithHoliday(line2, HolidayNoteOf(d.gregorian));
    line2Text_ = line2;
    line2_.SetFittingText(line2, "宋体", 14, dpi());
    const DayRecords records = RecordsOf(d);
    // Today: the records of the days ahead too.
    if (IsToday(d.gregorian)) {
      const std::vector<RecordAhead> ahead = RecordsAhead();
      balloonKept_ = UserTextsOf(records, ahead);
      ShowBalloon(BalloonTextWithAhead(records, ahead));
    } else {
      balloonKept_ = UserTextsOf(records);
      ShowBalloon(BalloonText(records));
    }
    PlayDayMusic(records.audio, audioSink_);
  }

  void RefreshLists() override {
    model_->SetShowDynasty(state().DFORMShowDynastyFlag);
    Render();
  }

  void RefreshAll() override {
    model_->SetRange(state().Range());
    Render();
  }

  void ShowTextsAgain() override {
    shown_.fill(~0u);  // every list's items again at the next rendering
    tooltips_.ShowTextsAgain();
  }

  bool GoTo(const CalendarTriple& g) override {
    if (!model_->GoTo(g)) return false;
    Render();
    return true;
  }

  void OnMoveStarted() override { balloon_.Hide(); }

  void ChoosePicture() override {
    const std::string chosen = win32::ChooseOpenFile(hwnd(), "选择位图文件", {{"位图文件", "*.BMP"}}, state().BitmapDialogFolder);
    SetPicture(chosen);
  }

  void OnControl(int id, int code, HWND) override {
    const int i = id - kListBase;
    if (i < 0 || i >= kListCount) return;
    OnListNotification(code, lists_[i], [this, i] { Chosen(static_cast<ListId>(i)); });
  }

  std::optional<LRESULT> OnOwnMessage(UINT msg, WPARAM wParam, LPARAM) override {
    switch (msg) {
      case WM_DROPFILES: {
        HDROP drop = reinterpret_cast<HDROP>(wParam);
        std::wstring path(32768, L'\0');
        const UINT n = DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size()));
        DragFinish(drop);
        path.resize(n);
        const std::string narrow = Narrow(path);
        const AppState before = state();
        SetPicture(Wide(narrow) == path ? narrow : std::string());
        OfferRegistryUse(before);
        return 0;
      }
      case WM_DESTROY:
        ShowPicture({});  // the controls are still there
        return std::nullopt;
      case WM_SHOWWINDOW:
        // Hidden, the balloon goes with the window; shown again, it comes
        // back once the window is on the screen.
        if (wParam == FALSE) {
          balloon_.Hide();
        } else {
          PostMessageW(hwnd(), kShowBalloonAgain, 0, 0);
        }
        return std::nullopt;
      case kShowBalloonAgain:
        // A moment later: once the window has come to the front.
        SetTimer(hwnd(), kBalloonTimerId, 300, nullptr);
        return 0;
      case WM_TIMER:
        if (wParam != kBalloonTimerId) return std::nullopt;
        KillTimer(hwnd(), kBalloonTimerId);
        ShowBalloon(balloonText_);
        return 0;
      case WM_ACTIVATE:
        // The window came to the front: the balloon stays above it.
        if (LOWORD(wParam) != WA_INACTIVE && IsWindowVisible(balloon_.hwnd)) {
          SetWindowPos(balloon_.hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        return std::nullopt;
      default:
        return std::nullopt;
    }
  }

 private:
  void SetPicture(const std::string& path) {
    AppState& s = state();
    if (UsablePicture(path)) {
      s.DFORMBackBitmapName = path;
      s.BitmapDialogFolder = path.substr(0, path.rfind('\\') + 1);
    } else {
      s.DFORMBackBitmapName.clear();
    }
    LoadPicture();
  }

  void LoadPicture() {
    const std::string& name = state().DFORMBackBitmapName;
    win32::Bitmap bitmap;
    if (!name.empty()) {
      bitmap.reset(static_cast<HBITMAP>(LoadImageW(nullptr, Wide(name).c_str(), IMAGE_BITMAP,
                                                   win32::Scale(kWindowWidth, dpi()),
                                                   win32::Scale(kWindowHeight, dpi()), LR_LOADFROMFILE)));
    }
    ShowPicture(std::move(bitmap));
  }

  // The picture control shows the bitmap, which the window keeps until the
  // next one or its end (the control deletes none).
  void ShowPicture(win32::Bitmap bitmap) {
    const auto old = reinterpret_cast<HBITMAP>(
        SendMessageW(picture_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.get())));
    // A control that drew a copy of the bitmap (one with alpha) hands the copy back.
    const win32::Bitmap copy(old != pictureBitmap_.get() && old != bitmap.get() ? old : nullptr);
    ShowWindow(picture_, bitmap ? SW_SHOWNA : SW_HIDE);
    pictureBitmap_ = std::move(bitmap);
  }

  // The day's records in the balloon, while the window shows; a hidden
  // window keeps them for when it shows again.
  void ShowBalloon(const std::string& text) {
    balloonText_ = text;
    if (text.empty() || !IsWindowVisible(hwnd())) {
      balloon_.Hide();
      return;
    }
    RECT r{};
    GetWindowRect(line2_.hwnd, &r);
    balloon_.Show(text, {(r.left + r.right) / 2, (r.top + r.bottom) / 2}, balloonKept_);
  }

  std::optional<LRESULT> OnListInput(ListId list, UINT msg, WPARAM w) {
    if (msg == WM_MOUSEMOVE) Touched();
    const int direction = StepOf(msg, w, wheel_);
    if (msg == WM_MOUSEWHEEL) {
      if (direction == 0) return 0;
      if (!program().behaviour.dropdownOpen && !lists_[list].Dropped() && model_->Step(list, direction)) {
        Render();
        return 0;
      }
      // One notch moves the selection one item, as a key would.
      const int i = lists_[list].Selected() + direction;
      if (i >= 0 && i < lists_[list].Count() && !lists_[list].Dropped()) {
        lists_[list].Select(i);
        Chosen(list);
      }
      return 0;
    }
    if (direction == 0 || program().behaviour.dropdownOpen || lists_[list].Dropped()) return std::nullopt;
    if (!model_->Step(list, direction)) return std::nullopt;
    Render();
    return 0;
  }

  void Chosen(ListId list) {
    const int i = lists_[list].Selected();
    if (i < 0 || i == model_->Selected(list)) return;
    model_->Choose(list, i);
    Render();
  }

  void SelectLists() override {
    for (int i = 0; i < kListCount; ++i) {
      const int selected = model_->Selected(static_cast<ListId>(i));
      if (lists_[i].Selected() != selected) lists_[i].Select(selected);
    }
  }

  void Render() {
    for (int i = 0; i < kListCount; ++i) {
      const ListContent& c = model_->List(static_cast<ListId>(i));
      if (c.version != shown_[i] || lists_[i].Count() != static_cast<int>(c.items.size())) {
        lists_[i].SetItems(c.items);
        shown_[i] = c.version;
      }
    }
    SelectLists();
    StoreDisplayed(model_->date());
    RefreshTexts();
  }

  std::optional<DayModel> model_;
  std::array<win32::ComboBox, kListCount> lists_;
  std::array<unsigned, kListCount> shown_{};
  std::vector<std::string> balloonKept_;  // the user's texts in the balloon
  std::string line1Text_, line2Text_;     // the text lines as written
  win32::TextBox line1_, line2_;
  HWND audioSink_ = nullptr, picture_ = nullptr;
  win32::Bitmap pictureBitmap_;
  win32::Tooltips tooltips_;
  win32::Balloon balloon_;
  std::string balloonText_;
  int wheel_ = 0;
};

}  // namespace

bool RunDayWindow(ProgramContext& program) {
  DayWindow window(program);
  return window.Run();
}

}  // namespace tovani::day
