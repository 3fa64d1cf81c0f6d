// Work that must finish in time, a Stop among it.
#pragma once

#include <windows.h>

#include <functional>

#include "remoteInterfaces.h"

namespace testsupport {

// Runs `work` on a thread of its own and waits at most `timeoutMs` for it.
// Work that has not finished by then is hung, and a hung transaction cannot
// be interrupted: the program then says what hung and ends at once with
// exit status 99, since nothing after it could be trusted.
void MustFinishWithin(const char* what, const std::function<void()>& work,
                      DWORD timeoutMs);

// Milliseconds on a steady clock.
double NowMs();

// How long `Stop` took, in milliseconds.
double TimedStop(IRemoteDevice* device);

}  // namespace testsupport
