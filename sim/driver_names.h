// Not compiled: the build runs the preprocessor alone over this file
// (sim/CMakeLists.txt) for the driver functions' names, in binding order,
// from the driver interface's own list, to write the simulated driver's
// export lists.
#include "driverApi.h"

// The line after the macro is read by CMake, not by a compiler.
// clang-format off
#define DRIVER_FUNCTION_NAME(name, group, result, params, args) name
SIM_DRIVER_FUNCTIONS: DRIVER_FUNCTIONS(DRIVER_FUNCTION_NAME)
