#include "ui/calculator/calculator_window_win32.h"

#include <commctrl.h>

#include <array>
#include <string>

#include "framework/win32/controls.h"
#include "framework/win32/dpi.h"
#include "framework/win32/fonts.h"
#include "ui/calculator/calculator_model.h"
#include "ui/base/tool_window_win32.h"
#include "ui/base/messages.h"

namespace tovani::calculator {
namespace {

using win32::Place;

constexpr const char* kClassName = "TOVANI_JFORM";

// ---- Places at 96 DPI ----

// The text fields are 20 high (the 16-pixel font with its frame), centred on
// the rows of the radio buttons beside them.
constexpr int kFieldHeight = 20;

Place RadioPlace(int page, int group, Calendar c) {
  const int x = group == 0 || page == kIntervalPage ? 11 : 43;
  return {x, (group == 0 ? 11 : 71) + 19 * static_cast<int>(c), 67, 18};
}
Place DatePlace(int index) { return {84, index == 0 ? 29 : 89, 112, kFieldHeight}; }
Place BeforeEraPlace(int index) { return {202, index == 0 ? 32 : 92, 60, 16}; }

Place ResultPlace(int page, bool offsetMode) {
  switch (page) {
    case kIntervalPage: return offsetMode ? DatePlace(1) : Place{107, 134, 112, kFieldHeight};
    case kSexagenaryPage: return {68, 74, 176, kFieldHeight};
    case kConvertPage: return {112, 89, 112, kFieldHeight};
    default: return {107, 74, 112, kFieldHeight};
  }
}
// Left of the result field, or (offset mode) right of it where date field 1's
// box stood.
Place ResultLabelPlace(int page, bool offsetMode) {
  const Place r = ResultPlace(page, offsetMode);
  if (offsetMode) return {202, r.y, 60, kFieldHeight};
  return {4, r.y, r.x - 4 - 4, kFieldHeight};
}
Place ButtonPlace(int page, int index) {
  return {index == 0 ? 56 : 149, ClientHeight(page) - 48, 68, 24};
}

bool IsPasteKey(UINT msg, WPARAM w) {
  return (msg == WM_CHAR && w == 0x16) ||  // Ctrl+V
         (msg == WM_KEYDOWN && w == VK_INSERT && GetKeyState(VK_SHIFT) < 0);
}

class CalculatorWindow : public ToolWindow {
 public:
  CalculatorWindow(ProgramContext& program, int page)
      : ToolWindow(program),
        model_(page, MakeDateSpan(program.state.Rules(), program.state.LowestYear, program.state.ToolHighestYear),
               {program.state.CurrentYear, program.state.CurrentMonth, program.state.CurrentDay},
               program.state.CycleYearStart()) {}

  void Run(HWND owner) {
    RunModal(owner, kClassName, PageCaption(model_.page()), kClientWidth, ClientHeight(model_.page()));
  }

