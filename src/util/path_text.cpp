#include "util/path_text.h"

namespace {

template <typename View>
bool isRelativeImpl(View path) {
  using Char = typename View::value_type;
  if (path.size() < 3) return true;
  if (path[0] == Char('"')) {
    if (path.size() < 4) return true;
    path = path.substr(1);
  }
  if (path[1] == Char(':') && path[2] == Char('\\')) return false;
  if (path[0] == Char('\\') && path[1] == Char('\\')) return false;
  return true;
}

}  // namespace

bool isRelativePath(std::string_view path) { return isRelativeImpl(path); }
bool isRelativePathWide(WStringView path) { return isRelativeImpl(path); }

void collapseBackslashesWide(WString& path) {
  if (path.empty()) return;
  std::size_t kept = 1;  // the first character always stays
  for (std::size_t i = 1; i < path.size(); ++i) {
    const char16_t c = path[i];
    if (c == u'\\' && path[kept - 1] == u'\\' && kept - 1 != 0) continue;
    path[kept++] = c;
  }
  path.resize(kept);
}

bool isDriveRootSpelling(WStringView path) {
  if (path.size() < 2) return false;
  WStringView rest = path.substr(1);
  return rest == u":\\" || rest == u":\\." || rest == u":\\.\\.";
}
