#include <gtest/gtest.h>
#include <windows.h>

#include <oleauto.h>
#include <shlobj.h>

#include "services/PluginRules.h"
#include "services/win32/PluginControl.h"
#include "services/win32/Registry.h"
#include "tests/services/win32/TestSystem.h"
#include "tests/support/win32/TestProcess.h"

namespace servicetests {
namespace {

const std::wstring kTypeLibraryKey = L"TypeLib\\{5D1E7A20-3C4B-4F8E-9A61-0B2C7D94E315}";
const wchar_t* const kControlKeys[] = {
    L"TypeLib\\{5D1E7A20-3C4B-4F8E-9A61-0B2C7D94E315}", L"CLSID\\{3E9A5C27-71B4-4D0F-8C62-A5F1D3E8B914}",
    L"Interface\\{8B0F4C61-2E7D-4A39-B1C5-6D2E9F3A7B40}", L"QuillGame.Control.1", L"QuillGame.Control"};

std::wstring RegisteredLocation() {
    std::wstring location;
    services::ReadRegistryString(services::kPluginTypeLibKey, L"", location);
    return location;
}

void SetRegisteredLocation(const std::wstring& location) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, (kTypeLibraryKey + L"\\1.0\\0\\win32").c_str(), 0, nullptr,
                              0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(location.c_str()),
                   static_cast<DWORD>((location.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

void ForgetControlRegistration() {
    for (const wchar_t* key : kControlKeys) {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, key);
    }
}

std::wstring Upper(std::wstring text) {
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(towupper(c));
    }
    return text;
}

// Calls the registered control through its type library, as a page's script would.
HRESULT CallControl(const wchar_t* member, WORD flags, VARIANT* argument, VARIANT& result) {
    CLSID classId = {};
    HRESULT hr = CLSIDFromProgID(L"QuillGame.Control.1", &classId);
    IDispatch* control = nullptr;
    if (SUCCEEDED(hr)) {
        hr = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                              reinterpret_cast<void**>(&control));
    }
    if (FAILED(hr)) {
        return hr;
    }
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(member);
    hr = control->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (SUCCEEDED(hr)) {
        DISPPARAMS parameters = {argument, nullptr, argument != nullptr ? 1u : 0u, 0};
        hr =
            control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, &result, nullptr, nullptr);
    }
    control->Release();
    return hr;
}

class PluginControlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ForgetControlRegistration();
        CreateDirectoryW(profile_.c_str(), nullptr);
        system_.folders[CSIDL_PROFILE] = profile_;
        system_.version = {6, 1};
        control_ = profile_ + L"\\quill\\vex\\quillgame.ocx";
        shipped_ = ReadBytes(testsupport::SiblingProgram(L"quillgame.ocx"));
        ASSERT_FALSE(shipped_.empty());
    }
    void TearDown() override {
        CoFreeUnusedLibrariesEx(0, 0);
        // A registration tool still running keeps the control file open until it ends.
        testsupport::WaitUntil(10000, [&] {
            RemoveTree(profile_);
            return !Exists(profile_);
        });
        ForgetControlRegistration();
        CoUninitialize();
    }
    bool WaitForRegistrationAt(const std::wstring& path) {
        return testsupport::WaitUntil(
            30000, [&] { return _wcsicmp(RegisteredLocation().c_str(), path.c_str()) == 0; });
    }

    ScratchFolder scratch_{L"plugin"};
    std::wstring profile_ = scratch_.Sub(L"用户 wei");
    std::wstring control_;
    std::vector<uint8_t> shipped_;
    TestSystem system_;
};

TEST_F(PluginControlTest, FirstStartWritesAndRegistersSecondStartDoesNothing) {
    ASSERT_TRUE(services::EnsurePluginControl(system_));
    EXPECT_EQ(ReadBytes(control_), shipped_) << "the resource is written out unchanged";
    ASSERT_EQ(system_.processStarts.size(), 1u);
    const std::wstring tool = system_.SystemFolder() + L"\\regsvr32.exe";
    EXPECT_EQ(system_.processStarts[0], L"\"" + tool + L"\" /s \"" + control_ + L"\"");
    ASSERT_TRUE(WaitForRegistrationAt(control_)) << "registered at: " << RegisteredLocation().size();

    // The control's own registration made it usable from script.
    VARIANT version;
    VariantInit(&version);
    ASSERT_EQ(CallControl(L"Version", DISPATCH_PROPERTYGET, nullptr, version), S_OK);
    ASSERT_EQ(version.vt, VT_BSTR);
    EXPECT_STREQ(version.bstrVal, L"1.0");
    VariantClear(&version);
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_I4;
    value.lVal = 41;
    VARIANT answer;
    VariantInit(&answer);
    ASSERT_EQ(CallControl(L"Echo", DISPATCH_METHOD, &value, answer), S_OK);
    EXPECT_EQ(answer.vt, VT_I4);
    EXPECT_EQ(answer.lVal, 42);

    // Second start: registered here and present, nothing to do.
    EXPECT_TRUE(services::EnsurePluginControl(system_));
    EXPECT_EQ(system_.processStarts.size(), 1u);
    EXPECT_TRUE(system_.shellRequests.empty());
}

