#include "jre/search_sequence.h"

#include "payload/config_items.h"
#include "util/text.h"

std::vector<SearchEntry> parseSearchSequence(std::string_view sequence) {
  std::vector<SearchEntry> entries;
  for (const std::string& piece : splitNonEmpty(sequence, ';'))
    entries.push_back({piece[0], piece.substr(1)});
  return entries;
}

bool isAbsoluteSearchText(std::string_view text) {
  return text.size() >= 2 && (text[1] == ':' || (text[0] == '\\' && text[1] == '\\'));
}

bool fallbackTakesEntry(const SearchEntry& entry) {
  switch (entry.type) {
    case 'B': return true;
    case 'A':
    case 'R': return !isAbsoluteSearchText(entry.text);
    default: return false;
  }
}

std::vector<FailureMessage> loadFailureMessages(RuntimeOrigin origin) {
  using A = FailureMessage::Argument;
  switch (origin) {
    case RuntimeOrigin::ExecutableSearchPath:
      return {{kMsgNoRuntime, A::Code64},
              {kMsgRuntimeSourceFailed, A::Location},
              {kMsgRuntimeLocationFailed, A::Location},
              {kMsgLaunchFailed, A::None}};
    case RuntimeOrigin::Directory:
      return {{kMsgRuntimeLocationFailed, A::Location}, {kMsgLaunchFailed, A::None}};
    case RuntimeOrigin::EnvironmentVariable:
      return {{kMsgRuntimeSourceFailed, A::Location},
              {kMsgRuntimeLocationFailed, A::Location},
              {kMsgLaunchFailed, A::None}};
    case RuntimeOrigin::Registry:
      return {{kMsgLaunchFailed, A::None}};
    case RuntimeOrigin::None:
      break;
  }
  return {{kMsgNoRuntime, A::Code64}};
}
