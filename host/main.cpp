// The stand-in host: Mirabo's side of the plug-in contract, for the demo,
// the system tests and trying the plug-in on a real card. See --help.
#include <windows.h>
#include <stdio.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "harness.h"
#include "session.h"

namespace {

enum ExitStatus {
  kClean = 0,
  // 1 is the plug-in's own exit status when it ends the process.
  kBadOptions = 2,
  kPluginFailed = 3,
  kReferencesKept = 4,
};

bool LoadKeysFile(HostOptions* options, std::string* error) {
  if (options->keysFile.empty()) return true;
  std::string text;
  if (!harness::ReadText(options->keysFile, &text)) {
    *error = "--keys-file: cannot read " + options->keysFile;
    return false;
  }
  if (!ParseKeyScript(text, &options->keys, error)) {
    *error = "--keys-file " + options->keysFile + ": " + *error;
    return false;
  }
  return true;
}

void NoteWindowsVersion() {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExA(&version)) return;
  console::Note("Windows reports platform %lu, version %lu.%lu, build %lu, %s",
                version.dwPlatformId, version.dwMajorVersion,
                version.dwMinorVersion, version.dwBuildNumber & 0xFFFF,
                harness::Quoted(version.szCSDVersion).c_str());
}

void NoteBackEnd() {
  for (const char* name : {"tandorutl.dll", "wdmI2cDll.dll"}) {
    if (HMODULE module = GetModuleHandleA(name))
      console::Note("back end loaded: %s", harness::ModulePath(module).c_str());
  }
}

// Asks for the plug-in's interface as a host may, and keeps the reference.
IRemoteDevice* QueryDevice(IRemoteDevice* created) {
  void* queried = nullptr;
  HRESULT result = created->QueryInterface(IID_IRemoteDevice, &queried);
  console::Note("QueryInterface(IRemoteDevice) -> %s%s", ResultName(result),
                result != S_OK       ? ""
                : queried == created ? ", the same object"
                                     : ", ANOTHER object");
  return result == S_OK ? static_cast<IRemoteDevice*>(queried) : nullptr;
}

// Says which of the requested simulated-card features cannot be had.
void NoteSimUnavailable(const HostOptions& options, const std::string& why) {
  console::Note("no simulated card (%s): no sound lines", why.c_str());
  if (!options.keys.empty())
    console::Note("--keys: unavailable without the simulated card");
  if (!options.vcdPath.empty())
    console::Note("--vcd: unavailable without the simulated card");
}

// Releases the host's references to the plug-in; true when the last one
// destroyed it.
bool ReleaseDevice(IRemoteDevice* created, IRemoteDevice* queried) {
  ULONG left = 0;
  if (queried) {
    left = queried->Release();
    console::Note("Release -> %lu", left);
  }
  left = created->Release();
  console::Note("Release -> %lu", left);
  return left == 0;
}

// The counts must be back at the host's own one reference each.
bool NoteReferencesAfterRelease(const HostObjects& objects) {
  bool back = objects.sinkTally.references == 1 &&
              objects.applicationTally.references == 1;
  console::Note(
      "references after the last Release: sink %ld, host %ld "
      "(1 each before Start): %s",
      objects.sinkTally.references, objects.applicationTally.references,
      back ? "back where they were" : "NOT BACK");
  return back;
}

// Prints the plug-in's log of the current folder, when asked for. A plug-in
// that ends the process in GetInterfacePtr (its fatal paths) ends it through
// the system at once, so nothing of the host runs after that; the host's
// line before the call shows where the run ended.
void PrintLog() {
  const char kLogName[] = "MiraboRemote.log";
  std::string text;
  if (!harness::ReadText(kLogName, &text)) {
    console::Note("there is no %s", kLogName);
    return;
  }
  console::Note("%s:", kLogName);
  // The plug-in writes its log in text mode, so lines end in CR LF on disk;
  // they are printed with bare line feeds, like the host's own.
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  if (!text.empty() && text.back() != '\n') text += '\n';
  console::Raw(text);
  console::Note("end of %s", kLogName);
}

int Run(const HostOptions& options) {
  NoteWindowsVersion();
  harness::PluginLibrary plugin;
  std::string why;
  if (!plugin.Load("tandor.dll", &why)) {
    console::Note("%s", why.c_str());
    return kPluginFailed;
  }
  console::Note("loaded %s", plugin.path().c_str());

  // The plug-in's fatal paths end the process in there.
  console::Note("calling GetInterfacePtr");
  IRemoteDevice* created = plugin.CreateObject();
  if (!created) {
    console::Note("GetInterfacePtr -> null");
    return kPluginFailed;
  }
  console::Note("GetInterfacePtr -> an object");
  NoteBackEnd();
  IRemoteDevice* device = QueryDevice(created);

  SimCardLink sim;
  if (sim.Attach(&why)) {
    console::Note("simulated card found");
  } else {
    NoteSimUnavailable(options, why);
  }

  SessionClock clock;
  HostObjects objects(clock);
  SessionOutcome outcome =
      RunSession(device ? device : created, &objects, options, &sim, &clock);
  bool destroyed = ReleaseDevice(created, device);
  bool referencesBack = NoteReferencesAfterRelease(objects);
  if (!options.vcdPath.empty() && sim.attached())
    console::Note(sim.WriteVcd(options.vcdPath)
                      ? "bus trace written to %s"
                      : "cannot write the bus trace to %s",
                  options.vcdPath.c_str());
  objects.ReleaseOwn();
  if (!outcome.started || !outcome.stopped) return kPluginFailed;
  return destroyed && referencesBack ? kClean : kReferencesKept;
}

}  // namespace

int main(int argc, char** argv) {
  console::Init();
  HostOptions options;
  std::string error;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (!ParseOptions(args, &options, &error) ||
      !LoadKeysFile(&options, &error)) {
    fprintf(stderr, "host: %s\n", error.c_str());
    return kBadOptions;
  }
  if (options.help) {
    fputs(UsageText(), stdout);
    return kClean;
  }
  // Each box is printed before it closes: the code that showed it may end
  // the process right after.
  std::unique_ptr<harness::BoxAnswerer> answerer;
  if (options.answerBoxes)
    answerer.reset(new harness::BoxAnswerer([](const harness::Box& box) {
      console::Note("%s", harness::Describe(box).c_str());
    }));
  int status = Run(options);
  if (options.showLog) PrintLog();
  return status;
}
