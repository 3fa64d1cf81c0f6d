#include "sim_fixture.h"

#include <stdio.h>

#include "harness.h"

namespace simtest {

using harness::Records;

HMODULE SimTest::Driver() {
  // Loaded once and kept for the life of the test program.
  static HMODULE driver = harness::LoadSimDriver();
  return driver;
}

void SimTest::SetUp() {
  ASSERT_NE(Driver(), nullptr) << "BtVid_32.Dll did not load";
  sim_ = Export<SimGetControlFn>(Driver(), "SimGetControl")();
  ASSERT_NE(sim_, nullptr);
  sim_->Reset();
}

std::vector<SimBusEvent> SimTest::BusEvents() const {
  return Records(sim_->GetBusEvents);
}
std::vector<SimCall> SimTest::Calls() const {
  return Records(sim_->GetCalls);
}
std::vector<SimSoundWrite> SimTest::SoundWrites() const {
  return Records(sim_->GetSoundWrites);
}
std::vector<SimKeyRead> SimTest::KeyReads() const {
  return Records(sim_->GetKeyReads);
}

std::string SimTest::Frame() const {
  std::string frame;
  for (const SimBusEvent& event : BusEvents()) {
    if (!frame.empty()) frame += ' ';
    char byte[8];
    const char ack = event.ack == 1 ? '+' : event.ack == 0 ? '-' : '!';
    switch (event.type) {
      case SIM_EVENT_START:
        frame += 'S';
        break;
      case SIM_EVENT_STOP:
        frame += 'P';
        break;
      case SIM_EVENT_BYTE_OUT:
        snprintf(byte, sizeof byte, ">%02X%c", event.value, ack);
        frame += byte;
        break;
      case SIM_EVENT_BYTE_IN:
        snprintf(byte, sizeof byte, "<%02X%c", event.value, ack);
        frame += byte;
        break;
      default:
        frame += '?';
    }
  }
  return frame;
}

int SimTest::AddFault(int kind, int value, int first, int count, int call,
                      int level) {
  const SimFault fault = {kind, first, count, call, level, value};
  return sim_->AddFault(&fault);
}

}  // namespace simtest
