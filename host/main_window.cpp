#include "main_window.h"

namespace {

const char kClassName[] = "MiraboMainWindow";
const char kTitle[] = "Mirabo";

bool RegisterMainWindowClass() {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kClassName;
  registered = RegisterClassA(&windowClass) != 0;
  return registered;
}

}  // namespace

bool MainWindow::Open() {
  if (IsOpen() || !RegisterMainWindowClass()) return false;
  window_ = CreateWindowExA(0, kClassName, kTitle, WS_OVERLAPPEDWINDOW,
                            CW_USEDEFAULT, CW_USEDEFAULT, 480, 360, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!window_) return false;
  ShowWindow(window_, SW_SHOWNOACTIVATE);
  return true;
}

bool MainWindow::Close() {
  if (!IsOpen()) {
    window_ = nullptr;
    return false;
  }
  DestroyWindow(window_);
  window_ = nullptr;
  return true;
}

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}
