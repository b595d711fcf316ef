// Where the registry names the default browser, by system version. How the browser is then started with
// an address is walked by the crash report's and the road's tests, with a recording browser.
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

    void Choose(const std::wstring& protocol, const std::wstring& progId) {
        ASSERT_TRUE(testsupport::WriteRegistryString(
            HKEY_CURRENT_USER, kUserChoice + protocol + L"\\UserChoice", L"Progid", progId));
    }
    void OpenCommand(const std::wstring& progId, const std::wstring& command,
                     const wchar_t* value = nullptr) {
        ASSERT_TRUE(testsupport::WriteRegistryString(HKEY_CLASSES_ROOT, progId + L"\\shell\\open\\command",
                                                     value, command));
    }
    std::wstring BrowserOn(unsigned major, unsigned minor) {
        system_.version = {major, minor};
        return services::GetDefaultBrowser(system_);
    }

    std::wstring root_ = L"Software\\TolvaneTests\\browser-" + std::to_wstring(GetCurrentProcessId());
    HKEY user_ = nullptr;
    HKEY classes_ = nullptr;
    TestSystem system_;
};

TEST_F(DefaultBrowserTest, TheUserChoiceOrTheHtmlFileCommandByVersionAndTheSystemBrowserWithout) {
    EXPECT_EQ(BrowserOn(6, 2), L"iexplore.exe") << "no user choice";
    EXPECT_EQ(BrowserOn(5, 1), L"iexplore.exe") << "no html file command";
    Choose(L"http", L"GoneURL");
    EXPECT_EQ(BrowserOn(6, 2), L"iexplore.exe") << "a program id without open command";
    OpenCommand(L"EmptyURL", L"x", L"other");
    Choose(L"http", L"EmptyURL");
    EXPECT_EQ(BrowserOn(6, 2), L"iexplore.exe") << "an open command without default value";

    Choose(L"http", L"FoxURL");
    OpenCommand(L"FoxURL", L"\"C:\\Program Files\\Fox\\fox.exe\" -osint -url \"%1\"");
    Choose(L"Ftp", L"ViewerURL");
    OpenCommand(L"ViewerURL", L"C:\\Tools\\viewer.exe %1");
    OpenCommand(L"htmlfile", L"\"C:\\IE\\iexplore.exe\" -nohome");
    EXPECT_EQ(BrowserOn(6, 2), L"C:\\Program Files\\Fox\\fox.exe");
    EXPECT_EQ(BrowserOn(6, 1), L"C:\\Tools\\viewer.exe") << "on 6.1 the ftp choice decides";
    EXPECT_EQ(BrowserOn(5, 1), L"C:\\IE\\iexplore.exe");
    EXPECT_EQ(BrowserOn(5, 2), L"iexplore.exe");
}

}  // namespace
}  // namespace servicetests
