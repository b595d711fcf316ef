#include <gtest/gtest.h>

#include <cstring>

#include "childproc/IpcProtocol.h"

namespace {

TEST(NarrowText, IsWrittenWithItsTerminatorAndReadBack) {
    const std::vector<uint8_t> bytes = ipc::WriteNarrowText("http://h/wd_rnct.html?channel=46");
    EXPECT_EQ(bytes.size(), 33u);
    EXPECT_EQ(bytes.back(), 0);
    std::string text;
    ASSERT_TRUE(ipc::ReadNarrowText(bytes.data(), bytes.size(), text));
    EXPECT_EQ(text, "http://h/wd_rnct.html?channel=46");
    EXPECT_EQ(ipc::WriteNarrowText(""), std::vector<uint8_t>{0});
    EXPECT_EQ(ipc::WriteNarrowText(std::string("ab\0cd", 5)), (std::vector<uint8_t>{'a', 'b', 0}));
}

TEST(NarrowText, AbsentDataIsEmptyAndUnterminatedDataIsRefused) {
    std::string text = "stale";
    EXPECT_TRUE(ipc::ReadNarrowText(nullptr, 0, text));
    EXPECT_EQ(text, "");
    const char unterminated[] = {'a', 'b', 'c'};
    text = "stale";
    EXPECT_FALSE(ipc::ReadNarrowText(unterminated, sizeof unterminated, text));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(ipc::ReadNarrowText(nullptr, 4, text));
    // The terminator must lie inside the count: a count one short of it is unterminated.
    const char address[] = "abc";
    EXPECT_FALSE(ipc::ReadNarrowText(address, 3, text));
    ASSERT_TRUE(ipc::ReadNarrowText(address, 4, text));
    EXPECT_EQ(text, "abc");
    const char early[] = {'x', 0, 'y', 0};
    ASSERT_TRUE(ipc::ReadNarrowText(early, sizeof early, text));
    EXPECT_EQ(text, "x");
}

TEST(WideText, IsLittleEndianUtf16WithTerminator) {
    const std::vector<uint8_t> bytes = ipc::WriteWideText(L"A\u670d\U0001F600");
    ASSERT_EQ(bytes.size(), 2u * 4 + 2);
    const uint8_t expected[] = {'A', 0, 0x0D, 0x67, 0x3D, 0xD8, 0x00, 0xDE, 0, 0};
    EXPECT_EQ(0, std::memcmp(bytes.data(), expected, sizeof expected));
    std::wstring text;
    ASSERT_TRUE(ipc::ReadWideText(bytes.data(), bytes.size(), text));
    EXPECT_EQ(text, L"A\u670d\U0001F600");
    EXPECT_EQ(ipc::WriteWideText(L"").size(), 2u);
}

TEST(WideText, RefusesOddEmptyAndUnterminatedData) {
    const std::vector<uint8_t> good = ipc::WriteWideText(L"abc");
    std::wstring text = L"stale";
    EXPECT_FALSE(ipc::ReadWideText(good.data(), good.size() - 1, text));
    EXPECT_EQ(text, L"");
    EXPECT_FALSE(ipc::ReadWideText(good.data(), good.size() - 2, text));
    EXPECT_FALSE(ipc::ReadWideText(good.data(), 0, text));
    EXPECT_FALSE(ipc::ReadWideText(nullptr, 8, text));
    // A zero byte that is only half a unit is no terminator.
    const uint8_t halfZero[] = {'a', 0, 0, 'b'};
    EXPECT_FALSE(ipc::ReadWideText(halfZero, sizeof halfZero, text));
}

TEST(OwnerRecord, IsFourLittleEndianBytesAndNothingElse) {
    const std::vector<uint8_t> record = ipc::WriteOwnerRecord(0x00A1B2C3);
    EXPECT_EQ(record, (std::vector<uint8_t>{0xC3, 0xB2, 0xA1, 0x00}));
    uint32_t window = 7;
    ASSERT_TRUE(ipc::ReadOwnerRecord(record.data(), record.size(), window));
    EXPECT_EQ(window, 0x00A1B2C3u);
    EXPECT_FALSE(ipc::ReadOwnerRecord(record.data(), 3, window));
    EXPECT_EQ(window, 0u);
    const uint8_t eight[8] = {1};
    EXPECT_FALSE(ipc::ReadOwnerRecord(eight, sizeof eight, window));
    EXPECT_FALSE(ipc::ReadOwnerRecord(nullptr, 4, window));
}

TEST(HandOverBlock, CountMustFitTheBlock) {
    uint8_t block[4 + 6] = {};
    const uint8_t payload[6] = {'M', 'E', 'O', 'W', 1, 2};
    ASSERT_TRUE(ipc::WriteHandOverBlock(block, sizeof block, payload, sizeof payload));
    EXPECT_EQ(block[0], 6);
    EXPECT_EQ(0, std::memcmp(block + 4, payload, sizeof payload));
    EXPECT_FALSE(ipc::WriteHandOverBlock(block, sizeof block - 1, payload, sizeof payload));
    EXPECT_FALSE(ipc::WriteHandOverBlock(block, 3, payload, 0));

    uint32_t count = 99;
    ASSERT_TRUE(ipc::ReadHandOverCount(block, sizeof block, count));
    EXPECT_EQ(count, 6u);
    EXPECT_FALSE(ipc::ReadHandOverCount(block, sizeof block - 1, count));
    EXPECT_EQ(count, 0u);
    EXPECT_FALSE(ipc::ReadHandOverCount(block, 3, count));
    block[3] = 0x80;  // a count far beyond the block
    EXPECT_FALSE(ipc::ReadHandOverCount(block, sizeof block, count));
    const uint8_t zero[8] = {};
    EXPECT_FALSE(ipc::ReadHandOverCount(zero, sizeof zero, count));
}

TEST(PageState, ParametersPackAsTheOwnerExpects) {
    EXPECT_EQ(ipc::PageStateCommandParam(ipc::kPageStateForwardCommand, true), 0x10001u);
    EXPECT_EQ(ipc::PageStateCommandParam(ipc::kPageStateBackCommand, false), 0u);
    EXPECT_EQ(ipc::PackScrollOffsets(0x10, 0x20), 0x00200010u);
    EXPECT_EQ(ipc::PackScrollOffsets(0x1FFFF, 0x1), 0x0001FFFFu);
    EXPECT_EQ(ipc::PackScrollOffsets(-1, 0), 0x0000FFFFu);
}

}  // namespace
