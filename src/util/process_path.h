// PATH of this process, kept alike in the operating system's environment and in
// the C runtime's copy of it. Handled in UTF-16, so that folders without an ANSI
// spelling survive a change.
#pragma once

#include "util/text.h"

#include <cstdint>
#include <optional>

// The whole current value; nothing when PATH is not set.
std::optional<WString> readProcessPath();

// Sets PATH (or removes it, for nothing) in both places. False when the operating
// system refused; error then holds its error code. The C runtime's copy is set
// either way.
bool writeProcessPath(const std::optional<WString>& value, std::uint32_t& error);
