// The text side of variable expansion: the launcher variables and their order,
// one replacement pass, the walk over the environment block. The values come from
// expand_win.cpp; everything here is plain text work.
#pragma once

#include "util/text.h"

#include <array>
#include <vector>

// What a launcher variable stands for.
enum class LauncherValue {
  ExecutableDirectory,
  LauncherTempDirectory,
  PathListSeparator,
  RuntimeHome,
  UserTempFolder,
};

struct LauncherVariable {
  const char* name;
  LauncherValue value;
};

// The launcher variables in the order in which they are replaced; environment
// variables (${NAME}) follow them.
const std::array<LauncherVariable, 21>& launcherVariables();

// One replacement pass: every occurrence of name (case-sensitive) is replaced by
// value, and the line "expanding2 <name> to <value> in <text>." is logged for each.
// The search goes on right after the inserted value, so inserted text is never
// searched again in the same pass. The text is kept within cap units (cap - 1
// characters, as a buffer of cap units with its terminator): longer results are
// cut. Returns the number of replacements.
int replaceVariableWide(WString& text, WStringView name, WStringView value,
                        std::size_t cap = kTextCapacity);
// The same with an 8-bit value, inserted byte by byte widened.
int replaceVariableWide(WString& text, WStringView name, std::string_view narrowValue,
                        std::size_t cap = kTextCapacity);
int replaceVariable(std::string& text, std::string_view name, std::string_view value,
                    std::size_t cap = kTextCapacity);

// The values of the launcher variables for UTF-16 text.
struct WideVariableValues {
  WString executableDirectory;
  std::string launcherTempDirectory;  // 8-bit
  std::string runtimeHome;            // 8-bit
  WString userTempFolder;
};

// The values for 8-bit text.
struct NarrowVariableValues {
  std::string executableDirectory;
  std::string launcherTempDirectory;
  std::string runtimeHome;
  std::string userTempFolder;
};

// The launcher variables in table order, then for each environment entry
// ("NAME=value", in block order; entries without "=" are skipped) ${NAME} as
// written and ${NAME} in capitals.
void expandTextWide(WString& text, const WideVariableValues& values,
                    const std::vector<WString>& environment, std::size_t cap = kTextCapacity);
void expandText(std::string& text, const NarrowVariableValues& values,
                const std::vector<std::string>& environment, std::size_t cap = kTextCapacity);

// The entries of an environment block (NUL-terminated strings ending with an
// empty one). A null block has none.
std::vector<WString> environmentEntries(const char16_t* block);
std::vector<std::string> environmentEntries(const char* block);
