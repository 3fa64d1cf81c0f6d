// Work that must finish in time, a Stop among it.
#pragma once

#include <windows.h>

#include <stdio.h>

#include <functional>

#include <gtest/gtest.h>

#include "remoteInterfaces.h"

namespace testsupport {

inline DWORD WINAPI RunWork(LPVOID param) {
  (*static_cast<const std::function<void()>*>(param))();
  return 0;
}

// Runs `work` on a thread of its own and waits at most `timeoutMs` for it.
// Work that has not finished by then is hung, and a hung transaction cannot
// be interrupted: the program then says what hung and ends at once with
// exit status 99, since nothing after it could be trusted.
inline void MustFinishWithin(const char* what,
                             const std::function<void()>& work,
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

// Milliseconds on a steady clock.
inline double NowMs() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 /
         static_cast<double>(frequency.QuadPart);
}

// How long `Stop` took, in milliseconds.
inline double TimedStop(IRemoteDevice* device) {
  double start = NowMs();
  EXPECT_EQ(S_OK, device->Stop());
  return NowMs() - start;
}

}  // namespace testsupport
