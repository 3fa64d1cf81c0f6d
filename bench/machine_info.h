// What the benchmark ran on, as far as the program itself can tell.
#pragma once

#include <string>

// Wine's version ("8.0"), or "" when not running under Wine.
std::string WineVersion();
// The Windows version this program is shown, e.g. "4.10.2222 (Windows 98)".
std::string WindowsVersion();
// Whether that is Windows 95, 98 or Millennium, where the plug-in polls
// through TandorUtl.
bool IsWindows9x();
int ProcessorCount();
// The Linux host's load averages over 1, 5 and 15 minutes, read through
// Wine's drive Z:, or "" when they cannot be read.
std::string HostLoadAverages();
// Local date and time, "2024-06-01 12:00".
std::string Now();
