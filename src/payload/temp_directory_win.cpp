#include "diag/log.h"
#include "diag/report.h"
#include "payload/config_items.h"
#include "payload/temp_files.h"
#include "util/handle.h"
#include "util/win_text.h"

#include <cstdlib>
#include <cstring>
#include <ctime>

std::string makeTempFileName() {
  std::string folder = tempFolder();
  logMessage(u"tempPath is %S", folder.c_str());
  // GetTempFileNameA writes at most MAX_PATH bytes, terminator included.
  std::string out(MAX_PATH + 1, '\0');
  if (GetTempFileNameA(folder.c_str(), "wrl", 0, out.data()) != 0) {
    out.resize(std::strlen(out.c_str()));
  } else {
    logMessage(u"GetTempFileName failed (last error %d)", static_cast<int>(GetLastError()));
    if (folder.empty() || (folder.back() != '\\' && folder.back() != '/')) folder += '\\';
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    out = formatNarrow("%swrl%d", folder.c_str(), std::rand() % 32768);
  }
  truncateToCapacity(out, kTextCapacity);
  logMessage(u"tempFile is %S", out.c_str());
  return out;
}

void createLauncherTempDir() {
  for (int attempt = 0; attempt < 10; ++attempt) {
    std::string name = makeTempFileName();
    std::string dir =
        formatNarrow("%s_dir%d", name.c_str(), static_cast<int>(std::time(nullptr)));
    truncateToCapacity(dir, kTextCapacity);
    logMessage(u"Temp dir3: %S", dir.c_str());
    if (CreateDirectoryA(dir.c_str(), nullptr)) {
      launcherTempDirectory() = dir;
      return;
    }
    logMessage(u"Could not create dir (%d)", static_cast<int>(GetLastError()));
  }
  launcherTempDirectory().clear();
  fatalConfigMessage8(kMsgInternalError, "7");
}

void emptyDirectory(const std::string& dir, bool recurse) {
  if (dir.empty() || dir[0] == '.') return;
  logMessage(u"emptying %S", dir.c_str());
  const std::string prefix = dir.back() == '\\' ? dir : dir + "\\";
  const std::string pattern = prefix + "*.*";
  WIN32_FIND_DATAA entry;
  UniqueFind search(FindFirstFileA(pattern.c_str(), &entry));
  if (!search.valid()) return;
  do {
    const std::string name = entry.cFileName;
    if (name == "." || name == "..") continue;
    const std::string path = prefix + name;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      logMessage(u"attempting to remove %S (%d)", path.c_str(), recurse ? 1 : 0);
      if (recurse) emptyDirectory(path, false);
      RemoveDirectoryA(path.c_str());
    } else {
      logMessage(u"attempting to delete %S", path.c_str());
      DeleteFileA(path.c_str());
    }
  } while (FindNextFileA(search.get(), &entry));
}
