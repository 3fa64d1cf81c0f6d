#include "process_time.h"

#include <windows.h>

namespace {

double Microseconds(const FILETIME& time) {
  unsigned long long ticks =
      (static_cast<unsigned long long>(time.dwHighDateTime) << 32) |
      time.dwLowDateTime;
  return static_cast<double>(ticks) / 10.0;  // 100 ns ticks
}

}  // namespace

double ProcessCpuUs() {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
    return 0;
  return Microseconds(kernel) + Microseconds(user);
}

double WallUs() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1e6 /
         static_cast<double>(frequency.QuadPart);
}
