// A fatal error of a GUI launcher shows a real message box: caption from message
// 1000, the error text and the log's path.
#include "launcher_harness_win.h"

#include <gtest/gtest.h>

namespace {

struct Box {
  HWND window = nullptr;
  std::wstring caption;
  std::wstring text;
};

Box waitForMessageBox(DWORD processId, DWORD timeoutMs) {
  Box found;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    struct Search {
      DWORD pid;
      HWND hit;
    } search{processId, nullptr};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
          auto* s = reinterpret_cast<Search*>(p);
          DWORD owner = 0;
          GetWindowThreadProcessId(w, &owner);
          wchar_t cls[64] = {};
          GetClassNameW(w, cls, 64);
          if (owner == s->pid && std::wstring(cls) == L"#32770" && IsWindowVisible(w)) {
            s->hit = w;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (search.hit) {
      found.window = search.hit;
      wchar_t buffer[8192] = {};
      GetWindowTextW(search.hit, buffer, 8192);
      found.caption = buffer;
      buffer[0] = 0;
      GetDlgItemTextW(search.hit, 0xFFFF, buffer, 8192);
      found.text = buffer;
      return found;
    }
    Sleep(50);
  }
  return found;
}

TEST(ErrorDialog, FatalErrorShowsCaptionTextAndLogPath) {
  payload::PayloadBuilder b;
  b.item(107, "1").message(1000, u"Wrenlet trouble").group({"", {{1005, u"x"}}});
  std::string bytes = b.bytes();
  bytes.resize(bytes.size() - 1);  // cut inside the override group entry's text
  TestFolder folder;
  LauncherUnderTest app(folder, bytes);

  Box box;
  LaunchResult r = app.run({.environment = {{L"KESTREL_LOG", L"yes"}},
                            .whileRunning = [&](const PROCESS_INFORMATION& p) {
                              box = waitForMessageBox(p.dwProcessId, 60000);
                              if (box.window) PostMessageW(box.window, WM_COMMAND, IDOK, 0);
                            }});
  ASSERT_NE(box.window, nullptr) << "no message box appeared";
  EXPECT_EQ(box.caption, L"Wrenlet trouble");
  const std::wstring prefix = L"Internal Error: readWString\r\n\r\nLog: ";
  const std::wstring plain = L"Internal Error: readWString\n\nLog: ";
  EXPECT_TRUE(box.text.rfind(prefix, 0) == 0 || box.text.rfind(plain, 0) == 0)
      << narrowUtf8(box.text);
  EXPECT_NE(box.text.find(L"ksl_nlog_1.log"), std::wstring::npos) << narrowUtf8(box.text);
  EXPECT_EQ(r.exitCode, 1u);
}

}  // namespace
