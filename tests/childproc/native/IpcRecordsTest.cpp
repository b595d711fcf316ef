// The records that cross between the hall, the child and its pages: their exact bytes, and every
// malformed record refused with nothing of it left in the out value.
#include <gtest/gtest.h>

#include <cstring>

#include "childproc/IpcProtocol.h"

namespace childproc {
namespace {

using Bytes = std::vector<uint8_t>;

struct Data {
    const void* bytes;
    size_t size;
};

TEST(IpcRecords, TextsAndOwnersAreWrittenAsTheOtherSideReadsThem) {
    EXPECT_EQ(WriteNarrowText("ab"), (Bytes{'a', 'b', 0}));
    EXPECT_EQ(WriteNarrowText(std::string("ab\0cd", 5)), (Bytes{'a', 'b', 0}));
    const Bytes wide = WriteWideText(L"A\u670d\U0001F600");
    EXPECT_EQ(wide, (Bytes{'A', 0, 0x0D, 0x67, 0x3D, 0xD8, 0x00, 0xDE, 0, 0}));
    EXPECT_EQ(WriteOwnerRecord(0x00A1B2C3), (Bytes{0xC3, 0xB2, 0xA1, 0x00}));

    std::wstring wideBack;
    std::string narrow = "stale", early;
    const char earlyEnd[] = {'x', 0, 'y', 0};
    EXPECT_TRUE(ReadWideText(wide.data(), wide.size(), wideBack) && wideBack == L"A\u670d\U0001F600");
    EXPECT_TRUE(ReadNarrowText(nullptr, 0, narrow) && narrow.empty());  // no data at all: the absent text
    EXPECT_TRUE(ReadNarrowText(earlyEnd, sizeof earlyEnd, early) && early == "x");
}

TEST(IpcRecords, MalformedTextsAndOwnersAreRefused) {
    const char abc[] = "abc";
    const Bytes wideAbc = WriteWideText(L"abc");
    const uint8_t halfZero[] = {'a', 0, 0, 'b'};  // a zero byte that is only half a unit
    const uint8_t eight[8] = {1};
    // The terminator must lie inside the count.
    for (const Data& d : {Data{abc, 3}, Data{nullptr, 4}}) {
        std::string out = "stale";
        EXPECT_FALSE(ReadNarrowText(d.bytes, d.size, out)) << d.size;
        EXPECT_EQ(out, "");
    }
    for (const Data& d : {Data{wideAbc.data(), 7}, Data{wideAbc.data(), 6}, Data{wideAbc.data(), 0},
                          Data{nullptr, 8}, Data{halfZero, 4}}) {
        std::wstring out = L"stale";
        EXPECT_FALSE(ReadWideText(d.bytes, d.size, out)) << d.size;
        EXPECT_EQ(out, L"");
    }
    for (const Data& d : {Data{abc, 3}, Data{eight, 8}, Data{nullptr, 4}}) {
        uint32_t window = 7;
        EXPECT_FALSE(ReadOwnerRecord(d.bytes, d.size, window)) << d.size;
        EXPECT_EQ(window, 0u);
    }
}

TEST(UpdateRecord, TextsAreCutAtTheirFieldsAndRoundTripWithSurrogatePairs) {
    const Bytes record = WriteUpdateRecord({std::wstring(80, L'c'), std::wstring(600, L'u')});
    ASSERT_EQ(record.size(), 1124u);
    EXPECT_EQ(record[100], 'u');  // the address field starts after the checksum's 100 bytes
    UpdateInfo back;
    ASSERT_TRUE(ReadUpdateRecord(record.data(), record.size(), back));
    EXPECT_EQ(back.checksum, std::wstring(49, L'c'));
    EXPECT_EQ(back.address, std::wstring(511, L'u'));

    const UpdateInfo info{L"5d41402a", L"http://h/\u66f4\u65b0/\U0001F600.exe"};
    const Bytes other = WriteUpdateRecord(info);
    ASSERT_TRUE(ReadUpdateRecord(other.data(), other.size(), back));
    EXPECT_EQ(back.checksum, info.checksum);
    EXPECT_EQ(back.address, info.address);
}

TEST(UpdateRecord, RefusesWrongSizesAndUnterminatedFields) {
    const Bytes record = WriteUpdateRecord({L"md5", L""});  // an empty address is well-formed
    UpdateInfo out;
    ASSERT_TRUE(ReadUpdateRecord(record.data(), record.size(), out));
    Bytes longer = record, noChecksumEnd = record, noAddressEnd = record;
    longer.push_back(0);
    std::memset(noChecksumEnd.data(), 'x', 100);
    std::memset(noAddressEnd.data() + 100, 'y', 1024);
    for (const Data& d : {Data{record.data(), 1123}, Data{nullptr, 1124}, Data{longer.data(), longer.size()},
                          Data{noChecksumEnd.data(), 1124}, Data{noAddressEnd.data(), 1124}}) {
        out = {L"stale", L"stale"};
        EXPECT_FALSE(ReadUpdateRecord(d.bytes, d.size, out)) << d.size;
        EXPECT_TRUE(out.checksum.empty() && out.address.empty());
    }
}

TEST(HandOverBlock, CountMustFitTheBlock) {
    uint8_t block[4 + 6] = {};
    const uint8_t payload[6] = {'M', 'E', 'O', 'W', 1, 2};
    ASSERT_TRUE(WriteHandOverBlock(block, sizeof block, payload, sizeof payload));
    EXPECT_EQ(block[0], 6);
    EXPECT_EQ(0, std::memcmp(block + 4, payload, sizeof payload));
    EXPECT_FALSE(WriteHandOverBlock(block, sizeof block - 1, payload, sizeof payload));
    EXPECT_FALSE(WriteHandOverBlock(block, 3, payload, 0));

    uint32_t count = 99;
    ASSERT_TRUE(ReadHandOverCount(block, sizeof block, count));
    EXPECT_EQ(count, 6u);
    const uint8_t huge[8] = {0, 0, 0, 0x80};  // a count far beyond the block
    const uint8_t zero[8] = {};
    for (const Data& d : {Data{block, sizeof block - 1}, Data{block, 3}, Data{huge, 8}, Data{zero, 8}}) {
        count = 99;
        EXPECT_FALSE(ReadHandOverCount(d.bytes, d.size, count)) << d.size;
        EXPECT_EQ(count, 0u);
    }
}

}  // namespace
}  // namespace childproc