 protected:
  void CreateControls(UINT dpi) override {
    const int page = model_.page();
    const HWND w = hwnd();
    FitClientArea(kClientWidth, ClientHeight(model_.page()));
    const auto create = [&](const wchar_t* cls, int id, DWORD style, const Place& p, const std::string& text = {}) {
      return win32::CreateControl(w, cls, id, style, 0, p, dpi, nullptr, text);
    };
    // In tab order: each radio group, its date field and box; the result;
    // the buttons.  WS_GROUP ends a radio group.
    for (int group = 0; group < 2; ++group) {
      if (group == 1 && !model_.HasSecondGroup()) break;
      for (int c = 0; c < kCalendarCount; ++c) {
        const auto cal = static_cast<Calendar>(c);
        radios_[group][c] = create(WC_BUTTONW, RadioId(group, cal),
                                   BS_AUTORADIOBUTTON | (c == 0 ? WS_GROUP | WS_TABSTOP : 0),
                                   RadioPlace(page, group, cal), CalendarLabel(cal));
      }
      if (group == 1 && page != kIntervalPage) break;
      dates_[group] = create(WC_EDITW, kDateFieldId + group, ES_AUTOHSCROLL | ES_CENTER | WS_BORDER | WS_GROUP |
                             WS_TABSTOP, DatePlace(group));
      SendMessageW(dates_[group], EM_SETLIMITTEXT, 10, 0);
      SendMessageW(dates_[group], EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(2, 2));
      win32::Subclass(dates_[group], [this, group](HWND h, UINT msg, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
        return OnDateFieldInput(group, h, msg, wp);
      });
      boxes_[group] = create(WC_BUTTONW, kBeforeEraId + group, BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP,
                             BeforeEraPlace(group), "纪元前");
    }
    if (*ResultLabel(page) != '\0') {
      label_ = create(WC_STATICW, kResultLabelId, SS_NOTIFY | SS_CENTERIMAGE | WS_GROUP,
                      ResultLabelPlace(page, false), ResultLabel(page));
    }
    result_.Create(w, kResultFieldId, ResultPlace(page, false), dpi, nullptr, false, true, true);
    SetWindowLongPtrW(result_.hwnd, GWL_STYLE, GetWindowLongPtrW(result_.hwnd, GWL_STYLE) | WS_GROUP | WS_TABSTOP);
    win32::Subclass(result_.hwnd, [](HWND, UINT msg, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
      if (IsPasteKey(msg, wp)) return 0;
      return std::nullopt;
    });
    action_ = create(WC_BUTTONW, kActionButtonId, BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, ButtonPlace(page, 0),
                     ActionLabel(page));
    cancel_ = create(WC_BUTTONW, kCancelButtonId, BS_PUSHBUTTON | WS_TABSTOP, ButtonPlace(page, 1), "取消");
    Layout(dpi);
    Render();
    PostMessageW(w, kFocusFirstField, 0, 0);  // after the base has focused the first control
  }

  void OnCommand(int id, int code, HWND control) override {
    if (rendering_) return;
    if (id == IDOK || (id == kActionButtonId && code == BN_CLICKED)) {
      Compute();
      return;
    }
    if (id == kCancelButtonId && code == BN_CLICKED) {
      RequestClose();
      return;
    }
    if (control == nullptr) return;
    for (int i = 0; i < 2; ++i) {
      if (control == dates_[i] && code == EN_CHANGE) {
        model_.EditDate(i, win32::TextOf(control));
        return Render();
      }
      if (control == boxes_[i] && code == BN_CLICKED) {
        model_.TickBeforeEra(i, SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED);
        return Render();
      }
      for (int c = 0; c < kCalendarCount; ++c) {
        if (control == radios_[i][c] && code == BN_CLICKED) {
          model_.Choose(i, static_cast<Calendar>(c));
          return Render();
        }
      }
    }
    if (control == result_.hwnd && code == EN_CHANGE) {
      model_.EditResult(result_.Text());
      return;
    }
    if (control == label_ && code == STN_DBLCLK && model_.page() == kIntervalPage) {
      model_.ToggleMode();
      Layout(dpi());
      Render();
      SetFocus(model_.offsetMode() ? result_.hwnd : dates_[1]);
    }
  }

  std::optional<LRESULT> OnOwnMessage(UINT msg, WPARAM, LPARAM) override {
    switch (msg) {
      case kFocusFirstField:
        FocusField(dates_[0]);
        return 0;
      case WM_DPICHANGED:  // the base resizes the window; the controls follow
        PostMessageW(hwnd(), kRelayout, 0, 0);
        return std::nullopt;
      case kRelayout:
        Layout(dpi());
        return 0;
      default:
        return std::nullopt;
    }
  }

 private:
  // A double click fills an empty date field with the zero pattern or
  // selects its text; pasting does nothing.
  std::optional<LRESULT> OnDateFieldInput(int index, HWND field, UINT msg, WPARAM wp) {
    switch (msg) {
      case WM_LBUTTONDBLCLK:
        SetFocus(field);
        if (model_.FillEmptyDate(index)) Render();
        SendMessageW(field, EM_SETSEL, 0, -1);
        return 0;
      case WM_PASTE:
        return 0;
      default:
        if (IsPasteKey(msg, wp)) return 0;
        return std::nullopt;
    }
  }

