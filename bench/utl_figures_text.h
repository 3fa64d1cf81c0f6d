// TandorUtl's figures as "name=value" lines, so that a copy of the
// benchmark shown another Windows version can hand them to the main run.
#pragma once

#include <string>

#include "transaction_bench.h"

std::string UtlFiguresToText(const UtlFigures& figures);
// Reads the lines written by UtlFiguresToText from `text`, which may hold
// other lines too; false when any figure is missing.
bool UtlFiguresFromText(const std::string& text, UtlFigures* figures);
