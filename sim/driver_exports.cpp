// The 42 functions of the capture chip's driver, as the simulated
// "BtVid_32.Dll" exports them: plain functions with undecorated names, in
// the calling convention SIM_EXPORT_CALL that the build picks (__cdecl or
// __stdcall; the real driver's is not known). The .def file that the build
// generates lists the names, leaving out those a variant lacks. Each one
// hands its arguments to the card, which records the call.
#include <initializer_list>

#include "driverApi.h"
#include "sim_instance.h"

namespace {

int CallDriver(DriverFunction function, std::initializer_list<int> args) {
  sim::CardAccess card;
  return card->CallDriver(function, args.begin(),
                          static_cast<int>(args.size()));
}

}  // namespace

#define SIM_UNPAREN(...) __VA_ARGS__
#define SIM_DEFINE_DRIVER_EXPORT(name, group, result, params, args)          \
  extern "C" result SIM_EXPORT_CALL name params {                            \
    return static_cast<result>(CallDriver(kDrv_##name, {SIM_UNPAREN args})); \
  }
DRIVER_FUNCTIONS(SIM_DEFINE_DRIVER_EXPORT)
#undef SIM_DEFINE_DRIVER_EXPORT
#undef SIM_UNPAREN
