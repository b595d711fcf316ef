#include <gtest/gtest.h>

#include <filesystem>

#include "services/PackageTransfer.h"
#include "services/StdioPackageFile.h"
#include "services/UpdateRules.h"
#include "tests/services/support/UpdateServers.h"

namespace services {
namespace {

using testservers::LinesWith;

constexpr size_t kPackageSize = 3 * 1024 * 1024 + 17;

class PackageTransferTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(testservers::Available()) << "run through tools/with-update-servers.sh";
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        name_ = std::string(info->name()) + ".bin";
        package_ = testservers::PackageBytes(kPackageSize, static_cast<uint32_t>(name_.size()));
        testservers::Serve(name_, package_);
        folder_ = std::filesystem::temp_directory_path() / ("tolvane-transfer-" + name_);
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        local_ = (folder_ / name_).string();
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::vector<uint8_t> Local() const { return testservers::ReadWholeFile(local_); }
    DownloadResult Download(const std::string& address, uint64_t offset) {
        StdioPackageFile file(local_);
        return DownloadPackage(address, offset, file);
    }

    std::string name_;
    std::vector<uint8_t> package_;
    std::filesystem::path folder_;
    std::string local_;
};

TEST_F(PackageTransferTest, SizeQueryReadsTheFinalAnswer) {
    EXPECT_EQ(QueryRemoteSize(testservers::NginxUrl(name_)), kPackageSize);
    // The redirect announces 0 bytes of its own; the size that counts is the package's.
    EXPECT_EQ(QueryRemoteSize(testservers::FaultUrl("redirect", "slow/" + name_)), kPackageSize);
    EXPECT_EQ(QueryRemoteSize(testservers::NginxUrl("missing-" + name_)), kSizeQueryFailed);
    EXPECT_EQ(QueryRemoteSize(testservers::DeadUrl(name_)), kSizeQueryFailed);
    EXPECT_TRUE(LinesWith(testservers::NginxLog(), "GET /" + name_).empty())
        << "a size query fetches no body";
}

// A first download, a resume and servers that ignore ranges or cut the connection are met end to end
// by the self-update's tests.
TEST_F(PackageTransferTest, ErrorAnswersAndForeignRangesWriteNothing) {
    const std::vector<uint8_t> partial(package_.begin(), package_.begin() + 4096);
    testservers::WriteWholeFile(local_, partial.data(), partial.size());
    const struct {
        std::string address;
        int status;
    } answers[] = {{testservers::NginxUrl("missing-" + name_), 404},
                   {testservers::FaultUrl("wrong-range", name_), 206},
                   {testservers::DeadUrl(name_), 0}};
    for (const auto& answer : answers) {
        const DownloadResult result = Download(answer.address, partial.size());
        EXPECT_EQ(result.status, answer.status) << answer.address;
        EXPECT_EQ(result.bytesWritten, 0u) << answer.address;
        EXPECT_EQ(Local(), partial) << answer.address;
    }
    EXPECT_EQ(Download(testservers::NginxUrl(name_), kPackageSize).status, 416);
}

}  // namespace
}  // namespace services
