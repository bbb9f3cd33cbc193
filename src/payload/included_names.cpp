#include "payload/included_names.h"

#include <algorithm>
#include <array>

#include "util/text.h"

namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

char asciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// "..", "...", ". .", ".. " and the like; a single "." (optionally with blanks)
// stays in the folder it names.
bool isDotSegment(std::string_view segment) {
  if (segment.empty()) return false;
  int dots = 0;
  for (char c : segment) {
    if (c == '.') {
      ++dots;
    } else if (c != ' ') {
      return false;
    }
  }
  return dots >= 2;
}

// Windows maps these names to devices in every folder, whatever their extension
// and trailing blanks.
bool isDeviceSegment(std::string_view segment) {
  std::string_view base = segment.substr(0, segment.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  std::string upper(base);
  std::transform(upper.begin(), upper.end(), upper.begin(), asciiUpper);
  static constexpr std::array<std::string_view, 6> kPlain = {"CON", "PRN",    "AUX",
                                                             "NUL", "CONIN$", "CONOUT$"};
  if (std::find(kPlain.begin(), kPlain.end(), upper) != kPlain.end()) return true;
  if (upper.size() == 4 && (upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0))
    return upper[3] >= '1' && upper[3] <= '9';
  return false;
}

}  // namespace

std::vector<std::string> splitIncludedNames(std::string_view list) {
  return splitNonEmpty(list, ';');
}

std::optional<std::string> firstFolderOfName(std::string_view name) {
  const std::size_t cut = name.find('\\');
  if (cut == std::string_view::npos) return std::nullopt;
  return std::string(name.substr(0, cut));
}

bool isSafeIncludedName(std::string_view name) {
  if (name.empty() || isSeparator(name.front())) return false;
  // A NUL would cut the name short where the system reads it, after the check.
  if (name.find_first_of(std::string_view(":\0", 2)) != std::string_view::npos) return false;
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = start;
    while (end < name.size() && !isSeparator(name[end])) ++end;
    const std::string_view segment = name.substr(start, end - start);
    if (isDotSegment(segment) || isDeviceSegment(segment)) return false;
    start = end + 1;
  }
  return true;
}
