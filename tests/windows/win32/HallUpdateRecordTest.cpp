// Update records as a page sends them to a running hall: the check's timing, and records it refuses.
// (The whole road with a real page runs in PortalRoadTest.)
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "childproc/IpcProtocol.h"
#include "tests/support/win32/ProbedLauncher.h"
#include "tests/windows/win32/HallTestSupport.h"

namespace halltests {
namespace {

using testsupport::PumpMessagesFor;
using testsupport::WaitUntil;

class HallUpdateRecordTest : public ::testing::Test {
  protected:
    void SetUp() override {
        hall_ = std::make_unique<testsupport::ProbedLauncher>(L"");
        ASSERT_TRUE(hall_->Ready());
        ASSERT_TRUE(WaitUntil(20000, [&] {
            const testsupport::HallWindows windows = testsupport::FindHallWindows(Pid());
            launcher_ = windows.visible;
            return launcher_ != nullptr && hall_->Record().hallStartSeen > 0;
        })) << "no hall windows";
    }

    DWORD Pid() { return hall_->Process().ProcessId(); }

    std::unique_ptr<testsupport::ProbedLauncher> hall_;
    HWND launcher_ = nullptr;
};

// Sends an update record as a page does; false when the launcher did not take it.
void SendUpdateRecord(HWND launcher, const std::vector<uint8_t>& record) {
    COPYDATASTRUCT data = {};
    data.dwData = ipc::COPYDATA_UPDATE_INFO;
    data.cbData = static_cast<DWORD>(record.size());
    data.lpData = const_cast<uint8_t*>(record.data());
    SendMessageW(launcher, WM_COPYDATA, ipc::COPYDATA_UPDATE_INFO, reinterpret_cast<LPARAM>(&data));
}

std::vector<uint8_t> UpdateRecord() {
    // Nothing listens on the discard port: the check that follows finds no package and gives up quietly.
    return ipc::WriteUpdateRecord({L"", L"http://127.0.0.1:9/runecourt-setup.exe"});
}

TEST_F(HallUpdateRecordTest, UpdateRecordArmsTheCheckTwoSecondsAfterTheLastRecord) {
    const DWORD first = GetTickCount();
    SendUpdateRecord(launcher_, UpdateRecord());
    PumpMessagesFor(1000);
    const DWORD second = GetTickCount();
    SendUpdateRecord(launcher_, UpdateRecord());
    ASSERT_TRUE(WaitUntil(6000, [&] { return hall_->Record().updateTimerFires > 0; })) << "no update check";
    const DWORD delay = hall_->Record().firstUpdateTimerTick - second;
    EXPECT_GE(delay, 1900u);
    EXPECT_LE(delay, 2800u);
    EXPECT_GE(hall_->Record().firstUpdateTimerTick - first, 2900u);
    PumpMessagesFor(2500);
    EXPECT_EQ(1, hall_->Record().updateTimerFires) << "the check ran more than once";
}

TEST_F(HallUpdateRecordTest, MalformedUpdateRecordsAreRefused) {
    std::vector<uint8_t> shortRecord = UpdateRecord();
    shortRecord.resize(ipc::kUpdateRecordSize - 2);
    SendUpdateRecord(launcher_, shortRecord);
    std::vector<uint8_t> unterminated = UpdateRecord();
    for (size_t i = ipc::kUpdateAddressOffset; i < unterminated.size(); ++i) {
        unterminated[i] = 'a';
    }
    SendUpdateRecord(launcher_, unterminated);
    PumpMessagesFor(3000);
    EXPECT_EQ(0, hall_->Record().updateTimerFires);
    EXPECT_FALSE(hall_->Process().WaitForExit(0)) << "the hall ended";
}

}  // namespace
}  // namespace halltests
