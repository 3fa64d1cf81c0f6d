// What the host says as the process ends, however it ends: by returning
// from main, or by the plug-in's exit(1) inside GetInterfacePtr after one
// of its fatal message boxes. The runtime calls the report at either end.
#pragma once

namespace exit_report {

// Registers the report; with `showLog` it prints "MiraboRemote.log" of the
// current folder.
void Arm(bool showLog);
// True while the host waits for GetInterfacePtr: an exit then is the
// plug-in's.
void SetCreating(bool creating);

}  // namespace exit_report
