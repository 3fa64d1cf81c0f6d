#include "convention_cost.h"

#include <windows.h>

#include "foreignCall.h"
#include "process_time.h"

namespace {

const int kCalls = 2000000;
const int kRuns = 5;  // the fastest counts: the others met a busy machine

// A stand-in for a line primitive: one argument, a result, no work. Kept
// out of line and reached only through pointers, as a driver function is.
extern "C" __attribute__((noinline)) int __cdecl LinePrimitive(int level) {
  asm volatile("" : : : "memory");
  return level & 1;
}

template <typename Call>
double FastestNsPerCall(Call call) {
  double fastest = 0;
  for (int run = 0; run < kRuns; ++run) {
    double start = WallUs();
    int sum = 0;
    for (int i = 0; i < kCalls; ++i) sum += call(i);
    double ns = (WallUs() - start) * 1000 / kCalls;
    asm volatile("" : : "r"(sum));
    if (run == 0 || ns < fastest) fastest = ns;
  }
  return fastest;
}

}  // namespace

ConventionCost MeasureConventionCost() {
  int(__cdecl* volatile plain)(int) = LinePrimitive;
  ForeignFunction<int(int)> foreign(
      reinterpret_cast<FARPROC>(reinterpret_cast<void*>(LinePrimitive)));
  ConventionCost cost;
  cost.plainNs = FastestNsPerCall([plain](int i) { return plain(i); });
  cost.foreignNs = FastestNsPerCall([&foreign](int i) { return foreign(i); });
  return cost;
}
