// The text-mode writer and the append-mode opening.

#include "textFile.h"

namespace {

const char kEndOfFileMark = 0x1A;  // CTRL-Z

// The file's last byte is CTRL-Z: cut it off.
void RemoveEndOfFileMark(HANDLE file) {
  if (SetFilePointer(file, -1, nullptr, FILE_END) == INVALID_SET_FILE_POINTER)
    return;  // an empty file
  char last = 0;
  DWORD read = 0;
  if (!ReadFile(file, &last, 1, &read, nullptr) || read != 1) return;
  if (last != kEndOfFileMark) return;
  SetFilePointer(file, -1, nullptr, FILE_END);
  SetEndOfFile(file);
}

}  // namespace

TextFileWriter::TextFileWriter(HANDLE file, Position position)
    : file_(file), position_(position) {}

TextFileWriter::~TextFileWriter() {
  Flush();
}

void TextFileWriter::Write(const char* text, int length) {
  for (int i = 0; i < length; ++i) {
    // Room for a CR LF pair.
    if (used_ + 2 > kBufferSize) Flush();
    if (text[i] == '\n') buffer_[used_++] = '\r';
    buffer_[used_++] = text[i];
  }
}

bool TextFileWriter::Flush() {
  if (used_ > 0 && !failed_) {
    if (position_ == kAtEnd) SetFilePointer(file_, 0, nullptr, FILE_END);
    DWORD written = 0;
    failed_ = !WriteFile(file_, buffer_, static_cast<DWORD>(used_), &written,
                         nullptr) ||
              written != static_cast<DWORD>(used_);
  }
  used_ = 0;
  return !failed_;
}

HANDLE OpenForAppending(const char* path) {
  HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) RemoveEndOfFileMark(file);
  return file;
}
