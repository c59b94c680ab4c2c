#include "ui/coordinates/coordinates_window_win32.h"

#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

#include "framework/win32/controls.h"
#include "framework/win32/dpi.h"
#include "framework/win32/fonts.h"
#include "framework/win32/dialogs.h"
#include "framework/win32/wide.h"
#include "ui/coordinates/coordinates_frame.h"
#include "ui/coordinates/coordinates_model.h"
#include "ui/menu/menu_model.h"
#include "ui/base/tool_window_win32.h"
#include "ui/base/places_win32.h"

namespace tovani::coordinates {
namespace {

class CoordinatesWindow : public ToolWindow {
 public:
  CoordinatesWindow(ProgramContext& program, int mode) : ToolWindow(program), frame_(FrameOf(mode)) {
    if (frame_.mode == kPlaceMode) place_.emplace(program.state);
    if (frame_.mode == kAlarmMode) alarms_.emplace(program.state);
  }

  void Run(HWND owner) { RunModal(owner, kClassName, frame_.caption, frame_.width, frame_.height); }

 protected:
  void CreateControls(UINT dpi) override;
  void OnCommand(int id, int code, HWND control) override;
  void Relayout(UINT dpi) override { Place(dpi); }
  void OnClosing() override {
    if (place_) place_->Cancel();  // closed without "确定": nothing stays
  }

 private:
  HWND Item(int id) const { return GetDlgItem(hwnd(), id); }
  // The mode's controls with their places at 96 DPI, in Tab order.
  std::vector<ControlPlace> Places() const;
  HWND Create(const ControlPlace& c, UINT dpi);
  void Place(UINT dpi);
  HFONT FontOf(int id, int height, UINT dpi) const;
  void Render();
  void Confirm();
  void ShowText(int id, const std::string& text);
  void Focus(int id);
  // Double click fills an empty field, Ctrl+A selects all of a field.
  void WatchField(HWND field, int id);
  // A name longer than the store keeps: the field shows the name before, and
  // says why.
  void RefuseName(HWND field);

