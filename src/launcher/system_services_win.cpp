#include "launcher/system_services.h"

#include "util/handle.h"

#include <windows.h>

bool attachConsole() {
  using AttachConsoleFn = BOOL(WINAPI*)(DWORD);
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  auto attach = kernel ? reinterpret_cast<AttachConsoleFn>(GetProcAddress(kernel, "AttachConsole"))
                       : nullptr;
  if (attach) {
    if (attach(ATTACH_PARENT_PROCESS)) return true;
    return GetLastError() == ERROR_ACCESS_DENIED;  // the process has a console already
  }
  return AllocConsole() != 0;
}

void rebootSystem() {
  Sleep(5000);
  HANDLE rawToken = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &rawToken))
    return;
  UniqueHandle token(rawToken);
  TOKEN_PRIVILEGES privileges{};
  if (!LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid))
    return;
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
  if (GetLastError() != ERROR_SUCCESS) return;
  ExitWindowsEx(EWX_REBOOT, 0);
}

void loadCommonControls() {
  HMODULE controls = GetModuleHandleA("comctl32.dll");
  if (!controls) controls = LoadLibraryExA("comctl32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!controls) return;
  using InitFn = void(WINAPI*)();
  if (auto init = reinterpret_cast<InitFn>(GetProcAddress(controls, "InitCommonControls"))) init();
}
