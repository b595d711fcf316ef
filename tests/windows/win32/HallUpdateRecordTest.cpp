// Update records as a page sends them to a running hall: the check's timing against a server that holds
// its answers, and records it refuses.
// (The whole road with a real page runs in PortalRoadTest.)
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>

#include "childproc/IpcProtocol.h"
#include "tests/services/support/UpdateServers.h"
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

// Sends an update record as a page does.
void SendUpdateRecord(HWND launcher, const std::vector<uint8_t>& record) {
    COPYDATASTRUCT data = {};
    data.dwData = childproc::COPYDATA_UPDATE_INFO;
    data.cbData = static_cast<DWORD>(record.size());
    data.lpData = const_cast<uint8_t*>(record.data());
    SendMessageW(launcher, WM_COPYDATA, childproc::COPYDATA_UPDATE_INFO, reinterpret_cast<LPARAM>(&data));
}

// By default nothing listens on the discard port: the check that follows finds no package.
std::vector<uint8_t> UpdateRecord(const std::string& address = "http://127.0.0.1:9/runecourt-setup.exe") {
    return childproc::WriteUpdateRecord({L"", std::wstring(address.begin(), address.end())});
}

size_t FaultLogIndexOf(const std::string& text) {
    const std::vector<std::string> log = testservers::FaultLog();
    for (size_t i = 0; i < log.size(); ++i) {
        if (log[i].find(text) != std::string::npos) {
            return i;
        }
    }
    return log.size();
}

TEST_F(HallUpdateRecordTest, TheUpdateCheckRunsAfterTheLastRecordWithoutFreezingTheLauncher) {
    ASSERT_TRUE(testservers::Available()) << "run through tools/with-update-servers.sh";
    // Nothing is served under these names, so each check ends quietly; the first one's size query is
    // held by the server for 10 s.
    const std::string held = "HEAD /stall-size/runecourt-held.exe";
    const std::string next = "HEAD /slow/runecourt-next.exe";
    const DWORD first = GetTickCount();
    SendUpdateRecord(launcher_, UpdateRecord(testservers::FaultUrl("stall-size", "runecourt-held.exe")));
    PumpMessagesFor(1000);
    const DWORD second = GetTickCount();
    SendUpdateRecord(launcher_, UpdateRecord(testservers::FaultUrl("stall-size", "runecourt-held.exe")));
    ASSERT_TRUE(WaitUntil(6000, [&] { return hall_->Record().updateTimerFires > 0; })) << "no update check";
    const DWORD delay = hall_->Record().firstUpdateTimerTick - second;
    EXPECT_GE(delay, 1900u);
    EXPECT_LE(delay, 2800u);
    EXPECT_GE(hall_->Record().firstUpdateTimerTick - first, 2900u);

    // While the size query is held the launcher answers at once, and a record that arrives meanwhile
    // is the data of the next check.
    const DWORD stallStart = GetTickCount();
    DWORD slowest = 0;
    bool sentNext = false;
    while (FaultLogIndexOf(held) == testservers::FaultLog().size() && GetTickCount() - stallStart < 15000) {
        if (!sentNext && GetTickCount() - stallStart > 1000) {
            SendUpdateRecord(launcher_, UpdateRecord(testservers::FaultUrl("slow", "runecourt-next.exe")));
            sentNext = true;
        }
        DWORD_PTR answer = 0;
        const DWORD asked = GetTickCount();
        const bool answered = SendMessageTimeoutW(launcher_, WM_NULL, 0, 0, SMTO_NORMAL, 200, &answer) != 0;
        slowest = std::max(slowest, answered ? GetTickCount() - asked : DWORD{200});
        PumpMessagesFor(50);
    }
    EXPECT_LT(slowest, 200u) << "the launcher did not answer within 200 ms";
    EXPECT_GE(GetTickCount() - stallStart, 5000u) << "the size query was not held";
    ASSERT_TRUE(WaitUntil(8000, [&] { return FaultLogIndexOf(next) < testservers::FaultLog().size(); }))
        << "the record that arrived during the check was not checked";
    EXPECT_LT(FaultLogIndexOf(held), FaultLogIndexOf(next)) << "two checks ran at once";
    PumpMessagesFor(2500);
    const std::vector<std::string> log = testservers::FaultLog();
    EXPECT_EQ(testservers::LinesWith(log, held).size(), 1u) << "one check for the two first records";
    EXPECT_EQ(testservers::LinesWith(log, next).size(), 1u);
}

TEST_F(HallUpdateRecordTest, MalformedUpdateRecordsAreRefused) {
    std::vector<uint8_t> shortRecord = UpdateRecord();
    shortRecord.resize(childproc::kUpdateRecordSize - 2);
    SendUpdateRecord(launcher_, shortRecord);
    std::vector<uint8_t> unterminated = UpdateRecord();
    for (size_t i = childproc::kUpdateAddressOffset; i < unterminated.size(); ++i) {
        unterminated[i] = 'a';
    }
    SendUpdateRecord(launcher_, unterminated);
    PumpMessagesFor(3000);
    EXPECT_EQ(0, hall_->Record().updateTimerFires);
    EXPECT_FALSE(hall_->Process().WaitForExit(0)) << "the hall ended";
}

}  // namespace
}  // namespace halltests
