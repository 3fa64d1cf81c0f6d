// TandorUtl measured where port reads fault. Under Wine a program shown as
// Windows 9x runs `in` instructions through Wine's emulation of the port
// (about 10 us each); shown as the NT family, they fault, as on Windows
// 2000, and the library's bus delay waits on the performance counter. The
// copy bench-win2k.exe, next to this program, runs the measurement of
// TandorUtl alone (--utl-only) and prints its figures.
#pragma once

#include <string>

#include "transaction_bench.h"

// The option that makes the program measure TandorUtl alone and print the
// figures as text.
#define BENCH_UTL_ONLY_OPTION "--utl-only"

// Runs bench-win2k.exe in `folder`; on failure the figures are not loaded
// and `why` says what happened.
UtlFigures MeasureTransactionsAsNt(const std::string& folder, int samples);
