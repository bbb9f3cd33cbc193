// Finding and answering the dialogs a launcher child process shows.
#pragma once

#include "launcher_harness_win.h"

struct Dialog {
  HWND window = nullptr;
  std::wstring caption;
  std::wstring text;  // the message box's static text (control 0xFFFF)
};

// Waits for a visible dialog (class "#32770") of the process, other than the one
// given, and reads it.
Dialog waitForDialog(DWORD processId, DWORD timeoutMs, HWND other = nullptr);

// Presses a button of the dialog (IDOK, IDNO, ...).
void answerDialog(const Dialog& dialog, int buttonId);

// Message box texts use CR LF or LF line breaks depending on the system; compare on LF.
std::wstring withLineFeeds(std::wstring text);
