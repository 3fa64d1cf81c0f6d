// The entry flag, the bus scan, the receiver and the sound switches.

#include "busCheck.h"

#include "backendCheck.h"
#include "busBackend.h"
#include "output.h"
#include "receiverAccess.h"

namespace {

// 7-bit addresses outside the ranges that I2C reserves.
const int kFirstAddress = 0x08;
const int kLastAddress = 0x77;

// One byte read from a device into `value` (set to 0 first, as the
// plug-in's reading does), in a bus turn; true when it acknowledged.
bool ReadDevice(int readAddress, int* value) {
  BusTurn turn;
  *value = 0;
  return TheBusBackend().readByte(readAddress, value) == 0;
}

void ReportReading(TextOutput& out, const ReceiverReading& reading) {
  if (reading.code == kReceiverNoKeyAnswer) {
    Print(out, "answers at 0x%02X/0x%02X, no key down (0x%02X)\n",
          kReceiverWriteAddress, kReceiverReadAddress, kReceiverNoKeyAnswer);
  } else {
    Print(out, "answers at 0x%02X/0x%02X, key code %d down\n",
          kReceiverWriteAddress, kReceiverReadAddress, reading.code);
  }
}

}  // namespace

bool BackendCanScan() {
  return TheBusBackend().description->drivesLines;
}

void ReportEntryFlag(TextOutput& out) {
  const BusBackend& backend = TheBusBackend();
  if (!backend.description->drivesLines) {
    PrintLabel(out, "Entry flag:");
    Print(out, "none (%s has none)\n", backend.description->fileName);
    return;
  }
  int flag = backend.getEntryFlag();
  PrintLabel(out, "Entry flag:");
  Print(out, "%d%s\n", flag,
        flag == 0 ? " (no program is on the bus)"
                  : " (a program is on the bus now, or ended while on"
                    " it)");
}

CheckStatus ScanBus(TextOutput& out) {
  if (!BackendCanScan()) {
    PrintLabel(out, "Bus scan:");
    Print(out,
          "%s reads one device at a time and cannot scan "
          "the" CHECK_MORE "bus; the receiver is read instead.\n",
          TheBusBackend().description->fileName);
    return CheckReceiver(out);
  }
  PrintLabel(out, "Bus scan:");
  Print(out, "0x%02X to 0x%02X, one byte read from each\n", kFirstAddress,
        kLastAddress);
  int devices = 0;
  bool receiverFound = false;
  for (int address = kFirstAddress; address <= kLastAddress; ++address) {
    int writeAddress = address << 1;
    int value;
    if (!ReadDevice(writeAddress | 1, &value)) continue;
    bool receiver = writeAddress == kReceiverWriteAddress;
    receiverFound = receiverFound || receiver;
    ++devices;
    PrintLabel(out, "");
    Print(out, "0x%02X/0x%02X  answers, read 0x%02X%s\n", writeAddress,
          writeAddress | 1, value & 0xFF,
          receiver ? "  the remote receiver" : "");
  }
  PrintLabel(out, "");
  Print(out, "%d device%s answer%s\n", devices, devices == 1 ? "" : "s",
        devices == 1 ? "s" : "");
  if (receiverFound) return kAllWorked;
  PrintLabel(out, "");
  Print(out,
        "the receiver (0x%02X/0x%02X) is not among them." CHECK_MORE
        "Check the receiver's cable to the card.\n",
        kReceiverWriteAddress, kReceiverReadAddress);
  return kReceiverSilent;
}

CheckStatus CheckReceiver(TextOutput& out) {
  ReceiverReading reading = ReadReceiver();
  PrintLabel(out, "Receiver:");
  if (reading.status == 0) {
    ReportReading(out, reading);
    return kAllWorked;
  }
  Print(out,
        "does not answer at 0x%02X/0x%02X." CHECK_MORE
        "Check the receiver's cable to the card.\n",
        kReceiverWriteAddress, kReceiverReadAddress);
  return kReceiverSilent;
}

CheckStatus SwitchSound(TextOutput& out, bool on) {
  bool written = on ? SoundOn() : SoundOff();
  PrintLabel(out, "Sound:");
  if (written) {
    Print(out, "switched %s\n", on ? "on" : "off");
    return kAllWorked;
  }
  Print(out,
        "not switched %s: the receiver (0x%02X) did not take the "
        "write." CHECK_MORE "Check the receiver's cable to the card.\n",
        on ? "on" : "off", kReceiverWriteAddress);
  return kReceiverSilent;
}
