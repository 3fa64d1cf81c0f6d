// The commands: the whole check and the single ones, each on a prepared
// bus, and the help text.

#include "commands.h"

#include "backendCheck.h"
#include "busBackend.h"
#include "busCheck.h"
#include "keyTest.h"
#include "output.h"

namespace {

// The back end bound for the life of the object, when PrepareBus got that
// far; released as the polling loop releases it.
class PreparedBus {
 public:
  explicit PreparedBus(TextOutput& out) : status_(PrepareBus(out)) {}
  ~PreparedBus() {
    if (status_ == kAllWorked) ReleaseBusBackend();
  }
  PreparedBus(const PreparedBus&) = delete;
  PreparedBus& operator=(const PreparedBus&) = delete;
  CheckStatus status() const { return status_; }

 private:
  CheckStatus status_;
};

CheckStatus WholeCheck(TextOutput& out, DWORD keySeconds) {
  PreparedBus bus(out);
  if (bus.status() != kAllWorked) return bus.status();
  ReportEntryFlag(out);
  // Where the back end cannot scan, a scan would only read the receiver, as
  // the next step does.
  if (BackendCanScan()) {
    CheckStatus scanned = ScanBus(out);
    if (scanned != kAllWorked) return scanned;
  }
  CheckStatus status = CheckReceiver(out);
  if (status != kAllWorked) return status;
  return RunKeyTest(out, keySeconds);
}

void PrintVerdict(TextOutput& out, CheckStatus status) {
  if (status == kAllWorked) {
    Print(out, "\nEverything checked works.\n");
  } else {
    Print(out, "\nThe check stopped at the step above (exit status %d).\n",
          status);
  }
}

// One of the commands that work on the bus, once it is prepared.
CheckStatus RunOnBus(TextOutput& out, const Command& command) {
  PreparedBus bus(out);
  if (bus.status() != kAllWorked) return bus.status();
  switch (command.kind) {
    case kScan:
      return ScanBus(out);
    case kKeys:
      return RunKeyTest(out, command.seconds);
    case kSoundOn:
      return SwitchSound(out, true);
    case kSoundOff:
      return SwitchSound(out, false);
    case kWholeCheck:
    case kHelp:
      break;  // not bus commands
  }
  return kBadArguments;
}

}  // namespace

CheckStatus RunCommand(TextOutput& out, const Command& command) {
  switch (command.kind) {
    case kHelp:
      PrintHelp(out);
      return kAllWorked;
    case kWholeCheck: {
      Print(out, "Tandor remote control check %s\n\n", TANDOR_VERSION);
      CheckStatus status = WholeCheck(out, command.seconds);
      PrintVerdict(out, status);
      return status;
    }
    case kScan:
    case kKeys:
    case kSoundOn:
    case kSoundOff:
      return RunOnBus(out, command);
  }
  return kBadArguments;
}

// The numbers in the help come from the constants they describe, so that
// the text cannot drift from what the tool does.
void PrintHelp(TextOutput& out) {
  Print(
      out,
      "tandorcheck: checks the Tandor remote control for Mirabo on this\n"
      "machine. Copy it into Mirabo's folder, where TandorUtl.dll lies,\n"
      "close Mirabo, and run it there.\n"
      "\n"
      "  tandorcheck            the whole check: the Windows version and the\n"
      "                         bus back end, loading the back end, the\n"
      "                         entry flag, a bus scan, the receiver, and a\n"
      "                         key test of %u seconds; then waits for Enter\n"
      "  tandorcheck scan       lists the devices that answer on the card's\n"
      "                         I2C bus (reads only; on Windows 2000/XP only\n"
      "                         the receiver is read)\n"
      "  tandorcheck keys [SECONDS]\n"
      "                         prints each key of the remote as it is\n"
      "                         pressed, for SECONDS seconds (default %u, at\n"
      "                         most %u)\n"
      "  tandorcheck sound on   switches the card's sound on, as the plug-in\n"
      "                         does\n"
      "  tandorcheck sound off  switches the card's sound off\n"
      "  tandorcheck --help     this text\n"
      "\n"
      "It writes no log and never changes mirabo.ini.\n"
      "\n",
      static_cast<unsigned>(kWholeCheckKeySeconds),
      static_cast<unsigned>(kDefaultKeySeconds),
      static_cast<unsigned>(kLongestKeySeconds));
  Print(out,
        "Exit status:\n"
        "  %d  everything checked worked\n"
        "  %d  this Windows version is not supported (NT 4, Vista or later)\n"
        "  %d  bad arguments\n"
        "  %d  Mirabo is running: close it first\n"
        "  %d  the bus back end (TandorUtl.dll, or wdmI2cDll.dll on Windows\n"
        "     2000/XP) was not found\n"
        "  %d  the bus back end refused to load (the card's driver is missing\n"
        "     or too old, or the card was not found)\n"
        "  %d  the bus back end lacks a function (another version)\n"
        "  %d  the remote receiver does not answer\n",
        kAllWorked, kUnsupportedWindows, kBadArguments, kMiraboRunning,
        kBackendNotFound, kBackendRefused, kBackendIncomplete, kReceiverSilent);
}
