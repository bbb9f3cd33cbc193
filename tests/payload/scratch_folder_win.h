// Scratch folders and small file helpers for the in-process tests of the
// temporary-directory and included-file code.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace scratch {

// Deletes a folder with everything in it.
inline void removeTree(const std::string& path) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      const std::string child = path + "\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        removeTree(child);
      } else {
        SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}

// A fresh folder under the system temporary folder (8-bit path, no trailing
// backslash), removed with its contents at the end of the scope.
class Folder {
 public:
  Folder() {
    static int counter = 0;
    char base[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH + 1, base);
    std::string root = base;
    if (!root.empty() && root.back() == '\\') root.pop_back();
    for (;;) {
      path_ = root + "\\wrenlet_scratch_" + std::to_string(GetCurrentProcessId()) + "_" +
              std::to_string(++counter);
      if (CreateDirectoryA(path_.c_str(), nullptr)) break;
    }
  }
  ~Folder() { removeTree(path_); }
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& relative) const { return path_ + "\\" + relative; }

 private:
  std::string path_;
};

// Sets (or with nothing, removes) an environment variable for the scope.
class EnvironmentOverride {
 public:
  EnvironmentOverride(const char* name, std::optional<std::string> value) : name_(name) {
    char buffer[32768];
    const DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    if (n > 0 && n < sizeof buffer) saved_ = std::string(buffer, n);
    SetEnvironmentVariableA(name, value ? value->c_str() : nullptr);
  }
  ~EnvironmentOverride() { SetEnvironmentVariableA(name_.c_str(), saved_ ? saved_->c_str() : nullptr); }
  EnvironmentOverride(const EnvironmentOverride&) = delete;
  EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;

 private:
  std::string name_;
  std::optional<std::string> saved_;
};

inline bool writeFile(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                            nullptr) &&
                  written == bytes.size();
  CloseHandle(file);
  return ok;
}

inline std::optional<std::string> readFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char block[4096];
  DWORD got = 0;
  while (ReadFile(file, block, sizeof block, &got, nullptr) && got > 0) bytes.append(block, got);
  CloseHandle(file);
  return bytes;
}

inline bool exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline bool isDirectory(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace scratch
