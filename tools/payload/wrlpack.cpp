// wrlpack: appends a payload to a copy of the launcher executable.
//
//   wrlpack STUB OUTPUT [--item ID=VALUE]... [--message ID=TEXT]...
//           [--group NAME ID=TEXT [ID=TEXT]...]... [--file NAME=PATH]...
//
// --item adds an 8-bit item (the text as given), --message a UTF-16 message (the
// text taken as UTF-8), --group an override group for a locale code or prefix,
// --file an included file extracted under NAME (items 2002 and 2003 are set from
// the files unless given with --item).
#include "payload/payload_writer.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

bool splitPair(const std::string& text, std::string& key, std::string& value) {
  const auto eq = text.find('=');
  if (eq == std::string::npos) return false;
  key = text.substr(0, eq);
  value = text.substr(eq + 1);
  return true;
}

int usage() {
  std::fprintf(stderr,
               "usage: wrlpack STUB OUTPUT [--item ID=VALUE]... [--message ID=TEXT]...\n"
               "               [--group NAME ID=TEXT...]... [--file NAME=PATH]...\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return usage();
  payload::PayloadBuilder builder;
  std::string names;
  int fileCount = 0;
  bool explicitFileItems = false;
  payload::OverrideGroup* open = nullptr;
  std::vector<payload::OverrideGroup> groups;

  for (int i = 3; i < argc; ++i) {
    const std::string arg = argv[i];
    std::string key, value;
    if ((arg == "--item" || arg == "--message" || arg == "--file") && i + 1 < argc) {
      if (!splitPair(argv[++i], key, value)) return usage();
      open = nullptr;
      if (arg == "--item") {
        const int id = std::atoi(key.c_str());
        if (id == 2002 || id == 2003) explicitFileItems = true;
        builder.item(id, value);
      } else if (arg == "--message") {
        builder.message(std::atoi(key.c_str()), payload::utf16(value));
      } else {
        std::ifstream in(value, std::ios::binary);
        if (!in) {
          std::fprintf(stderr, "wrlpack: cannot read %s\n", value.c_str());
          return 1;
        }
        builder.file(std::string(std::istreambuf_iterator<char>(in), {}));
        names += (names.empty() ? "" : ";") + key;
        ++fileCount;
      }
    } else if (arg == "--group" && i + 1 < argc) {
      groups.push_back({argv[++i], {}});
      open = &groups.back();
    } else if (open != nullptr && splitPair(arg, key, value)) {
      open->entries.emplace_back(std::atoi(key.c_str()), payload::utf16(value));
    } else {
      return usage();
    }
  }
  for (auto& g : groups) builder.group(std::move(g));
  if (fileCount > 0 && !explicitFileItems) {
    builder.item(2002, std::to_string(fileCount));
    builder.item(2003, names);
  }
  if (auto error = payload::writeLauncher(argv[1], argv[2], builder.bytes())) {
    std::fprintf(stderr, "wrlpack: %s\n", error->c_str());
    return 1;
  }
  return 0;
}
