#include "utl_session.h"

#include <stdio.h>

#include "driverApi.h"
#include "testsupport.h"

namespace utltest {

std::string UtlPath() {
  return testsupport::ExeDir() + "TandorUtl.dll";
}

testsupport::ProcessResult RunClient(const std::string& commands) {
  return testsupport::RunProcess(testsupport::ExeDir() + "utl_client.exe",
                                 commands, testsupport::ExeDir(), 60000);
}

Utl::Utl() {
  testsupport::BoxCatcher catcher;
  module_ = LoadLibraryA(UtlPath().c_str());
  boxes_ = Describe(catcher.boxes());
  if (!module_) return;
#define UTL_API_LOOKUP(name)                       \
  api_.name = reinterpret_cast<decltype(&::name)>( \
      reinterpret_cast<void*>(GetProcAddress(module_, #name)));
  UTL_EXPORTS(UTL_API_LOOKUP)
#undef UTL_API_LOOKUP
}

Utl::~Utl() {
  Unload();
}

void Utl::Unload() {
  if (module_) FreeLibrary(module_);
  module_ = nullptr;
  api_ = UtlApi();
}

HeldDriver::HeldDriver(const std::string& variant)
    : module_(testsupport::LoadSimDriver(variant)) {}

void HeldDriver::Release() {
  if (module_) FreeLibrary(module_);
  module_ = nullptr;
}

std::vector<std::string> Describe(const std::vector<testsupport::Box>& boxes) {
  std::vector<std::string> described;
  for (const testsupport::Box& box : boxes) {
    described.push_back(box.caption + "|" + box.text +
                        "|icon=" + (box.hasIcon ? "1" : "0") +
                        "|owner=" + (box.owner ? "1" : "0"));
  }
  return described;
}

bool DriverLoaded() {
  return GetModuleHandleA(DRIVER_LIBRARY_NAME) != nullptr;
}

bool RegionExists() {
  HANDLE mapping =
      OpenFileMappingA(FILE_MAP_READ, FALSE, TANDORUTL_REGION_NAME);
  if (!mapping) return false;
  CloseHandle(mapping);
  return true;
}

std::vector<SimCall> Calls(const SimControl* card) {
  return testsupport::Records(card->GetCalls);
}

std::vector<SimBusEvent> BusEvents(const SimControl* card) {
  return testsupport::Records(card->GetBusEvents);
}

namespace {

const char* const kDriverNames[kDriverFunctionCount] = {
#define DRIVER_NAME(name, group, result, params, args) #name,
    DRIVER_FUNCTIONS(DRIVER_NAME)
#undef DRIVER_NAME
};

std::string LineSetting(const char* line, const SimCall& call) {
  std::string text = std::string(line) + "=" + std::to_string(call.args[0]);
  if (call.result != 0) text += "->" + std::to_string(call.result);
  return text;
}

std::string LineSample(const char* line, const SimCall& call) {
  return std::string(line) + "?" + std::to_string(call.result);
}

std::string OtherCall(const SimCall& call) {
  std::string text = kDriverNames[call.function];
  text += "(";
  for (int i = 0; i < call.argc; ++i) {
    if (i) text += ",";
    text += std::to_string(call.args[i]);
  }
  return text + ")->" + std::to_string(call.result);
}

std::string Hex(int value) {
  char text[16];
  snprintf(text, sizeof text, "%02x", value);
  return text;
}

std::string AckWord(int ack) {
  return ack == 1 ? "ack" : ack == 0 ? "nack" : "noclock";
}

}  // namespace

std::string Notation(const SimCall& call) {
  switch (call.function) {
    case kDrv_I2CSWSetSCL:
      return LineSetting("scl", call);
    case kDrv_I2CSWSetSDA:
      return LineSetting("sda", call);
    case kDrv_I2CSWReadSCL:
      return LineSample("scl", call);
    case kDrv_I2CSWReadSDA:
      return LineSample("sda", call);
    case kDrv_I2CInitSWMode:
      return "mode(" + std::to_string(call.args[0]) + ")" +
             (call.result ? "->" + std::to_string(call.result) : "");
    default:
      return OtherCall(call);
  }
}

std::string Notation(const std::vector<SimCall>& calls) {
  std::string text;
  for (const SimCall& call : calls) {
    if (!text.empty()) text += " ";
    text += Notation(call);
  }
  return text;
}

std::string Notation(const std::vector<SimBusEvent>& events) {
  std::string text;
  for (const SimBusEvent& event : events) {
    if (!text.empty()) text += ", ";
    switch (event.type) {
      case SIM_EVENT_START:
        text += "START";
        break;
      case SIM_EVENT_STOP:
        text += "STOP";
        break;
      case SIM_EVENT_BYTE_OUT:
        text += "OUT " + Hex(event.value) + " " + AckWord(event.ack);
        break;
      default:
        text += "IN " + Hex(event.value) + " " + AckWord(event.ack);
        break;
    }
  }
  return text;
}

}  // namespace utltest
