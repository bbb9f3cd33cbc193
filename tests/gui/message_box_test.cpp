// Dialogs of the real launcher on a display: the error message box and the
// prompt after a requested log.
#include "dialogs.h"

#include <gtest/gtest.h>

namespace {

TEST(ErrorDialog, FatalErrorShowsCaptionTextAndLogPath) {
  payload::PayloadBuilder b;
  b.item(107, "1").message(1000, u"Wrenlet trouble").group({"", {{1005, u"x"}}});
  std::string bytes = b.bytes();
  bytes.resize(bytes.size() - 1);  // cut inside the override group entry's text
  TestFolder folder;
  LauncherUnderTest app(folder, bytes);

  Dialog box;
  LaunchResult r = app.run({.environment = {{L"KESTREL_LOG", L"yes"}},
                            .whileRunning = [&](const PROCESS_INFORMATION& p) {
                              box = waitForDialog(p.dwProcessId, 60000);
                              answerDialog(box, IDOK);
                            }});
  ASSERT_NE(box.window, nullptr) << "no message box appeared";
  EXPECT_EQ(box.caption, L"Wrenlet trouble");
  const std::wstring text = withLineFeeds(box.text);
  EXPECT_EQ(text.rfind(L"Internal Error: readWString\n\nLog: ", 0), 0u) << narrowUtf8(text);
  EXPECT_NE(text.find(L"ksl_nlog_1.log"), std::wstring::npos) << narrowUtf8(text);
  EXPECT_EQ(r.exitCode, 1u);
}

TEST(LogPrompt, RequestedLogOffersExplorerAndNoGoesOn) {
  payload::PayloadBuilder b;
  b.item(107, "1").item(2001, "w").message(1000, u"Trouble").message(1016, u"No Java {0}");
  TestFolder folder;
  LauncherUnderTest app(folder, b);
  Dialog prompt;
  Dialog error;
  LaunchResult r = app.run({.arguments = L"-create-wrl-log",
                            .unset = {L"KESTREL_LOG", L"WRENLET_LOG", L"WRENLET_JAVA_HOME",
                                      L"KESTREL_JAVA_HOME"},
                            .whileRunning = [&](const PROCESS_INFORMATION& p) {
                              prompt = waitForDialog(p.dwProcessId, 60000);
                              answerDialog(prompt, IDNO);
                              // Start-up goes on and finds no runtime: its error box follows.
                              error = waitForDialog(p.dwProcessId, 60000, prompt.window);
                              answerDialog(error, IDOK);
                            }});
  ASSERT_NE(prompt.window, nullptr) << "no prompt appeared";
  EXPECT_EQ(prompt.caption, L"wrenlet");
  ASSERT_TRUE(r.hasLog());
  const std::wstring text = withLineFeeds(prompt.text);
  const std::wstring head = L"The following log file will be created:\n\n";
  const std::wstring tail = L"\n\nDo you want to open an Explorer window?";
  ASSERT_EQ(text.rfind(head, 0), 0u) << narrowUtf8(text);
  ASSERT_GE(text.size(), head.size() + tail.size());
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
  EXPECT_NE(text.find(L"ksl_nlog_1.log"), std::wstring::npos) << narrowUtf8(text);
  EXPECT_FALSE(r.logContains("calling "));  // No: Explorer is not started
  EXPECT_EQ(error.caption, L"Trouble");
  EXPECT_EQ(r.exitCode, 83u);
}

}  // namespace
