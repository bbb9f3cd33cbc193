// The configured runtime search sequence: ";"-separated entries whose first
// character is a type letter (A, B, R directory; E environment variable; S the
// executable search path; Y installed runtimes) and whose rest is the entry's text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// How the current runtime candidate was found; runtime selection picks its error
// messages by it.
enum class RuntimeOrigin : int {
  None = 0,
  ExecutableSearchPath = 1,
  Directory = 2,
  EnvironmentVariable = 3,
  Registry = 4,
};

struct SearchEntry {
  char type;         // the first character, as written
  std::string text;  // the rest, unexpanded
};

// The entries in order; empty pieces are dropped.
std::vector<SearchEntry> parseSearchSequence(std::string_view sequence);

// True for a text that the fallback pass counts as absolute: a second character
// ":" or two leading backslashes.
bool isAbsoluteSearchText(std::string_view text);

// Whether the fallback pass (no version check) takes the entry.
bool fallbackTakesEntry(const SearchEntry& entry);

// Configuration messages shown when the chosen runtime could not be used, in order.
struct FailureMessage {
  int id;
  enum class Argument { None, Code64, Location } argument;
};
std::vector<FailureMessage> loadFailureMessages(RuntimeOrigin origin);
