// Answers message boxes for an unattended run: while installed, every
// message box shown on the installing thread is printed (caption, icon,
// owner, text) and closed at once with its default button. The line is
// printed and flushed before the box closes, so it is there even when the
// code that showed the box ends the process right after.
#pragma once

#include <windows.h>

#include <string>

class BoxAnswerer {
 public:
  BoxAnswerer();
  ~BoxAnswerer();
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;
  bool installed() const { return hook_ != nullptr; }

 private:
  HHOOK hook_;
};

// A message box as its user sees it.
struct BoxView {
  std::string caption;
  std::string text;
  std::string icon;    // error, warning, information, question, none, other
  std::string owner;   // desktop, none, or the owner window's handle
  std::string button;  // the text of the button that answers it
};

// `message box: caption "...", icon ..., owner ..., text "..."`.
std::string DescribeBox(const BoxView& box);
