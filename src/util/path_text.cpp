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

void collapseBackslashesWide(WString &path) {
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

namespace {

template <typename String, typename View>
String placeRelativeImpl(View base, View path) {
  String out;
  if (isRelativeImpl(path)) {
    out.reserve(base.size() + path.size());
    out.append(base);
  }
  out.append(path);
  return out;
}

}  // namespace

std::string placeRelative(std::string_view base, std::string_view path) {
  return placeRelativeImpl<std::string>(base, path);
}

WString placeRelativeWide(WStringView base, WStringView path) {
  return placeRelativeImpl<WString>(base, path);
}

std::vector<std::string> splitPathList(std::string_view list) { return splitNonEmpty(list, ';'); }

std::string joinPathList(const std::vector<std::string> &elements) {
  std::string out;
  for (std::size_t i = 0; i < elements.size(); ++i) {
    if (i != 0) out.push_back(';');
    out += elements[i];
  }
  return out;
}
