#include "options.h"

#include <algorithm>

namespace {

// The value of an option that takes one, from the argument after it.
bool TakeValue(const std::vector<std::string>& args, size_t* i,
               std::string* value, std::string* error) {
  if (*i + 1 >= args.size()) {
    *error = args[*i] + " needs a value";
    return false;
  }
  *value = args[++*i];
  return true;
}

}  // namespace

bool ParseOptions(const std::vector<std::string>& args, HostOptions* options,
                  std::string* error) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::string value;
    if (arg == "--help" || arg == "-h" || arg == "/?") {
      options->help = true;
    } else if (arg == "--answer-boxes") {
      options->answerBoxes = true;
    } else if (arg == "--show-log") {
      options->showLog = true;
    } else if (arg == "--window") {
      if (!TakeValue(args, &i, &value, error)) return false;
      if (!ParseWindowSchedule(value, &options->window, error)) {
        *error = "--window: " + *error;
        return false;
      }
    } else if (arg == "--keys") {
      if (!TakeValue(args, &i, &options->keysText, error)) return false;
      if (!ParseKeyScript(options->keysText, &options->keys, error)) {
        *error = "--keys: " + *error;
        return false;
      }
    } else if (arg == "--keys-file") {
      if (!TakeValue(args, &i, &options->keysFile, error)) return false;
    } else if (arg == "--run") {
      if (!TakeValue(args, &i, &value, error)) return false;
      if (!ParseMs(value, 999999999, &options->runMs)) {
        *error = "--run: \"" + value + "\" is not a number of milliseconds";
        return false;
      }
    } else if (arg == "--vcd") {
      if (!TakeValue(args, &i, &options->vcdPath, error)) return false;
    } else {
      *error = "unknown option \"" + arg + "\" (see --help)";
      return false;
    }
  }
  if (!options->keysText.empty() && !options->keysFile.empty()) {
    *error = "--keys and --keys-file exclude each other";
    return false;
  }
  return true;
}

int RunLengthMs(const HostOptions& options) {
  if (options.runMs >= 0) return options.runMs;
  int last = 0;
  if (!options.window.empty()) last = options.window.back().atMs;
  if (!options.keys.empty()) last = std::max(last, options.keys.back().atMs);
  return std::max(3000, last + 2000);
}

const char* UsageText() {
  return R"(Usage: host [options]

A stand-in for the Mirabo TV application. Loads tandor.dll by name, creates
the remote-control plug-in through "_GetInterfacePtr@0", starts it with its
own key event sink and host object, owns Mirabo's main window (class
"MiraboMainWindow", title "Mirabo"), prints every key event and, with the
simulated card, every sound switch as it happens, then stops and releases
the plug-in and reports the reference counts of its two objects.

Options:
  --window SCHEDULE  open and close the main window: open@MS,close@MS,...
                     (default open@0; "none": never open it)
  --keys SCRIPT      key presses on the simulated card: MS:CODE,... from MS on
                     the receiver reports CODE (0..255, 0x-hex too); -1
                     releases the key; e.g. 500:1,700:-1,900:27,2500:-1
  --keys-file FILE   the key script from a file: MS:CODE entries separated by
                     commas, blanks or lines; '#' starts a comment
  --run MS           stop the plug-in MS milliseconds after starting it
                     (default: 2000 after the last scheduled event, at least
                     3000; 0: run until Ctrl+C)
  --vcd FILE         write the simulated bus lines to FILE (VCD) at the end
  --answer-boxes     answer every message box with its default button at
                     once and print its caption, icon, owner and text
  --show-log         print MiraboRemote.log at the end (a plug-in that ends
                     the process ends it before that)
  --help             this text

Times count from the moment the plug-in is started. The settings file
mirabo.ini and the log MiraboRemote.log are those of the current folder.
--keys, --keys-file, --vcd and the sound lines need the simulated card (its
BtVid_32.Dll); with a real card they say they are unavailable.

Exit status: 0 a clean run; 1 the plug-in ended the process; 2 bad options;
3 the plug-in could not be loaded, created or started; 4 the plug-in's
references were not given back.
)";
}
