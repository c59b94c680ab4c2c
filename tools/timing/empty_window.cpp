// The yardstick of the timing program: a minimal Win32 window with one combo
// box and one static, started and driven the way the timing program drives
// the calendar.  Choosing an item shows its text in the static.
#include <windows.h>

#include <string>

namespace {

constexpr int kListId = 100, kTextId = 101;

LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_CREATE: {
      HWND list = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, 10, 10,
                                  120, 300, h, reinterpret_cast<HMENU>(kListId), nullptr, nullptr);
      for (int i = 0; i < 12; ++i) {
        const std::wstring item = std::to_wstring(i + 1) + L"月";
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
      }
      SendMessageW(list, CB_SETCURSEL, 0, 0);
      CreateWindowExW(0, L"STATIC", L"1月", WS_CHILD | WS_VISIBLE, 10, 40, 200, 20, h,
                      reinterpret_cast<HMENU>(kTextId), nullptr, nullptr);
      return 0;
    }
    case WM_COMMAND:
      if (LOWORD(w) == kListId && HIWORD(w) == CBN_SELCHANGE) {
        wchar_t text[32] = {};
        HWND list = reinterpret_cast<HWND>(l);
        SendMessageW(list, CB_GETLBTEXT, SendMessageW(list, CB_GETCURSEL, 0, 0), reinterpret_cast<LPARAM>(text));
        SetDlgItemTextW(h, kTextId, text);
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(h, msg, w, l);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSW c{};
  c.lpfnWndProc = Proc;
  c.hInstance = instance;
  c.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  c.lpszClassName = L"TOVANI_EMPTY";
  RegisterClassW(&c);
  HWND h = CreateWindowExW(WS_EX_TOOLWINDOW, L"TOVANI_EMPTY", L"empty", WS_POPUP | WS_BORDER, 100, 100, 240, 80,
                           nullptr, nullptr, instance, nullptr);
  ShowWindow(h, SW_SHOWNOACTIVATE);
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  return 0;
}
