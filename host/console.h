// The host's report on standard output. Lines come from the host's thread
// and from the plug-in's worker thread (key events); each is written whole
// and flushed at once, because the plug-in may end the process at any
// moment (its fatal paths call exit).
#pragma once

#include <string>

// Milliseconds since the session began (the moment the plug-in is started).
class SessionClock {
 public:
  void Start();
  long NowMs() const;

 private:
  long long origin_ = 0;
  long long frequency_ = 1;
};

namespace console {

// Standard output in binary mode, so that lines end in a bare line feed
// whatever the output is connected to. Called before any line.
void Init();
// "host: <text>", for what happens outside the session's time line.
void Note(const char* format, ...) __attribute__((format(printf, 1, 2)));
// "<ms> ms  <text>", one event of the session.
void Event(long ms, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
// Text as it stands.
void Raw(const std::string& text);

}  // namespace console
