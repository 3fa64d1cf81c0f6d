// The check tool's exit statuses, one for each kind of failure, in the
// order in which a whole check meets them.
#pragma once

enum CheckStatus {
  kAllWorked = 0,
  kUnsupportedWindows = 1,
  kBadArguments = 2,
  kMiraboRunning = 3,
  kBackendNotFound = 4,
  kBackendRefused = 5,
  kBackendIncomplete = 6,
  kReceiverSilent = 7,
};
