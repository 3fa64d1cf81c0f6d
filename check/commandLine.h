// The check tool's command line.
#pragma once

#include <windows.h>

enum CommandKind { kWholeCheck, kScan, kKeys, kSoundOn, kSoundOff, kHelp };

struct Command {
  CommandKind kind = kWholeCheck;
  DWORD seconds = 0;  // of the key test
};

// The key test's length: the whole check's, the keys command's default,
// and its longest.
const DWORD kWholeCheckKeySeconds = 20;
const DWORD kDefaultKeySeconds = 30;
const DWORD kLongestKeySeconds = 3600;

// Parses a whole command line as GetCommandLineA gives it (the program's
// name first, quoted or not). False, with `error` saying why, for a command
// line that names no command.
bool ParseCommandLine(const char* commandLine, Command* command,
                      const char** error);
