// The 4096-byte region "dllmemfilemap" that every process with the library
// loaded shares, and this process's mapping of it.
#pragma once

#include <windows.h>

enum RegionOpening {
  kRegionFailed,   // no mapping object could be created or opened
  kRegionCreated,  // this process created it: it is new and must be zeroed
  kRegionOpened,   // another process had created it: its contents stand
};

// Creates the mapping object or opens the existing one and keeps its handle.
RegionOpening OpenSharedRegion();
// Maps the whole region for writing and keeps the view; false on failure.
bool MapSharedRegion();
void ZeroSharedRegion();
// Unmaps the view and closes the handle, each only if this process holds
// it; safe to call in any state and more than once.
void ReleaseSharedRegion();

// The mapped view; only valid between a successful MapSharedRegion and
// ReleaseSharedRegion.
volatile LONG* SharedRegionWords();
