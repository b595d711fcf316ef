#include <gtest/gtest.h>

#include <string>

#include "skin/markup/TextCodec.h"
#include "skin/markup/TextCodecUtf8.h"

namespace SkinUI {
namespace {

std::wstring Decoded(const std::string& bytes) {
    return DecodeUtf8(bytes.data(), bytes.size());
}

std::wstring Replacements(size_t count) {
    return std::wstring(count, static_cast<wchar_t>(0xFFFD));
}
const std::wstring kFffd = Replacements(1);

TEST(TextCodec, Utf8DecodesEveryLengthAndCharactersBeyondTheBasicPlane) {
    EXPECT_EQ(Decoded("A\xC3\xA9\xE5\xBE\xAE"), L"A\u00e9\u5fae");
    const std::wstring clef = Decoded("\xF0\x9D\x84\x9E");
    if (sizeof(wchar_t) == 2) {
        ASSERT_EQ(clef.size(), 2u);
        EXPECT_EQ(static_cast<unsigned>(clef[0]), 0xD834u);
        EXPECT_EQ(static_cast<unsigned>(clef[1]), 0xDD1Eu);
    } else {
        ASSERT_EQ(clef.size(), 1u);
        EXPECT_EQ(static_cast<unsigned>(clef[0]), 0x1D11Eu);
    }
    EXPECT_EQ(Decoded(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
}

TEST(TextCodec, Utf8ReplacesEachIllFormedPartWithOneReplacementCharacter) {
    EXPECT_EQ(Decoded("\x80x"), kFffd + L"x");                // stray continuation byte
    EXPECT_EQ(Decoded("\xE5\xBEx"), kFffd + L"x");            // truncated before another character
    EXPECT_EQ(Decoded("\xC0\x80"), Replacements(2));          // overlong form of NUL
    EXPECT_EQ(Decoded("\xE0\x80\x80"), Replacements(3));      // overlong three-byte form
    EXPECT_EQ(Decoded("\xED\xA0\x80"), Replacements(3));      // an encoded surrogate
    EXPECT_EQ(Decoded("\xF4\x90\x80\x80"), Replacements(4));  // above U+10FFFF
    EXPECT_EQ(Decoded("\xF0\x9D\x84"), kFffd);
}

TEST(TextCodec, Utf8EncodingRoundTripsAndReplacesUnpairedSurrogates) {
    const std::string bytes = "x\xC3\xA9\xE5\xBE\xAE\xF0\x9D\x84\x9E";
    EXPECT_EQ(EncodeUtf8(Decoded(bytes)), bytes);
    std::wstring lone(1, static_cast<wchar_t>(0xD800));
    EXPECT_EQ(EncodeUtf8(lone + L"a"),
              "\xEF\xBF\xBD"
              "a");
}

TEST(TextCodec, ThePlatformConversionAgreesWithThePortableDecoderOnWellFormedText) {
    const std::string bytes =
        "<Font name=\"\xE5\xBE\xAE\xE8\xBD\xAF\xE9\x9B\x85\xE9\xBB\x91\"/>\xF0\x9D\x84\x9E";
    EXPECT_EQ(Utf8ToWide(bytes.data(), bytes.size()), Decoded(bytes));
    EXPECT_EQ(AnsiToWide("main.xml", 8), L"main.xml");
    EXPECT_EQ(WideToAnsi(L"Img/Bg.png"), "Img/Bg.png");
    EXPECT_EQ(Utf8ToWide(nullptr, 0), L"");
}

}  // namespace
}  // namespace SkinUI
