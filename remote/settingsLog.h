// The plug-in's five settings and its log. Every log call first reads all
// five settings again from ".\mirabo.ini", so an edited settings file takes
// effect at the next message, and then appends the message to
// "MiraboRemote.log" when logging is on.
#pragma once

// printf-style message ("%d" and "%s"); never fails towards the caller.
void LogMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The settings as the last log call read them (1000, 100 and off before
// the first call). The delays are returned as read, negative values too.
int KeyFirstDelay();
int KeyRepeatDelay();
bool LeaveSoundOnExit();
