// Mirabo's main window as the plug-in and the check tool look for it: a
// top-level window of the class and title they look for, for the life of
// the object, owned by the creating thread.
#pragma once

#include <windows.h>

// The product's own names of the window: kHostWindowClass, kHostWindowTitle.
#include "pollingLoop.h"

namespace harness {

class HostWindow {
 public:
  explicit HostWindow(const char* title = kHostWindowTitle);
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;
  // False when the window could not be made.
  bool created() const { return window_ != nullptr; }

 private:
  HWND window_;
};

// Dispatches the messages waiting for the calling thread's windows.
void PumpMessages();

}  // namespace harness
