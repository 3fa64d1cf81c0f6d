// Splitting the command line into words and reading the command from them.

#include "commandLine.h"

namespace {

const int kMostWords = 3;
const int kWordSize = 16;

struct Words {
  int count = 0;
  char word[kMostWords][kWordSize];
  bool tooMany = false;
};

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

const char* SkipProgramName(const char* at) {
  if (*at == '"') {
    ++at;
    while (*at && *at != '"') ++at;
    if (*at) ++at;
  } else {
    while (*at && !IsBlank(*at)) ++at;
  }
  return at;
}

// The blank-separated words after the program's name; a word too long for
// its place is cut short, which no command word is.
Words SplitWords(const char* at) {
  Words words;
  at = SkipProgramName(at);
  for (;;) {
    while (IsBlank(*at)) ++at;
    if (!*at) return words;
    if (words.count == kMostWords) {
      words.tooMany = true;
      return words;
    }
    char* word = words.word[words.count++];
    int length = 0;
    while (*at && !IsBlank(*at)) {
      if (length + 1 < kWordSize) word[length++] = *at;
      ++at;
    }
    word[length] = '\0';
  }
}

bool Is(const char* word, const char* expected) {
  return lstrcmpiA(word, expected) == 0;
}

// A whole number of seconds from 1 to kLongestKeySeconds.
bool ParseSeconds(const char* word, DWORD* seconds) {
  DWORD value = 0;
  if (!*word) return false;
  for (; *word; ++word) {
    if (*word < '0' || *word > '9') return false;
    value = value * 10 + static_cast<DWORD>(*word - '0');
    if (value > kLongestKeySeconds) return false;
  }
  *seconds = value;
  return value > 0;
}

}  // namespace

bool ParseCommandLine(const char* commandLine, Command* command,
                      const char** error) {
  Words words = SplitWords(commandLine ? commandLine : "");
  *command = Command();
  *error = "too many arguments";
  if (words.tooMany) return false;
  if (words.count == 0) {
    command->seconds = kWholeCheckKeySeconds;
    return true;
  }
  const char* verb = words.word[0];
  if (Is(verb, "--help") || Is(verb, "-h") || Is(verb, "/?")) {
    command->kind = kHelp;
    return words.count == 1;
  }
  if (Is(verb, "scan")) {
    command->kind = kScan;
    return words.count == 1;
  }
  if (Is(verb, "keys")) {
    command->kind = kKeys;
    command->seconds = kDefaultKeySeconds;
    if (words.count == 1) return true;
    static_assert(kLongestKeySeconds == 3600, "the text below names it");
    *error = "the key test's length is a number of seconds from 1 to 3600";
    return words.count == 2 && ParseSeconds(words.word[1], &command->seconds);
  }
  if (Is(verb, "sound")) {
    *error = "say \"sound on\" or \"sound off\"";
    if (words.count != 2) return false;
    if (Is(words.word[1], "on")) {
      command->kind = kSoundOn;
      return true;
    }
    if (Is(words.word[1], "off")) {
      command->kind = kSoundOff;
      return true;
    }
    return false;
  }
  *error = "unknown command";
  return false;
}
