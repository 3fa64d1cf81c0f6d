#include "host_window.h"

namespace harness {

static bool RegisterHostWindowClass() {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kHostWindowClass;
  registered = RegisterClassA(&windowClass) != 0;
  return registered;
}

HostWindow::HostWindow(const char* title) : window_(nullptr) {
  if (!RegisterHostWindowClass()) return;
  window_ = CreateWindowExA(0, kHostWindowClass, title, WS_OVERLAPPEDWINDOW,
                            CW_USEDEFAULT, CW_USEDEFAULT, 480, 360, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
  if (window_) ShowWindow(window_, SW_SHOWNOACTIVATE);
}

HostWindow::~HostWindow() {
  if (window_) DestroyWindow(window_);
}

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace harness
