#pragma once

#include <windows.h>

#include <string>

namespace testsupport {

// A message box shown by another process, found by its caption.
struct ShownMessageBox {
    HWND window = nullptr;
    std::wstring text;
    HWND owner = nullptr;
};

// Waits for a message box of the process with the given caption; window stays null when none came.
ShownMessageBox WaitForMessageBox(DWORD processId, const std::wstring& caption, DWORD timeoutMs);

// Presses a button of a message box (IDOK, IDCANCEL) as the player would.
void AnswerMessageBox(HWND box, int buttonId);

// Counts the message boxes the process shows with the given caption right now.
int CountMessageBoxes(DWORD processId, const std::wstring& caption);

// Points the default browser of the current user at the recording browser program built next to the
// tests; every address it is started with lands as a line in `recordFile`. Restores on destruction.
class RecordingDefaultBrowser {
  public:
    explicit RecordingDefaultBrowser(const std::wstring& recordFile);
    ~RecordingDefaultBrowser();
    RecordingDefaultBrowser(const RecordingDefaultBrowser&) = delete;
    RecordingDefaultBrowser& operator=(const RecordingDefaultBrowser&) = delete;

    // The addresses recorded so far, one per start.
    std::wstring Recorded() const;
    // Waits until `address` was recorded.
    bool WaitForAddress(const std::wstring& address, DWORD timeoutMs) const;

  private:
    std::wstring recordFile_;
};

}  // namespace testsupport
