#include "jre/packed_runtime.h"

#include "diag/log.h"
#include "diag/report.h"
#include "jre/runtime_paths.h"
#include "payload/config_items.h"
#include "util/handle.h"
#include "util/paths.h"
#include "util/win_text.h"

#include <cstdio>

namespace {

// The notice for the user, on the process's standard output.
void announcePreparation() {
  static constexpr char kNotice[] = "Preparing JRE ...\n";
  std::fflush(stdout);  // whatever the C runtime holds goes first
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (out == nullptr || out == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(out, kNotice, static_cast<DWORD>(sizeof kNotice - 1), &written, nullptr);
}

}  // namespace

void prepareRuntime(const std::string& home) {
  bool announced = false;
  unpackPackedJars(home, "lib", announced);
  unpackPackedJars(home, "lib\\ext", announced);
  if (announced) logMessage(u"Unpacking JRE done");
}

void unpackPackedJars(const std::string& home, const std::string& subDirectory, bool& announced) {
  const std::string directory = home + "\\" + subDirectory;
  const std::string pattern = directory + "\\*.jar.pack";
  WIN32_FIND_DATAA entry;
  UniqueFind listing(FindFirstFileA(pattern.c_str(), &entry));
  if (!listing.valid()) return;
  do {
    // The wildcard may also match other spellings (short names); only packed
    // archive files are taken, a folder of that name is none.
    const std::string name = entry.cFileName;
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || !isPackedArchiveName(name))
      continue;
    const std::string archive = directory + "\\" + archiveOfPackedFile(name);
    logMessage(u"checking %S", archive.c_str());
    if (pathExists(archive)) continue;
    if (!announced) {
      logMessage(u"Unpacking JRE");
      announcePreparation();
      announced = true;
    }
    runUnpack200(home, archive + ".pack");
  } while (FindNextFileA(listing.get(), &entry));
}

void runUnpack200(const std::string& home, const std::string& packedPath) {
  const std::string archive = archiveOfPackedFile(packedPath);
  if (!pathExists(packedPath)) {
    logMessage(u"pack path doesn't exists");
    return;
  }
  const std::string program = unpackToolPath(home);
  std::string commandLine = unpackCommandLine(packedPath, archive);
  logMessage(u"%S", program.c_str());
  logMessage(u"%S", commandLine.c_str());

  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                      NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &info)) {
    logMessage(u"could not create unpack process");
    fatalConfigMessage8(kMsgInternalError, "20");
  }
  UniqueHandle process(info.hProcess);
  UniqueHandle thread(info.hThread);

  logMessage(u"waiting for unpack200 to finish");
  WaitForSingleObject(process.get(), INFINITE);
  logMessage(u"unpack done");

  if (!DeleteFileA(packedPath.c_str())) {
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND)
      logMessage(u"could not delete packed file (error %d)", static_cast<int>(error));
  }
}
