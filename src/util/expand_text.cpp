#include "util/expand_text.h"

#include "diag/log.h"

namespace {

constexpr std::array<LauncherVariable, 21> kLauncherVariables = {{
    {"%WRENLET_EXEDIR%", LauncherValue::ExecutableDirectory},
    {"%KESTREL_EXEDIR%", LauncherValue::ExecutableDirectory},
    {"%WRENLET_TEMPDIR%", LauncherValue::LauncherTempDirectory},
    {"%KESTREL_TEMPDIR%", LauncherValue::LauncherTempDirectory},
    {"%WRENLET_PATHLIST_SEPARATOR%", LauncherValue::PathListSeparator},
    {"%KESTREL_PATHLIST_SEPARATOR%", LauncherValue::PathListSeparator},
    {"%WRENLET_JVM_HOME%", LauncherValue::RuntimeHome},
    {"%KESTREL_JVM_HOME%", LauncherValue::RuntimeHome},
    {"${WRENLET_EXEDIR}", LauncherValue::ExecutableDirectory},
    {"${KESTREL_EXEDIR}", LauncherValue::ExecutableDirectory},
    {"${WRENLET_TEMPDIR}", LauncherValue::LauncherTempDirectory},
    {"${KESTREL_TEMPDIR}", LauncherValue::LauncherTempDirectory},
    {"${WRENLET_PATHLIST_SEPARATOR}", LauncherValue::PathListSeparator},
    {"${KESTREL_PATHLIST_SEPARATOR}", LauncherValue::PathListSeparator},
    {"${WRENLET_JVM_HOME}", LauncherValue::RuntimeHome},
    {"${KESTREL_JVM_HOME}", LauncherValue::RuntimeHome},
    {"${launcher:sys.launcherDirectory}", LauncherValue::ExecutableDirectory},
    {"${launcher:sys.launcherTempDirectory}", LauncherValue::LauncherTempDirectory},
    {"${launcher:sys.pathlistSeparator}", LauncherValue::PathListSeparator},
    {"${launcher:sys.jvmHome}", LauncherValue::RuntimeHome},
    {"${launcher:sys.tempDir}", LauncherValue::UserTempFolder},
}};

// The pass shared by the three forms. insert(text, at, nameLength) puts the value
// in place of the name and returns the inserted length; logLine(text) writes the
// progress line.
template <typename String, typename View, typename Insert, typename LogLine>
int replacePass(String& text, View name, std::size_t cap, Insert insert, LogLine logLine) {
  truncateToCapacity(text, cap);
  if (name.empty()) return 0;
  int count = 0;
  std::size_t at = text.find(name);
  while (at != String::npos) {
    const std::size_t inserted = insert(text, at, name.size());
    truncateToCapacity(text, cap);  // growth beyond the caller's buffer is cut
    ++count;
    logLine(text);
    const std::size_t next = at + inserted;
    if (next >= text.size()) break;
    at = text.find(name, next);
  }
  return count;
}

std::string asciiUpper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

WString asciiUpper(WString text) {
  asciiUpperInPlace(text);
  return text;
}

template <typename Char>
std::basic_string<Char> braced(std::basic_string_view<Char> name) {
  std::basic_string<Char> key;
  key.reserve(name.size() + 3);
  key.push_back(Char('$'));
  key.push_back(Char('{'));
  key.append(name);
  key.push_back(Char('}'));
  return key;
}

// ${NAME} as the block writes it, then in capitals (once when that is the same key,
// so that a value holding its own reference is inserted once).
template <typename String, typename Replace>
void expandEnvironment(String& text, const std::vector<String>& environment, Replace replace) {
  using Char = typename String::value_type;
  using View = std::basic_string_view<Char>;
  for (const String& entry : environment) {
    const std::size_t eq = entry.find(Char('='));
    if (eq == String::npos) continue;
    const View view(entry);
    const View value = view.substr(eq + 1);
    const String key = braced<Char>(view.substr(0, eq));
    replace(text, View(key), value);
    const String upper = asciiUpper(key);
    if (upper != key) replace(text, View(upper), value);
  }
}

template <typename Char>
std::vector<std::basic_string<Char>> blockEntries(const Char* block) {
  std::vector<std::basic_string<Char>> entries;
  if (block == nullptr) return entries;
  for (const Char* p = block; *p != Char(0);) {
    std::basic_string_view<Char> entry(p);
    entries.emplace_back(entry);
    p += entry.size() + 1;
  }
  return entries;
}

}  // namespace

