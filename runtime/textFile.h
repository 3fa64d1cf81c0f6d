// Text written to a Windows file handle as the C runtime's text mode writes
// it, for binaries that link no C runtime.
#pragma once

#include <windows.h>

#include "textFormat.h"

// Every line feed goes out as CR LF. The text is gathered in a buffer and
// written when the buffer is full, at Flush and at the end of the object,
// so that a short message reaches the file in one write. With kAtEnd every
// write goes to the file's end at that moment, as in the runtime's append
// mode, even when another program has written to the file meanwhile.
class TextFileWriter : public TextOutput {
 public:
  enum Position { kAtCurrentPosition, kAtEnd };

  explicit TextFileWriter(HANDLE file, Position position = kAtCurrentPosition);
  ~TextFileWriter();
  TextFileWriter(const TextFileWriter&) = delete;
  TextFileWriter& operator=(const TextFileWriter&) = delete;

  void Write(const char* text, int length) override;
  // Writes what the buffer holds; false when the system refused a write
  // (the text is dropped either way).
  bool Flush();

 private:
  static const int kBufferSize = 512;

  HANDLE file_;
  Position position_;
  bool failed_ = false;
  int used_ = 0;
  char buffer_[kBufferSize];
};

// Opens `path` as the runtime's fopen(path, "a+t") does: for reading and
// appending, created when missing, shared with other programs for reading
// and writing, and with the CTRL-Z that may end an old text file removed, so
// that what is appended does not stand behind an end-of-file mark. Returns
// INVALID_HANDLE_VALUE when the file cannot be opened (a read-only file,
// a missing folder, a file that another program holds exclusively).
HANDLE OpenForAppending(const char* path);
