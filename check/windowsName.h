// The Windows a machine runs, named as its users know it. The plug-in's log
// line keeps the names it has always written, which call Windows 98 and
// Millennium alike and every 5.x version Windows 2000; the check tool tells
// the user the system they have.
#pragma once

#include "platformDetection.h"
#include "textFormat.h"

// Writes the name of `platform`, its service pack and its version numbers
// as the system's properties show them: "Windows 98 (4.10.2222 A)",
// "Windows XP Service Pack 3 (5.1.2600)". NT versions after Server 2003
// are named by their numbers, "Windows NT 6.1".
void PrintWindowsName(TextOutput& out, const Platform& platform);
