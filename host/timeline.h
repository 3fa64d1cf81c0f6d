// The timed parts of a host run, as the user writes them on the command
// line: when the main window opens and closes, and which key the simulated
// card's receiver reports from when on. Times are milliseconds from the
// moment the plug-in is started.
#pragma once

#include <string>
#include <vector>

struct WindowEvent {
  int atMs;
  bool open;  // false: close
};

struct KeyStep {
  int atMs;
  int code;  // 0..255, or -1: the key is released
};

// Whole milliseconds, decimal digits only, at most `most`.
bool ParseMs(const std::string& text, long most, int* ms);

// "open@0,close@3000,open@5000"; "none" (or an empty text) for no event.
// Times must not go back. On failure returns false and says why in `error`.
bool ParseWindowSchedule(const std::string& text,
                         std::vector<WindowEvent>* events, std::string* error);

// "500:1,700:-1,900:27": entries MS:CODE separated by commas, blanks or
// line ends; '#' starts a comment that runs to the end of the line (so a
// script file can explain itself). CODE is decimal or 0x-hex. Times must
// not go back.
bool ParseKeyScript(const std::string& text, std::vector<KeyStep>* steps,
                    std::string* error);
