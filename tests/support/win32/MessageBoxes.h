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

// Creates the key as needed; false when the value could not be written.
bool WriteRegistryString(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value);

// Points the default browser of the current user at a copy of the recording program in a folder whose
// name holds a blank, by an unquoted open command with arguments ("... -url %1"), the hardest form a
// browser registers. Restores on destruction.
class RecordingDefaultBrowser {
  public:
    RecordingDefaultBrowser();
    ~RecordingDefaultBrowser();
    RecordingDefaultBrowser(const RecordingDefaultBrowser&) = delete;
    RecordingDefaultBrowser& operator=(const RecordingDefaultBrowser&) = delete;

    // The argument lines recorded so far, one per start.
    std::wstring Recorded() const;
    // Waits until the browser was started with the arguments of its command, `address` in place.
    bool WaitForAddress(const std::wstring& address, DWORD timeoutMs) const;

  private:
    std::wstring program_;
};

}  // namespace testsupport