  ModeFrame frame_;
  std::optional<PlaceEditor> place_;
  std::optional<AlarmEditor> alarms_;
  win32::Tooltips tips_;
  bool rendering_ = false;
};

std::vector<ControlPlace> CoordinatesWindow::Places() const {
  switch (frame_.mode) {
    case kAlarmMode: {
      std::vector<ControlPlace> places;
      for (int row = 0; row < 3; ++row) {
        for (ControlPlace c : kAlarmRowControls) {
          c.id += row;
          c.y += kAlarmRowY[row];
          places.push_back(c);
        }
      }
      places.insert(places.end(), std::begin(kAlarmQuietControls), std::end(kAlarmQuietControls));
      places.insert(places.end(), std::begin(kAlarmButtons), std::end(kAlarmButtons));
      return places;
    }
    case kSystemDateMode: return {std::begin(kDateControls), std::end(kDateControls)};
    default: return {std::begin(kPlaceControls), std::end(kPlaceControls)};
  }
}

HFONT CoordinatesWindow::FontOf(int id, int height, UINT dpi) const {
  const bool field = id == kNameField || id == kLongitudeField || id == kLatitudeField;
  const bool time = id >= kTimeField && id < kTimeField + kTimeFieldCount;
  if (field || time) {
    // The text fits the field's frame whatever face stands in for 宋体.
    return win32::GetFittingFont("宋体", time ? kTimeFontPx : kControlFontPx, false, dpi,
                                 win32::Scale(height - 4, dpi));
  }
  return win32::GetFont("宋体", kControlFontPx, false, dpi);
}

HWND CoordinatesWindow::Create(const ControlPlace& c, UINT dpi) {
  const HWND w = hwnd();
  const win32::Place place = PlaceOf(c);
  HFONT font = FontOf(c.id, c.height, dpi);
  const auto label = [&](const char* text, DWORD align) {
    return win32::CreateControl(w, WC_STATICW, c.id, align | SS_NOPREFIX, 0, place, dpi, font, text);
  };
  const auto field = [&](DWORD align) {
    HWND h = win32::CreateControl(w, WC_EDITW, c.id, align | ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, WS_EX_CLIENTEDGE,
                                  place, dpi, font);
    SendMessageW(h, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(2, 2));
    WatchField(h, c.id);
    return h;
  };
  switch (c.id) {
    case kOk:
      return win32::CreateControl(w, WC_BUTTONW, c.id, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, place, dpi, font,
                                  "确定");
    case kCancel:
      return win32::CreateControl(w, WC_BUTTONW, c.id, BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, place, dpi, font,
                                  "取消");
    case kNameLabel: return label("地 名", SS_LEFT);
    case kLongitudeLabel: return label("经 度", SS_LEFT);
    case kLatitudeLabel: return label("纬 度", SS_LEFT);
    case kTimeZoneLabel: return label("历算时区为东8区", SS_LEFT);
    case kQuestion: return label(kSystemDateQuestion, SS_CENTER);
    case kCityList: {
      win32::ComboBox list;
      list.Create(w, c.id, place, dpi, font, kCityListDropHeight);
      SetWindowLongPtrW(list.hwnd, GWL_STYLE, GetWindowLongPtrW(list.hwnd, GWL_STYLE) | WS_GROUP);
      list.SetItems(CityListItems());
      return list.hwnd;
    }
    case kNameField: {
      HWND h = field(ES_LEFT);
      SendMessageW(h, EM_SETLIMITTEXT, 12, 0);  // the stored name keeps at most 12 bytes
      return h;
    }
    case kLongitudeField:
    case kLatitudeField:
      return field(ES_LEFT);
    case kQuietLabel: return label(kQuietText, SS_LEFT);
    case kQuietToLabel: return label(kQuietToText, SS_CENTER);
    case kWorkingDaysOnlyBox:
      return win32::CreateControl(w, WC_BUTTONW, c.id, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 0, place, dpi, font,
                                  kWorkingDaysOnlyText);
    default:
      break;
  }
  const int row = c.id % 10;
  switch (c.id - row) {
    case kAlarmBox:
      return win32::CreateControl(w, WC_BUTTONW, c.id, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 0, place, dpi, font,
                                  AlarmBoxLabel(row));
    case kTimeField: {
      HWND h = field(ES_CENTER);
      tips_.Add(h, row < kQuietFromField ? "时间" : row == kQuietFromField ? "免打扰开始" : "免打扰结束");
      return h;
    }
    case kDaysList:
    case kSoundList: {
      const bool days = c.id - row == kDaysList;
      win32::ComboBox list;
      list.Create(w, c.id, place, dpi, font, kSoundListDropHeight);
      SetWindowLongPtrW(list.hwnd, GWL_STYLE, GetWindowLongPtrW(list.hwnd, GWL_STYLE) | WS_GROUP);
      list.SetItems(days ? DaysListItems() : SoundListItems());
      tips_.Add(list.hwnd, days ? "响铃日" : "铃声");
      return list.hwnd;
    }
    default:
      return nullptr;
  }
}

void CoordinatesWindow::CreateControls(UINT dpi) {
  tips_.Create(hwnd());
  for (const ControlPlace& c : Places()) Create(c, dpi);
  Place(dpi);
  Render();
  // Typing replaces what a field holds.
  for (int id : {kNameField, kLongitudeField, kTimeField}) {
    if (HWND h = Item(id)) SendMessageW(h, EM_SETSEL, 0, -1);
  }
}

void CoordinatesWindow::Place(UINT dpi) {
  for (const ControlPlace& c : Places()) {
    HWND h = Item(c.id);
    if (h == nullptr) continue;
    const bool list = c.id == kCityList || (c.id >= kSoundList && c.id < kSoundList + 3) ||
                      (c.id >= kDaysList && c.id < kDaysList + 3);
    const int height = c.id == kCityList ? kCityListDropHeight : list ? kSoundListDropHeight : c.height;
    win32::MoveTo(h, PlaceOf(c, height), dpi);
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(c.id, c.height, dpi)), TRUE);
  }
}

void CoordinatesWindow::ShowText(int id, const std::string& text) {
  HWND h = Item(id);
  if (h != nullptr && win32::TextOf(h) != text) win32::SetTextOf(h, text);
}

