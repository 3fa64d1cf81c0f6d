// printf-style formatting for binaries that link no C runtime. What our
// messages use, with printf's meaning: the conversions %d, %u, %x, %X, %c,
// %s and %%, each with an optional '-' (left-justify) or '0' (pad with
// zeros) flag and a field width; an 'l' length letter is accepted and
// changes nothing (every value is 32 bits). A null %s prints "(null)", as
// the C runtime does; any other conversion letter is printed as it stands.
#pragma once

#include <stdarg.h>

// Where formatted text goes, piece by piece.
class TextOutput {
 public:
  virtual void Write(const char* text, int length) = 0;

 protected:
  ~TextOutput() = default;
};

void FormatText(TextOutput& out, const char* format, va_list args);

// A TextOutput into a fixed buffer, always zero-terminated; text beyond
// its end is dropped.
class TextBuffer : public TextOutput {
 public:
  TextBuffer(char* buffer, int size);
  void Write(const char* text, int length) override;
  int length() const { return length_; }

 private:
  char* buffer_;
  int size_;
  int length_ = 0;
};

// Formats into `buffer` of `size` bytes (cut short to fit, always
// zero-terminated); returns the length written.
int FormatInto(char* buffer, int size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
