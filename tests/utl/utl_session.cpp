#include "utl_session.h"

#include <stdio.h>

#include "driverApi.h"

namespace utltest {

harness::ProcessResult RunClient(const std::string& commands) {
  return harness::RunProcess(harness::ExeDir() + "utl_client.exe", commands,
                             harness::ExeDir(), 60000);
}

std::vector<std::string> Describe(const std::vector<harness::Box>& boxes) {
  std::vector<std::string> described;
  for (const harness::Box& box : boxes) described.push_back(Summary(box));
  return described;
}

bool DriverLoaded() {
  return GetModuleHandleA(DRIVER_LIBRARY_NAME) != nullptr;
}

std::vector<SimCall> Calls(const SimControl* card) {
  return harness::Records(card->GetCalls);
}

std::vector<SimBusEvent> BusEvents(const SimControl* card) {
  return harness::Records(card->GetBusEvents);
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
