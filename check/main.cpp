// tandorcheck.exe, the check tool for users with the real card: it tells in
// a minute whether the driver, the card, the receiver, the remote or a
// setting is at fault. A console program without a C runtime, like the
// DLLs: mainCRTStartup is its entry point.

#include <windows.h>

#include "commandLine.h"
#include "commands.h"
#include "output.h"

extern "C" void __cdecl mainCRTStartup() {
  StandardOutput out;
  Command command;
  const char* error = nullptr;
  CheckStatus status = kBadArguments;
  if (ParseCommandLine(GetCommandLineA(), &command, &error)) {
    status = RunCommand(out, command);
  } else {
    Print(out, "tandorcheck: %s\n\n", error);
    PrintHelp(out);
  }
  // What a double-click in Explorer gives: keep the window until it is read.
  if (status != kBadArguments && command.kind == kWholeCheck) {
    Print(out, "\nPress Enter to close this window.\n");
    WaitForEnter();
  }
  ExitProcess(static_cast<UINT>(status));
}
