// Message boxes answered as a user would answer them, for unattended runs:
// each box is described (caption, text, icon, owner, the button that
// answers it) and closed at once with its default button.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace harness {

// A message box as its user sees it.
struct Box {
  std::string caption;
  std::string text;
  std::string icon;  // error, warning, information, question, none, other
  // The window that owns the box, null for none. Windows does not keep the
  // desktop as an owner, so a box asked for with the desktop has none here;
  // `requestedOwner` is the owner asked for, where the box was seen being
  // created (on the answering thread), else the same as `owner`.
  HWND owner = nullptr;
  HWND requestedOwner = nullptr;
  std::string button;  // the text of the button that answers it
};

// While it exists, every message box shown on the creating thread is
// recorded, handed to `onBox` (before it closes, so that what `onBox`
// prints is there even when the code that showed the box ends the process
// right after) and answered with its default button. One per thread.
class BoxAnswerer {
 public:
  explicit BoxAnswerer(std::function<void(const Box&)> onBox = nullptr);
  ~BoxAnswerer();
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;
  bool installed() const { return hook_ != nullptr; }
  const std::vector<Box>& boxes() const { return boxes_; }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wparam, LPARAM lparam);
  void Answer(HWND box);

  HHOOK hook_;
  std::function<void(const Box&)> onBox_;
  std::vector<Box> boxes_;
  // The owners asked for by the boxes being created, until they go.
  std::vector<std::pair<HWND, HWND>> requestedOwners_;
  // A box can be activated more than once; it is answered the first time.
  HWND lastAnswered_ = nullptr;
};

// The message boxes of another process: its visible top-level dialogs,
// answered each time AnswerOpenBoxes is called.
class ProcessBoxAnswerer {
 public:
  explicit ProcessBoxAnswerer(DWORD processId) : processId_(processId) {}
  void AnswerOpenBoxes();
  const std::vector<Box>& boxes() const { return boxes_; }

 private:
  static BOOL CALLBACK Visit(HWND window, LPARAM self);

  DWORD processId_;
  HWND lastAnswered_ = nullptr;
  std::vector<Box> boxes_;
};

// `message box: caption "...", icon ..., owner ..., text "..."; answered
// "..."`, as the stand-in host prints it.
std::string Describe(const Box& box);
// `caption|text|icon=<0|1>|owner=<0|1>`, as the tests compare boxes: icon
// and owner 1 when the box has an icon or an owner window.
std::string Summary(const Box& box);

}  // namespace harness
