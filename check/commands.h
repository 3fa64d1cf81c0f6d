// The check tool's commands, each printing its report to `out` and
// returning the exit status.
#pragma once

#include "commandLine.h"
#include "exitStatus.h"
#include "textFormat.h"

CheckStatus RunCommand(TextOutput& out, const Command& command);

// The commands and the exit statuses.
void PrintHelp(TextOutput& out);
