#include <gtest/gtest.h>
#include <windows.h>

#include <shlobj.h>

#include "services/PluginRules.h"
#include "services/win32/PluginControl.h"
#include "services/win32/Registry.h"
#include "tests/services/win32/TestSystem.h"
#include "tests/support/win32/MessageBoxes.h"
#include "tests/support/win32/TestProcess.h"

namespace servicetests {
namespace {

const wchar_t* const kControlKeys[] = {
    L"TypeLib\\{5D1E7A20-3C4B-4F8E-9A61-0B2C7D94E315}", L"CLSID\\{3E9A5C27-71B4-4D0F-8C62-A5F1D3E8B914}",
    L"Interface\\{8B0F4C61-2E7D-4A39-B1C5-6D2E9F3A7B40}", L"QuillGame.Control.1", L"QuillGame.Control"};

std::wstring RegisteredLocation() {
    std::wstring location;
    services::ReadRegistryString(services::kPluginTypeLibKey, L"", location);
    return location;
}

void SetRegisteredLocation(const std::wstring& location) {
    ASSERT_TRUE(testsupport::WriteRegistryString(
        HKEY_CLASSES_ROOT, std::wstring(kControlKeys[0]) + L"\\1.0\\0\\win32", nullptr, location));
}

void ForgetControlRegistration() {
    for (const wchar_t* key : kControlKeys) {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, key);
    }
}

class PluginControlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ForgetControlRegistration();
        CreateDirectoryW(profile_.c_str(), nullptr);
        system_.folders[CSIDL_PROFILE] = profile_;
        shipped_ = ReadWholeFile(testsupport::SiblingProgram(L"quillgame.ocx"));
        ASSERT_FALSE(shipped_.empty());
    }
    void TearDown() override {
        // A registration tool still running keeps the control file open until it ends.
        testsupport::WaitUntil(10000, [&] {
            RemoveTree(profile_);
            return !Exists(profile_);
        });
        ForgetControlRegistration();
    }

    ScratchFolder scratch_{L"plugin"};
    std::wstring profile_ = scratch_.Sub(L"用户 wei");
    std::wstring control_ = profile_ + L"\\quill\\vex\\quillgame.ocx";
    std::vector<uint8_t> shipped_;
    TestSystem system_;
};

TEST_F(PluginControlTest, WrittenAndRegisteredOnceThenAgainOnlyWhenDeletedOrRegisteredElsewhere) {
    ASSERT_TRUE(services::EnsurePluginControl(system_));
    EXPECT_EQ(ReadWholeFile(control_), shipped_) << "the resource is written out unchanged";
    const std::wstring tool = system_.SystemFolder() + L"\\regsvr32.exe";
    EXPECT_EQ(system_.processStarts,
              std::vector<std::wstring>{L"\"" + tool + L"\" /s \"" + control_ + L"\""});
    ASSERT_TRUE(testsupport::WaitUntil(
        30000, [&] { return _wcsicmp(RegisteredLocation().c_str(), control_.c_str()) == 0; }));

    // Registered here, in whatever letter case, and present: nothing to do.
    std::wstring upper = control_;
    CharUpperW(upper.data());
    SetRegisteredLocation(upper);
    EXPECT_TRUE(services::EnsurePluginControl(system_));
    EXPECT_EQ(system_.processStarts.size(), 1u);
    EXPECT_TRUE(system_.shellRequests.empty());

    // The registration tool may still hold the control loaded for a moment after it registered it.
    ASSERT_TRUE(testsupport::WaitUntil(10000, [&] { return DeleteFileW(control_.c_str()) != FALSE; }));
    system_.recordProcessStarts = true;
    EXPECT_TRUE(services::EnsurePluginControl(system_));
    EXPECT_EQ(ReadWholeFile(control_), shipped_) << "a deleted control is written again";
    EXPECT_EQ(system_.processStarts.size(), 2u);

    // Registered elsewhere: registered again from here, the existing file kept as it is; a user outside
    // the Administrators group is asked to elevate the tool through the shell.
    ASSERT_TRUE(MakeFile(control_, "an older control"));
    SetRegisteredLocation(L"C:\\elsewhere\\quillgame.ocx");
    system_.administrator = false;
    EXPECT_TRUE(services::EnsurePluginControl(system_));
    const std::vector<uint8_t> kept = ReadWholeFile(control_);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "an older control");
    EXPECT_EQ(system_.processStarts.size(), 2u);
    ASSERT_EQ(system_.shellRequests.size(), 1u);
    EXPECT_EQ(system_.shellRequests[0].verb, L"runas");
    EXPECT_EQ(system_.shellRequests[0].file, tool);
    EXPECT_EQ(system_.shellRequests[0].parameters, L" /s \"" + control_ + L"\"");
}

TEST_F(PluginControlTest, AControlThatCannotBeWrittenIsNeitherLeftNorRegistered) {
    // The disk fills up after the first bytes: the partly written file is removed, nothing registered.
    struct FullDiskSystem : TestSystem {
        bool WriteToFile(HANDLE file, const void* data, size_t size) override {
            SystemAccess::WriteToFile(file, data, size / 3);
            return false;
        }
    } full;
    full.folders = system_.folders;
    full.administrator = false;
    EXPECT_FALSE(services::EnsurePluginControl(full));
    EXPECT_FALSE(Exists(control_));
    EXPECT_TRUE(full.processStarts.empty());
    EXPECT_TRUE(full.shellRequests.empty());
}

}  // namespace
}  // namespace servicetests
