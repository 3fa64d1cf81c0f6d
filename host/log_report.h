// What the host says at the end of its run: the plug-in's log, when asked
// for. A plug-in that ends the process in GetInterfacePtr (its fatal paths)
// ends it through the system at once, so nothing of the host runs after
// that; the host's line before the call shows where the run ended.
#pragma once

namespace log_report {

// Prints "MiraboRemote.log" of the current folder.
void PrintLog();

}  // namespace log_report
