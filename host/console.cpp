#include "console.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <stdarg.h>
#include <stdio.h>

void SessionClock::Start() {
  LARGE_INTEGER value;
  QueryPerformanceFrequency(&value);
  frequency_ = value.QuadPart;
  QueryPerformanceCounter(&value);
  origin_ = value.QuadPart;
}

long SessionClock::NowMs() const {
  LARGE_INTEGER value;
  QueryPerformanceCounter(&value);
  return static_cast<long>((value.QuadPart - origin_) * 1000 / frequency_);
}

namespace console {
namespace {

// One lock for every line, whichever thread writes it; made by Init.
CRITICAL_SECTION outputLock;

void WriteLine(const char* prefix, const char* format, va_list args) {
  EnterCriticalSection(&outputLock);
  fputs(prefix, stdout);
  vprintf(format, args);
  fputc('\n', stdout);
  fflush(stdout);
  LeaveCriticalSection(&outputLock);
}

}  // namespace

void Init() {
  _setmode(_fileno(stdout), _O_BINARY);
  InitializeCriticalSection(&outputLock);
}

void Note(const char* format, ...) {
  va_list args;
  va_start(args, format);
  WriteLine("host: ", format, args);
  va_end(args);
}

void Event(long ms, const char* format, ...) {
  char prefix[32];
  snprintf(prefix, sizeof prefix, "%7ld ms  ", ms);
  va_list args;
  va_start(args, format);
  WriteLine(prefix, format, args);
  va_end(args);
}

void Raw(const std::string& text) {
  EnterCriticalSection(&outputLock);
  fwrite(text.data(), 1, text.size(), stdout);
  fflush(stdout);
  LeaveCriticalSection(&outputLock);
}

}  // namespace console