TEST_F(PluginControlTest, RegisteredPathsDifferingOnlyInLetterCaseCountAsEqual) {
    system_.recordProcessStarts = true;
    ASSERT_TRUE(services::EnsurePluginControl(system_));
    SetRegisteredLocation(Upper(control_));
    EXPECT_TRUE(services::EnsurePluginControl(system_));
    EXPECT_EQ(system_.processStarts.size(), 1u);

    // Registered elsewhere: registered again from here, the existing file kept as it is.
    ASSERT_TRUE(MakeFile(control_, "an older control"));
    SetRegisteredLocation(L"C:\\elsewhere\\quillgame.ocx");
    EXPECT_TRUE(services::EnsurePluginControl(system_));
    EXPECT_EQ(system_.processStarts.size(), 2u);
    const std::vector<uint8_t> kept = ReadBytes(control_);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "an older control");
}

TEST_F(PluginControlTest, ADeletedControlIsWrittenAndRegisteredAgain) {
    ASSERT_TRUE(services::EnsurePluginControl(system_));
    ASSERT_TRUE(WaitForRegistrationAt(control_));
    // The registration tool may still hold the control loaded for a moment after it registered it.
    ASSERT_TRUE(testsupport::WaitUntil(10000, [&] { return DeleteFileW(control_.c_str()) != FALSE; }));

    EXPECT_TRUE(services::EnsurePluginControl(system_));
    EXPECT_EQ(ReadBytes(control_), shipped_);
    EXPECT_EQ(system_.processStarts.size(), 2u);
}

TEST_F(PluginControlTest, NonAdministratorsAreAskedToElevateFromVersion6On) {
    system_.administrator = false;
    ASSERT_TRUE(services::EnsurePluginControl(system_));
    EXPECT_TRUE(system_.processStarts.empty());
    ASSERT_EQ(system_.shellRequests.size(), 1u);
    const services::ShellRequest& request = system_.shellRequests[0];
    EXPECT_EQ(request.verb, L"runas");
    EXPECT_EQ(request.file, system_.SystemFolder() + L"\\regsvr32.exe");
    EXPECT_EQ(request.parameters, L" /s \"" + control_ + L"\"");
    EXPECT_TRUE(request.wantProcess);

    // On 5.1 the tool is opened as it is, and the folder lies beside the application data.
    const std::wstring oldProfile = scratch_.Sub(L"Documents and Settings");
    CreateDirectoryW(oldProfile.c_str(), nullptr);
    CreateDirectoryW((oldProfile + L"\\Application Data").c_str(), nullptr);
    system_.folders[CSIDL_APPDATA] = oldProfile + L"\\Application Data";
    system_.version = {5, 1};
    ASSERT_TRUE(services::EnsurePluginControl(system_));
    ASSERT_EQ(system_.shellRequests.size(), 2u);
    EXPECT_EQ(system_.shellRequests[1].verb, L"open");
    EXPECT_EQ(system_.shellRequests[1].parameters, L" /s \"" + oldProfile + L"\\quill\\vex\\quillgame.ocx\"");
    EXPECT_TRUE(Exists(oldProfile + L"\\quill\\vex\\quillgame.ocx"));

    // A membership test that fails is no reason to ask for elevation.
    system_.version = {6, 1};
    system_.membershipKnown = false;
    ASSERT_TRUE(DeleteFileW(control_.c_str()));
    EXPECT_TRUE(services::EnsurePluginControl(system_));
    ASSERT_EQ(system_.shellRequests.size(), 3u);
    EXPECT_EQ(system_.shellRequests[2].verb, L"open");
}

TEST_F(PluginControlTest, AControlThatCannotBeWrittenIsNeitherLeftNorRegistered) {
    struct NoResourceSystem : TestSystem {
        HMODULE ResourceModule() override { return GetModuleHandleW(L"kernel32.dll"); }
    } bare;
    bare.folders = system_.folders;
    std::vector<uint8_t> none;
    EXPECT_FALSE(services::ExtractResource(bare.ResourceModule(), 115, L"ZIPRES", none)) << none.size();
    EXPECT_FALSE(Exists(control_)) << "before";
    EXPECT_FALSE(services::EnsurePluginControl(bare));
    EXPECT_FALSE(Exists(control_));
    EXPECT_TRUE(bare.processStarts.empty());

    // A folder in the file's place: the write fails and nothing is registered.
    ASSERT_TRUE(CreateDirectoryW(control_.c_str(), nullptr));
    EXPECT_FALSE(services::WriteControlFile(control_, shipped_));
    RemoveDirectoryW(control_.c_str());
    EXPECT_FALSE(Exists(control_));

    bool member = false;
    EXPECT_TRUE(services::IsAdministrator(member)) << "the membership test itself works";
}

}  // namespace
}  // namespace servicetests
