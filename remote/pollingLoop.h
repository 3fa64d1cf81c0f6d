// What the polling loop (TandorRemote::Run) paces itself by, and the host
// window it follows with the card's sound.
#pragma once

#include <windows.h>

// The pause between readings until the first key is read.
const DWORD kFirstPollDelayMs = 20;
// The pause before each switch of the sound, after the log line about it.
const DWORD kSoundSwitchPauseMs = 500;

// The host application's main window.
const char kHostWindowClass[] = "MiraboMainWindow";
const char kHostWindowTitle[] = "Mirabo";

// Whether the host's main window exists in this process.
bool IsHostWindowPresent();
