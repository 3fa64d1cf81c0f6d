// Time as the tests take it: a steady clock, and how long a Stop takes.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "remoteInterfaces.h"

namespace testsupport {

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