// The controls show what the model holds.
void CoordinatesWindow::Render() {
  rendering_ = true;
  if (place_) {
    const PlaceFields& f = place_->fields();
    SendMessageW(Item(kCityList), CB_SETCURSEL, static_cast<WPARAM>(f.item), 0);
    ShowText(kNameField, f.name);
    ShowWindow(Item(kNameField), f.own ? SW_SHOWNA : SW_HIDE);
    ShowText(kLongitudeField, f.longitude);
    ShowText(kLatitudeField, f.latitude);
    for (int id : {kLongitudeField, kLatitudeField}) SendMessageW(Item(id), EM_SETREADONLY, f.own ? FALSE : TRUE, 0);
  }
  if (alarms_) {
    for (int row = 0; row < 3; ++row) {
      const AlarmRow& r = alarms_->rows()[static_cast<std::size_t>(row)];
      SendMessageW(Item(kAlarmBox + row), BM_SETCHECK, r.on ? BST_CHECKED : BST_UNCHECKED, 0);
      SendMessageW(Item(kSoundList + row), CB_SETCURSEL, static_cast<WPARAM>(r.sound), 0);
      SendMessageW(Item(kDaysList + row), CB_SETCURSEL, static_cast<WPARAM>(r.days), 0);
    }
    for (int field = 0; field < kTimeFieldCount; ++field) ShowText(kTimeField + field, alarms_->TimeText(field));
    SendMessageW(Item(kWorkingDaysOnlyBox), BM_SETCHECK, alarms_->workingDaysOnly() ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  rendering_ = false;
}

void CoordinatesWindow::Focus(int id) {
  HWND h = Item(id);
  if (h == nullptr) return;
  SetFocus(h);
  SendMessageW(h, EM_SETSEL, 0, -1);
}

void CoordinatesWindow::WatchField(HWND field, int id) {
  win32::Subclass(field, [this, id](HWND h, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    switch (msg) {
      case WM_LBUTTONDBLCLK: {
        bool filled = false;
        if (place_ && id == kLongitudeField) filled = place_->FillEmptyLongitude();
        if (place_ && id == kLatitudeField) filled = place_->FillEmptyLatitude();
        if (alarms_ && id >= kTimeField && id < kTimeField + kTimeFieldCount) {
          filled = alarms_->FillEmptyTime(id - kTimeField);
        }
        if (!filled) return std::nullopt;
        Render();
        SetFocus(h);
        SendMessageW(h, EM_SETSEL, 0, -1);
        return 0;
      }
      case WM_KEYDOWN:
        if (wParam == 'A' && GetKeyState(VK_CONTROL) < 0) {
          SendMessageW(h, EM_SETSEL, 0, -1);
          return 0;
        }
        return std::nullopt;
      case WM_CHAR:
        if (wParam == 1) return 0;  // Ctrl+A's character: no beep
        return std::nullopt;
      default:
        return std::nullopt;
    }
  });
}

void CoordinatesWindow::Confirm() {
  if (place_) {
    const PlaceOutcome outcome = place_->Confirm();
    Render();
    switch (outcome) {
      case PlaceOutcome::kDone: RequestClose(); break;
      case PlaceOutcome::kNameMissing: Focus(kNameField); break;
      case PlaceOutcome::kBadLongitude: Focus(kLongitudeField); break;
      case PlaceOutcome::kBadLatitude: Focus(kLatitudeField); break;
    }
    return;
  }
  if (alarms_) {
    const auto faulty = alarms_->Confirm(state());
    Render();
    if (faulty) return Focus(kTimeField + *faulty);
    RequestClose();  // the main window then starts or stops its alarm check
    return;
  }
  // A refusal (a standard user) leaves the date as it is, and says so.
  if (const auto outcome = SetSystemDate(state(), program().platform); outcome && *outcome != DateChange::kDone) {
    win32::Tell(hwnd(), DateChangeMessage(*outcome), menu::kMessageCaption);
  }
  RequestClose();
}

void CoordinatesWindow::RefuseName(HWND field) {
  rendering_ = true;
  const std::string& kept = place_->fields().name;
  win32::SetTextOf(field, kept);
  const auto end = static_cast<WPARAM>(Wide(kept).size());
  SendMessageW(field, EM_SETSEL, end, static_cast<LPARAM>(end));
  rendering_ = false;
  MessageBeep(MB_OK);
  const std::wstring title = win32::Shown("地名"), text = win32::Shown(kNameTooLong);
  EDITBALLOONTIP tip{sizeof tip, title.c_str(), text.c_str(), TTI_INFO};
  SendMessageW(field, EM_SHOWBALLOONTIP, 0, reinterpret_cast<LPARAM>(&tip));
}

void CoordinatesWindow::OnCommand(int id, int code, HWND control) {
  if (rendering_) return;
  if ((id == IDOK && control == nullptr) || (id == kOk && code == BN_CLICKED)) return Confirm();
  if (id == kCancel && code == BN_CLICKED) return RequestClose();
  if (control == nullptr) return;
  if (place_) {
    switch (id) {
      case kCityList:
        if (code == CBN_SELCHANGE) {
          const int chosen = static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0));
          if (chosen >= 0 && chosen != place_->fields().item) {
            place_->Choose(chosen);
            Render();
          }
        }
        return;
      case kNameField:
        if (code == EN_CHANGE && !place_->EditName(win32::TextOf(control))) RefuseName(control);
        return;
      case kLongitudeField:
        if (code == EN_CHANGE) place_->EditLongitude(win32::TextOf(control));
        return;
      case kLatitudeField:
        if (code == EN_CHANGE) place_->EditLatitude(win32::TextOf(control));
        return;
      default:
        return;
    }
  }
  if (alarms_) {
    if (id == kWorkingDaysOnlyBox) {
      if (code == BN_CLICKED) alarms_->SetWorkingDaysOnly(SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED);
      return;
    }
    const int row = id % 10;
    if (id >= kTimeField && id < kTimeField + kTimeFieldCount) {
      if (code == EN_CHANGE) alarms_->EditTime(row, win32::TextOf(control));
      return;
    }
    if (row > 2) return;
    const auto chosen = [&] { return static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0)); };
    switch (id - row) {
      case kAlarmBox:
        if (code == BN_CLICKED) alarms_->Tick(row, SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED);
        return;
      case kSoundList:
        if (code == CBN_SELCHANGE) alarms_->ChooseSound(row, chosen());
        return;
      case kDaysList:
        if (code == CBN_SELCHANGE) alarms_->ChooseDays(row, chosen());
        return;
      default:
        return;
    }
  }
}

}  // namespace

void OpenCoordinatesWindow(ProgramContext& program, HWND owner, int mode) {
  CoordinatesWindow window(program, mode);
  window.Run(owner);
}

}  // namespace tovani::coordinates
