// The formatter: literal text runs are handed on whole, each conversion is
// built in a small buffer and padded to its width.

#include "textFormat.h"

namespace {

struct FieldFormat {
  bool leftJustify = false;
  bool zeroPad = false;
  int width = 0;
};

// Flags, width and length letter after the '%'; leaves `at` on the
// conversion letter.
FieldFormat ParseFieldFormat(const char*& at) {
  FieldFormat field;
  for (;; ++at) {
    if (*at == '-') {
      field.leftJustify = true;
    } else if (*at == '0') {
      field.zeroPad = true;
    } else {
      break;
    }
  }
  while (*at >= '0' && *at <= '9')
    field.width = field.width * 10 + (*at++ - '0');
  if (*at == 'l') ++at;
  return field;
}

void WritePadding(TextOutput& out, char pad, int count) {
  const int kRun = 16;
  char run[kRun];
  for (int i = 0; i < kRun; ++i) run[i] = pad;
  while (count > 0) {
    int piece = count < kRun ? count : kRun;
    out.Write(run, piece);
    count -= piece;
  }
}

// `sign` (or nothing) and `digits`, padded to the field's width; zeros go
// between the sign and the digits.
void WriteField(TextOutput& out, const FieldFormat& field, const char* sign,
                const char* digits, int length) {
  int signLength = sign[0] ? 1 : 0;
  int padding = field.width - signLength - length;
  if (field.leftJustify) {
    out.Write(sign, signLength);
    out.Write(digits, length);
    WritePadding(out, ' ', padding);
  } else if (field.zeroPad) {
    out.Write(sign, signLength);
    WritePadding(out, '0', padding);
    out.Write(digits, length);
  } else {
    WritePadding(out, ' ', padding);
    out.Write(sign, signLength);
    out.Write(digits, length);
  }
}

void WriteNumber(TextOutput& out, const FieldFormat& field, unsigned magnitude,
                 bool negative, unsigned base, bool upperCase) {
  const char* digitSet = upperCase ? "0123456789ABCDEF" : "0123456789abcdef";
  char digits[12];  // 4294967295 has ten
  int at = sizeof digits;
  do {
    digits[--at] = digitSet[magnitude % base];
    magnitude /= base;
  } while (magnitude != 0);
  WriteField(out, field, negative ? "-" : "", digits + at,
             static_cast<int>(sizeof digits) - at);
}

void WriteText(TextOutput& out, const FieldFormat& field, const char* text) {
  if (!text) text = "(null)";
  int length = 0;
  while (text[length]) ++length;
  FieldFormat spacePadded = field;
  spacePadded.zeroPad = false;
  WriteField(out, spacePadded, "", text, length);
}

}  // namespace

void FormatText(TextOutput& out, const char* format, va_list args) {
  const char* at = format;
  while (*at) {
    const char* literal = at;
    while (*at && *at != '%') ++at;
    if (at > literal) out.Write(literal, static_cast<int>(at - literal));
    if (!*at) return;
    ++at;  // past the '%'
    FieldFormat field = ParseFieldFormat(at);
    char letter = *at;
    if (!letter) return;
    ++at;
    switch (letter) {
      case 'd': {
        int value = va_arg(args, int);
        unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value)
                                       : static_cast<unsigned>(value);
        WriteNumber(out, field, magnitude, value < 0, 10, false);
        break;
      }
      case 'u':
        WriteNumber(out, field, va_arg(args, unsigned), false, 10, false);
        break;
      case 'x':
      case 'X':
        WriteNumber(out, field, va_arg(args, unsigned), false, 16,
                    letter == 'X');
        break;
      case 'c': {
        char c = static_cast<char>(va_arg(args, int));
        FieldFormat spacePadded = field;
        spacePadded.zeroPad = false;
        WriteField(out, spacePadded, "", &c, 1);
        break;
      }
      case 's':
        WriteText(out, field, va_arg(args, const char*));
        break;
      default:  // "%%", and letters we do not know, print as they stand
        out.Write(&letter, 1);
        break;
    }
  }
}

TextBuffer::TextBuffer(char* buffer, int size) : buffer_(buffer), size_(size) {
  if (size_ > 0) buffer_[0] = '\0';
}

void TextBuffer::Write(const char* text, int length) {
  for (int i = 0; i < length && length_ + 1 < size_; ++i)
    buffer_[length_++] = text[i];
  if (size_ > 0) buffer_[length_] = '\0';
}

int FormatInto(char* buffer, int size, const char* format, ...) {
  TextBuffer out(buffer, size);
  va_list args;
  va_start(args, format);
  FormatText(out, format, args);
  va_end(args);
  return out.length();
}
