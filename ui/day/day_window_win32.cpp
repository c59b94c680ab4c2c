#include "ui/day/day_window_win32.h"

#include "framework/win32/wide.h"
#include "ui/day/day_frame.h"

namespace tovani::day {
namespace {

constexpr int kAppIconId = 1;

HRGN CreateOutlineRegion() {
  const Outline& o = DayWindowOutline();
  HRGN region = CreateRectRgn(o.body.left, o.body.top, o.body.right, o.body.bottom);
  for (const Box& c : o.circles) {
    HRGN circle = CreateEllipticRgn(c.left, c.top, c.right, c.bottom);
    CombineRgn(region, region, circle, RGN_OR);
    DeleteObject(circle);
  }
  return region;
}

// The options of the window being shown (one at a time, on this thread).
const DayWindowOptions* g_options = nullptr;

LRESULT CALLBACK DayWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CLOSE: {
      RECT r{};
      GetWindowRect(hwnd, &r);
      if (g_options != nullptr && g_options->onClose) g_options->onClose(r.left, r.top);
      DestroyWindow(hwnd);
      return 0;
    }
    case WM_LBUTTONDOWN:
      // The borderless window is dragged by its body.
      ReleaseCapture();
      SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

bool IsAltX(const MSG& msg) { return msg.message == WM_SYSKEYDOWN && msg.wParam == 'X'; }

}  // namespace

void RunDayWindow(HINSTANCE instance, const DayWindowOptions& options) {
  g_options = &options;
  const std::wstring className = Wide(kClassName);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = DayWindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kAppIconId));
  wc.hIconSm = wc.hIcon;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = CreateSolidBrush(RGB(kBackgroundRed, kBackgroundGreen, kBackgroundBlue));
  wc.lpszClassName = className.c_str();
  RegisterClassExW(&wc);

  const Position pos = InitialPosition(options.storedLeft, options.storedTop, GetSystemMetrics(SM_CXSCREEN),
                                       GetSystemMetrics(SM_CYSCREEN));
  HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, className.c_str(), Wide(kCaption).c_str(),
                              WS_POPUP | WS_CLIPCHILDREN, pos.left, pos.top, kWindowWidth, kWindowHeight, nullptr,
                              nullptr, instance, nullptr);
  if (hwnd != nullptr) {
    SetWindowRgn(hwnd, CreateOutlineRegion(), FALSE);  // the window owns the region now
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);

    MSG msg;
    while (IsWindow(hwnd) && GetMessageW(&msg, nullptr, 0, 0) > 0) {
      if (IsAltX(msg) && (msg.hwnd == hwnd || IsChild(hwnd, msg.hwnd))) {
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
        continue;
      }
      if (IsDialogMessageW(hwnd, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  UnregisterClassW(className.c_str(), instance);
  DeleteObject(wc.hbrBackground);
  g_options = nullptr;
}

}  // namespace tovani::day
