// Mirabo's main window: a top-level window of class "MiraboMainWindow" with
// the title "Mirabo", owned by the host's thread, whose presence the
// plug-in follows with the card's sound.
#pragma once

#include <windows.h>

class MainWindow {
 public:
  MainWindow() = default;
  ~MainWindow() { Close(); }
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Both return false when there was nothing to do or it failed.
  bool Open();
  bool Close();
  bool IsOpen() const { return window_ && IsWindow(window_); }

 private:
  HWND window_ = nullptr;
};

// Dispatches the messages waiting for the calling thread's windows.
void PumpMessages();
