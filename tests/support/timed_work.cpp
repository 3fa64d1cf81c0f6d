#include "timed_work.h"

#include <stdio.h>

#include <gtest/gtest.h>

namespace testsupport {

namespace {

DWORD WINAPI RunWork(LPVOID param) {
  (*static_cast<const std::function<void()>*>(param))();
  return 0;
}

}  // namespace

void MustFinishWithin(const char* what, const std::function<void()>& work,
                      DWORD timeoutMs) {
  HANDLE thread =
      CreateThread(nullptr, 0, RunWork,
                   const_cast<std::function<void()>*>(&work), 0, nullptr);
  if (!thread) {
    work();
    return;
  }
  if (WaitForSingleObject(thread, timeoutMs) != WAIT_OBJECT_0) {
    fprintf(stderr, "HUNG: %s did not end within %lu ms\n", what,
            static_cast<unsigned long>(timeoutMs));
    fflush(stderr);
    ExitProcess(99);
  }
  CloseHandle(thread);
}

double NowMs() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 /
         static_cast<double>(frequency.QuadPart);
}

double TimedStop(IRemoteDevice* device) {
  double start = NowMs();
  EXPECT_EQ(S_OK, device->Stop());
  return NowMs() - start;
}

}  // namespace testsupport
