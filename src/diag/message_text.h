// Composition of the texts shown to the user.
#pragma once

#include "util/text.h"

#include <optional>

// Composed messages hold at most this many units.
inline constexpr std::size_t kMessageCapacity = 6000;

// The first "{0}" of text replaced by the argument; without an argument, or when
// the text has none, the text unchanged. Cut to the message capacity.
WString substituteFirstPlaceholder(WStringView text, std::optional<WStringView> argument);

// text, two line breaks, "Log: " and the log path; the text alone without a log.
WString appendLogPath(WStringView text, std::optional<WStringView> logPath);
