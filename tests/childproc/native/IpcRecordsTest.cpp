#include <gtest/gtest.h>

#include "childproc/IpcProtocol.h"

namespace {

using ipc::UpdateInfo;

uint16_t UnitAt(const std::vector<uint8_t>& record, size_t byteOffset) {
    return static_cast<uint16_t>(record[byteOffset] | (record[byteOffset + 1] << 8));
}

TEST(UpdateRecord, OverlongTextsAreCutAtTheirFieldsAndStillTerminated) {
    const std::vector<uint8_t> record =
        ipc::WriteUpdateRecord({std::wstring(80, L'c'), std::wstring(600, L'u')});
    EXPECT_EQ(UnitAt(record, 2 * 48), u'c');
    EXPECT_EQ(UnitAt(record, 2 * 49), 0);
    EXPECT_EQ(UnitAt(record, 100 + 2 * 510), u'u');
    EXPECT_EQ(UnitAt(record, 100 + 2 * 511), 0);
    UpdateInfo back;
    ASSERT_TRUE(ipc::ReadUpdateRecord(record.data(), record.size(), back));
    EXPECT_EQ(back.checksum, std::wstring(49, L'c'));
    EXPECT_EQ(back.address, std::wstring(511, L'u'));
}

TEST(UpdateRecord, RoundTripsNonAsciiTextIncludingSurrogatePairs) {
    const UpdateInfo info{L"5d41402abc4b2a76b9719d911017c592", L"http://h/\u66f4\u65b0/\U0001F600.exe"};
    const std::vector<uint8_t> record = ipc::WriteUpdateRecord(info);
    UpdateInfo back;
    ASSERT_TRUE(ipc::ReadUpdateRecord(record.data(), record.size(), back));
    EXPECT_EQ(back.checksum, info.checksum);
    EXPECT_EQ(back.address, info.address);
}

TEST(UpdateRecord, RefusesWrongSizesAndUnterminatedFields) {
    std::vector<uint8_t> record = ipc::WriteUpdateRecord({L"md5", L"http://h/p.exe"});
    UpdateInfo out{L"stale", L"stale"};
    EXPECT_FALSE(ipc::ReadUpdateRecord(record.data(), 1123, out));
    EXPECT_TRUE(out.checksum.empty() && out.address.empty());
    EXPECT_FALSE(ipc::ReadUpdateRecord(nullptr, 1124, out));
    std::vector<uint8_t> longer = record;
    longer.push_back(0);
    EXPECT_FALSE(ipc::ReadUpdateRecord(longer.data(), longer.size(), out));

    std::vector<uint8_t> noChecksumEnd = record;
    for (size_t i = 0; i < 100; i += 2)
        noChecksumEnd[i] = 'x';
    EXPECT_FALSE(ipc::ReadUpdateRecord(noChecksumEnd.data(), noChecksumEnd.size(), out));

    std::vector<uint8_t> noAddressEnd = record;
    for (size_t i = 100; i < 1124; i += 2)
        noAddressEnd[i] = 'y';
    EXPECT_FALSE(ipc::ReadUpdateRecord(noAddressEnd.data(), noAddressEnd.size(), out));

    // Empty texts are well-formed: a page may announce a checksum without an address.
    const std::vector<uint8_t> empty = ipc::WriteUpdateRecord({L"abc", L""});
    ASSERT_TRUE(ipc::ReadUpdateRecord(empty.data(), empty.size(), out));
    EXPECT_EQ(out.address, L"");
}

}  // namespace
