// The plug-in's binding of its bus back end at object creation, as its log
// and its user see it: the version line, the loading and import lines, and
// the fatal paths that end the host process.
#pragma once

#include "platformDetection.h"

// Classifies the platform and logs the version line; when Windows refuses
// both version records it logs nothing and returns kPlatformUnsupported.
PlatformClass DetectPlatform();

// Classifies the platform (DetectPlatform) and binds the back end for it.
// Returns only when the back end is bound: on an unsupported platform or a
// library that cannot be loaded or lacks a function it logs the reason,
// shows a message box and ends the process with status 1.
void BindBusBackend();
