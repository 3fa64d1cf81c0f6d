#include "frame_reference.h"

namespace {

const int kBitsPerByte = 8;

// The reference master's lines as it left them.
struct Master {
  LineWork work;
  bool holdsSdaLow = false;

  void SetSda(bool high) {
    ++work.settings;
    holdsSdaLow = !high;
  }
  void SclHigh() {
    ++work.settings;
    ++work.sclReleases;
  }
  void SclLow() { ++work.settings; }
  void SampleSda() { ++work.samples; }
};

void Start(Master& master) {
  master.SetSda(false);
  master.SclLow();
}

void ByteOut(Master& master) {
  for (int bit = 0; bit < kBitsPerByte; ++bit) {
    master.SetSda(true);  // the bit's level; one setting either way
    master.SclHigh();
    master.SclLow();
  }
  master.SetSda(true);  // released for the device's acknowledge
  master.SclHigh();
  master.SampleSda();
  master.SclLow();
}

void ByteIn(Master& master, bool acknowledge) {
  for (int bit = 0; bit < kBitsPerByte; ++bit) {
    master.SclHigh();
    master.SampleSda();
    master.SclLow();
  }
  if (acknowledge) master.SetSda(false);
  master.SclHigh();
  master.SclLow();
}

void Stop(Master& master) {
  if (!master.holdsSdaLow) master.SetSda(false);
  master.SclHigh();
  master.SetSda(true);
}

}  // namespace

LineWork LeastLineWork(const std::vector<FrameStep>& frame) {
  Master master;
  for (FrameStep step : frame) {
    switch (step) {
      case kFrameStart:
        Start(master);
        break;
      case kFrameByteOut:
        ByteOut(master);
        break;
      case kFrameByteInAck:
        ByteIn(master, true);
        break;
      case kFrameByteInNoAck:
        ByteIn(master, false);
        break;
      case kFrameStop:
        Stop(master);
        break;
    }
  }
  return master.work;
}

std::vector<FrameStep> ReadByteFrame() {
  return {kFrameStart, kFrameByteOut, kFrameByteInAck, kFrameStop};
}

std::vector<FrameStep> Write3Frame() {
  return {kFrameStart, kFrameByteOut, kFrameByteOut, kFrameByteOut, kFrameStop};
}
