#include <gtest/gtest.h>
#include <windows.h>

#include "services/win32/DefaultBrowser.h"
#include "tests/services/win32/TestSystem.h"
#include "tests/support/win32/MessageBoxes.h"

namespace servicetests {
namespace {

const std::wstring kUserChoice = L"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\";

// The current user's hive and the classes root of this process both point into a scratch key of the
// test, so that what the test writes is all the lookup sees and the machine's own settings stay as
// they are.
class DefaultBrowserTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = L"Software\\TolvaneTests\\browser-" + std::to_wstring(GetCurrentProcessId());
        RegDeleteTreeW(HKEY_CURRENT_USER, root_.c_str());
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (root_ + L"\\user").c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &user_, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (root_ + L"\\classes").c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &classes_, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, user_), ERROR_SUCCESS);
        ASSERT_EQ(RegOverridePredefKey(HKEY_CLASSES_ROOT, classes_), ERROR_SUCCESS);
    }
    void TearDown() override {
        RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegCloseKey(user_);
        RegCloseKey(classes_);
        RegDeleteTreeW(HKEY_CURRENT_USER, root_.c_str());
    }

    static void Write(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
        ASSERT_TRUE(WriteRegistryString(root, key, name, value));
    }
    void Choose(const std::wstring& protocol, const std::wstring& progId) {
        Write(HKEY_CURRENT_USER, kUserChoice + protocol + L"\\UserChoice", L"Progid", progId);
    }
    void OpenCommand(const std::wstring& progId, const std::wstring& command) {
        Write(HKEY_CLASSES_ROOT, progId + L"\\shell\\open\\command", nullptr, command);
    }
    std::wstring BrowserOn(unsigned major, unsigned minor) {
        system_.version = {major, minor};
        return services::GetDefaultBrowser(system_);
    }

    std::wstring root_;
    HKEY user_ = nullptr;
    HKEY classes_ = nullptr;
    TestSystem system_;
};

TEST_F(DefaultBrowserTest, TheUserChoiceOrTheHtmlFileCommandByVersion) {
    Choose(L"http", L"FoxURL");
    OpenCommand(L"FoxURL", L"\"C:\\Program Files\\Fox\\fox.exe\" -osint -url \"%1\"");
    Choose(L"Ftp", L"ViewerURL");
    OpenCommand(L"ViewerURL", L"C:\\Tools\\viewer.exe %1");
    Write(HKEY_CLASSES_ROOT, L"htmlfile\\shell\\open\\command", nullptr, L"\"C:\\IE\\iexplore.exe\" -nohome");

    EXPECT_EQ(BrowserOn(6, 2), L"C:\\Program Files\\Fox\\fox.exe");
    EXPECT_EQ(BrowserOn(6, 1), L"C:\\Tools\\viewer.exe") << "on 6.1 the ftp choice decides";
    EXPECT_EQ(BrowserOn(5, 1), L"C:\\IE\\iexplore.exe");
    EXPECT_EQ(BrowserOn(5, 2), L"iexplore.exe");
}

TEST_F(DefaultBrowserTest, MissingKeysFallBackToTheSystemBrowser) {
    EXPECT_EQ(BrowserOn(6, 2), L"iexplore.exe") << "no user choice";
    EXPECT_EQ(BrowserOn(5, 1), L"iexplore.exe") << "no html file command";
    Choose(L"http", L"GoneURL");
    EXPECT_EQ(BrowserOn(6, 2), L"iexplore.exe") << "a program id without open command";
    Write(HKEY_CLASSES_ROOT, L"EmptyURL\\shell\\open\\command", L"other", L"x");
    Choose(L"http", L"EmptyURL");
    EXPECT_EQ(BrowserOn(6, 2), L"iexplore.exe") << "an open command without default value";
}

// The recording browser lies in a folder with a blank and is registered by an unquoted command with
// arguments, for the user's choice and as the HTML files' command.
TEST_F(DefaultBrowserTest, OpenUrlStartsTheBrowserWithTheArgumentsOfItsCommandAndTheAddressInPlace) {
    ScratchFolder folder(L"browser-record");
    testsupport::RecordingDefaultBrowser browser(folder.Sub(L"record.txt"));
    Write(HKEY_CLASSES_ROOT, L"htmlfile\\shell\\open\\command", nullptr, browser.Command());
    system_.passShellRequestsOn = true;
    const services::SystemVersion versions[] = {{6, 2}, {5, 1}};
    for (const services::SystemVersion& version : versions) {
        system_.version = version;
        const std::wstring address =
            L"http://pay.tolvane.com/?game=runecourt&on=" + std::to_wstring(version.major);
        services::OpenUrl(system_, address);
        EXPECT_TRUE(browser.WaitForAddress(address, 15000)) << testing::PrintToString(browser.Recorded());
    }
    ASSERT_EQ(system_.shellRequests.size(), 2u);
    const services::ShellRequest& request = system_.shellRequests[1];
    EXPECT_EQ(request.verb, L"open");
    EXPECT_EQ(request.file, browser.Program());
    EXPECT_EQ(request.parameters, L"-url http://pay.tolvane.com/?game=runecourt&on=5");
    EXPECT_EQ(request.show, SW_SHOWNORMAL);
}

}  // namespace
}  // namespace servicetests