const std::array<LauncherVariable, 21>& launcherVariables() { return kLauncherVariables; }

int replaceVariableWide(WString& text, WStringView name, WStringView value, std::size_t cap) {
  const WString nameText(name), valueText(value);
  return replacePass(
      text, name, cap,
      [&](WString& t, std::size_t at, std::size_t length) {
        t.replace(at, length, value);
        return value.size();
      },
      [&](const WString& t) {
        logMessage(u"expanding2 %s to %s in %s.", nameText.c_str(), valueText.c_str(), t.c_str());
      });
}

int replaceVariableWide(WString& text, WStringView name, std::string_view narrowValue,
                        std::size_t cap) {
  const WString nameText(name), widened = widenBytewise(narrowValue);
  const std::string valueText(narrowValue);
  return replacePass(
      text, name, cap,
      [&](WString& t, std::size_t at, std::size_t length) {
        t.replace(at, length, widened);
        return widened.size();
      },
      [&](const WString& t) {
        logMessage(u"expanding2 %s to %S in %s.", nameText.c_str(), valueText.c_str(), t.c_str());
      });
}

int replaceVariable(std::string& text, std::string_view name, std::string_view value,
                    std::size_t cap) {
  const std::string nameText(name), valueText(value);
  return replacePass(
      text, name, cap,
      [&](std::string& t, std::size_t at, std::size_t length) {
        t.replace(at, length, value);
        return value.size();
      },
      [&](const std::string& t) {
        logMessage(u"expanding2 %S to %S in %S.", nameText.c_str(), valueText.c_str(), t.c_str());
      });
}

void expandTextWide(WString& text, const WideVariableValues& values,
                    const std::vector<WString>& environment, std::size_t cap) {
  for (const LauncherVariable& variable : kLauncherVariables) {
    const WString name = widenBytewise(variable.name);
    switch (variable.value) {
      case LauncherValue::ExecutableDirectory:
        replaceVariableWide(text, name, WStringView(values.executableDirectory), cap);
        break;
      case LauncherValue::LauncherTempDirectory:
        replaceVariableWide(text, name, std::string_view(values.launcherTempDirectory), cap);
        break;
      case LauncherValue::PathListSeparator:
        replaceVariableWide(text, name, WStringView(u";"), cap);
        break;
      case LauncherValue::RuntimeHome:
        replaceVariableWide(text, name, std::string_view(values.runtimeHome), cap);
        break;
      case LauncherValue::UserTempFolder:
        replaceVariableWide(text, name, WStringView(values.userTempFolder), cap);
        break;
    }
  }
  expandEnvironment(text, environment, [&](WString& t, WStringView key, WStringView value) {
    replaceVariableWide(t, key, value, cap);
  });
}

void expandText(std::string& text, const NarrowVariableValues& values,
                const std::vector<std::string>& environment, std::size_t cap) {
  for (const LauncherVariable& variable : kLauncherVariables) {
    std::string_view value;
    switch (variable.value) {
      case LauncherValue::ExecutableDirectory:
        value = values.executableDirectory;
        break;
      case LauncherValue::LauncherTempDirectory:
        value = values.launcherTempDirectory;
        break;
      case LauncherValue::PathListSeparator:
        value = ";";
        break;
      case LauncherValue::RuntimeHome:
        value = values.runtimeHome;
        break;
      case LauncherValue::UserTempFolder:
        value = values.userTempFolder;
        break;
    }
    replaceVariable(text, variable.name, value, cap);
  }
  expandEnvironment(text, environment,
                    [&](std::string& t, std::string_view key, std::string_view value) {
                      replaceVariable(t, key, value, cap);
                    });
}

std::vector<WString> environmentEntries(const char16_t* block) { return blockEntries(block); }
std::vector<std::string> environmentEntries(const char* block) { return blockEntries(block); }
