// Mirabo's main window as the plug-in and the check tool look for it: a
// top-level window of class "MiraboMainWindow" titled "Mirabo", for the
// life of the object, owned by the creating thread.
#pragma once

#include <windows.h>

namespace harness {

extern const char kHostWindowClass[];  // "MiraboMainWindow"
extern const char kHostWindowTitle[];  // "Mirabo"

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
