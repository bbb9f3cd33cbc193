#include "dialogs.h"

#include "util/handle.h"

Dialog waitForDialog(DWORD processId, DWORD timeoutMs, HWND other) {
  struct Search {
    DWORD pid;
    HWND other;
    HWND hit;
  };
  // A launcher that ended shows no more dialogs (without a display its message
  // boxes return at once): stop waiting then instead of at the time-out.
  UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    Search search{processId, other, nullptr};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
          auto* s = reinterpret_cast<Search*>(p);
          DWORD owner = 0;
          GetWindowThreadProcessId(w, &owner);
          wchar_t cls[64] = {};
          GetClassNameW(w, cls, 64);
          if (owner == s->pid && w != s->other && std::wstring(cls) == L"#32770" &&
              IsWindowVisible(w)) {
            s->hit = w;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (search.hit) {
      Dialog found;
      found.window = search.hit;
      std::wstring buffer(8192, L'\0');
      found.caption.assign(buffer.data(), GetWindowTextW(search.hit, buffer.data(), 8192));
      found.text.assign(buffer.data(), GetDlgItemTextW(search.hit, 0xFFFF, buffer.data(), 8192));
      return found;
    }
    if (process && WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0) break;
    Sleep(50);
  }
  return {};
}

void answerDialog(const Dialog& dialog, int buttonId) {
  if (dialog.window) PostMessageW(dialog.window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), 0);
}

std::wstring withLineFeeds(std::wstring text) {
  std::wstring out;
  for (wchar_t c : text)
    if (c != L'\r') out.push_back(c);
  return out;
}
