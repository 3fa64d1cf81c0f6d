// What calling the driver in a way that works with either calling
// convention costs: one call through ForeignFunction against one plain
// __cdecl call through a function pointer, of the same one-argument
// function, measured on this machine.
#pragma once

struct ConventionCost {
  double plainNs = 0;    // one plain call
  double foreignNs = 0;  // one call through ForeignFunction
  double ExtraNs() const { return foreignNs - plainNs; }
};

ConventionCost MeasureConventionCost();