  void Compute() {
    model_.Compute();
    Render();
    for (HWND field : dates_) {
      if (field != nullptr && IsWindowVisible(field) && GetWindowTextLengthW(field) == 0) return FocusField(field);
    }
  }


  static void FocusField(HWND field) {
    if (field == nullptr) return;
    SetFocus(field);
    SendMessageW(field, EM_SETSEL, 0, -1);
  }

  // Places, fonts and the controls of the mode.
  void Layout(UINT dpi) {
    const int page = model_.page();
    const bool offset = model_.offsetMode();
    HFONT song12 = win32::GetFont("宋体", 12, false, dpi);
    HFONT fieldFont = win32::GetFittingFont("宋体", 16, false, dpi, win32::Scale(kFieldHeight, dpi) - 2);
    const auto place = [dpi](HWND h, const Place& p, HFONT font) {
      if (h == nullptr) return;
      win32::MoveTo(h, p, dpi);
      SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    };
    for (int group = 0; group < 2; ++group) {
      for (int c = 0; c < kCalendarCount; ++c) {
        place(radios_[group][c], RadioPlace(page, group, static_cast<Calendar>(c)), song12);
      }
      place(dates_[group], DatePlace(group), fieldFont);
      place(boxes_[group], BeforeEraPlace(group), song12);
    }
    if (dates_[1] != nullptr) {
      ShowWindow(dates_[1], model_.HasSecondDate() ? SW_SHOW : SW_HIDE);
      ShowWindow(boxes_[1], model_.HasSecondDate() ? SW_SHOW : SW_HIDE);
    }
    place(result_.hwnd, ResultPlace(page, offset), fieldFont);
    if (label_ != nullptr) {
      LONG_PTR style = GetWindowLongPtrW(label_, GWL_STYLE) & ~static_cast<LONG_PTR>(SS_TYPEMASK);
      SetWindowLongPtrW(label_, GWL_STYLE, style | (offset ? SS_LEFT : SS_RIGHT));
      place(label_, ResultLabelPlace(page, offset), song12);
      InvalidateRect(label_, nullptr, TRUE);
    }
    place(action_, ButtonPlace(page, 0), song12);
    place(cancel_, ButtonPlace(page, 1), song12);
  }

  // The controls show the model.
  void Render() {
    rendering_ = true;
    const auto setText = [](HWND h, const std::string& text) {
      if (h != nullptr && win32::TextOf(h) != text) win32::SetTextOf(h, text);
    };
    for (int i = 0; i < 2; ++i) {
      for (int c = 0; c < kCalendarCount; ++c) {
        if (radios_[i][c] != nullptr) {
          const bool on = model_.calendar(i) == static_cast<Calendar>(c);
          SendMessageW(radios_[i][c], BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
        }
      }
      setText(dates_[i], model_.field(i).text);
      if (boxes_[i] != nullptr) {
        SendMessageW(boxes_[i], BM_SETCHECK, model_.field(i).beforeEra ? BST_CHECKED : BST_UNCHECKED, 0);
        EnableWindow(boxes_[i], model_.BeforeEraEnabled(i));
      }
    }
    SendMessageW(result_.hwnd, EM_SETREADONLY, model_.ResultEditable() ? FALSE : TRUE, 0);
    setText(result_.hwnd, model_.result());
    rendering_ = false;
  }

  Calculator model_;
  std::array<std::array<HWND, kCalendarCount>, 2> radios_{};
  std::array<HWND, 2> dates_{}, boxes_{};
  HWND label_ = nullptr, action_ = nullptr, cancel_ = nullptr;
  win32::TextBox result_;
  bool rendering_ = false;
};

}  // namespace

void OpenCalculatorWindow(ProgramContext& program, HWND owner, int page) {
  CalculatorWindow window(program, page);
  window.Run(owner);
}

}  // namespace tovani::calculator
