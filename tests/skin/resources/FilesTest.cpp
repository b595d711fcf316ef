#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/markup/Markup.h"
#include "skin/resources/Files.h"
#include "skin/resources/Resources.h"
#include "tests/skin/resources/SkinTestFolder.h"
#include "tests/skin/resources/TestArchiveBuilder.h"

namespace SkinUI {
namespace {

using skintest::Packing;
using skintest::SkinTestFolder;
using skintest::TestArchiveBuilder;

constexpr size_t kFourMiB = 4 * 1024 * 1024;

// Markup of exactly `size` bytes: one element padded with blanks.
std::string MarkupOfSize(size_t size) {
    std::string text = "<Window name=\"big\">";
    text += std::string(size - text.size() - 9, ' ');
    text += "</Window>";
    return text;
}

std::string Text(const std::vector<uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

class SkinFiles : public ::testing::Test {
  protected:
    void SetUp() override { ResetResourceSettings(); }
    void TearDown() override { ResetResourceSettings(); }

    SkinTestFolder folder_;
};

TEST_F(SkinFiles, FromTheSkinFolderAndItsPath) {
    SetSkinPath(L"skins");
    EXPECT_EQ(SkinPath(), L"skins\\");
    SetSkinPath(L"skins/");
    EXPECT_EQ(SkinPath(), L"skins/");
    const std::wstring instance = InstanceFolder();
    ASSERT_FALSE(instance.empty());
    EXPECT_TRUE(instance.back() == L'\\' || instance.back() == L'/');
    EXPECT_EQ(ModuleFileName(nullptr).rfind(instance, 0), 0u);

    folder_.Write(L"main.xml", std::string("<Window />"));
    SetSkinPath(folder_.WithSeparator());
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(LoadSkinFileBytes(L"main.xml", L"", bytes));
    EXPECT_EQ(Text(bytes), "<Window />");
    EXPECT_FALSE(LoadSkinFileBytes(L"missing.xml", L"", bytes));
    EXPECT_TRUE(bytes.empty());
}

TEST_F(SkinFiles, FromAnArchiveFileKeptOpenOrOpenedForEachLoad) {
    UseArchiveFile(L"skin.zip", true);  // no skin path yet: nothing to open until the next load
    EXPECT_EQ(KeptArchive(), nullptr);
    folder_.Write(L"skin.zip", TestArchiveBuilder().Add("img/bg.png", "png", Packing::Deflated).Build());
    SetSkinPath(folder_.WithSeparator());
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(LoadSkinFileBytes(L"img\\BG.png", L"", bytes));
    EXPECT_EQ(Text(bytes), "png");
    SkinArchive* kept = KeptArchive();
    ASSERT_NE(kept, nullptr);
    UseArchiveFile(L"skin.zip", true);
    EXPECT_EQ(KeptArchive(), kept);  // the same settings again change nothing

    UseArchiveFile(L"skin.zip", false);
    EXPECT_EQ(KeptArchive(), nullptr);
    // Opened for each load: a changed file is seen at once.
    folder_.Write(L"skin.zip", TestArchiveBuilder().Add("main.xml", "<Changed />").Build());
    ASSERT_TRUE(LoadSkinFileBytes(L"main.xml", L"", bytes));
    EXPECT_EQ(Text(bytes), "<Changed />");
}

TEST_F(SkinFiles, FromAnArchiveInMemoryThatStaysTheOneFirstGiven) {
    static const std::vector<uint8_t> block =
        TestArchiveBuilder().Add("game.xml", "<Window />", Packing::Deflated).Build();
    static const std::vector<uint8_t> other = TestArchiveBuilder().Add("game.xml", "<Other />").Build();
    UseArchiveMemory(block.data(), block.size());
    EXPECT_EQ(ArchiveName(), L"membuffer");
    UseArchiveMemory(other.data(), other.size());
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(LoadSkinFileBytes(L"GAME.XML", L"", bytes));
    EXPECT_EQ(Text(bytes), "<Window />");
}

TEST_F(SkinFiles, ASkinFileOfFourMebibytesLoadsAndOneByteMoreDoesNot) {
    folder_.Write(L"exact.xml", MarkupOfSize(kFourMiB));
    folder_.Write(L"over.xml", MarkupOfSize(kFourMiB + 1));
    SetSkinPath(folder_.WithSeparator());
    CSkinMarkup markup;
    ASSERT_TRUE(markup.ParseSkinFile(L"exact.xml", SkinTextEncoding::Utf8)) << markup.ErrorMessage();
    EXPECT_STREQ(markup.Root().FindAttribute(L"name"), L"big");
    EXPECT_FALSE(markup.ParseSkinFile(L"over.xml", SkinTextEncoding::Utf8));
    EXPECT_STREQ(markup.ErrorMessage(), L"File too large");
    EXPECT_FALSE(markup.IsValid());

    const std::vector<uint8_t> archive = TestArchiveBuilder()
                                             .Add("exact.xml", MarkupOfSize(kFourMiB), Packing::Deflated)
                                             .Add("over.xml", MarkupOfSize(kFourMiB + 1), Packing::Deflated)
                                             .Build();
    UseArchiveMemory(archive.data(), archive.size());
    ASSERT_TRUE(markup.ParseSkinFile(L"exact.xml", SkinTextEncoding::Utf8)) << markup.ErrorMessage();
    EXPECT_FALSE(markup.ParseSkinFile(L"over.xml", SkinTextEncoding::Utf8));
    EXPECT_STREQ(markup.ErrorMessage(), L"File too large");
    ResetResourceSettings();
}

TEST_F(SkinFiles, EachFailureToReadASkinFileHasItsMessage) {
    folder_.Write(L"empty.xml", std::string());
    folder_.Write(L"broken.zip", std::string("PK not really"));
    TestArchiveBuilder::Entry damaged;
    damaged.name = "damaged.xml";
    damaged.data = "<Window />";
    damaged.packedOverride = "<Windoe />";
    folder_.Write(L"skin.zip", TestArchiveBuilder().Add("empty.xml", "").Add(damaged).Build());
    SetSkinPath(folder_.WithSeparator());
    struct Case {
        const wchar_t* archive;
        const wchar_t* file;
        const wchar_t* message;
    };
    const Case cases[] = {
        {L"", L"missing.xml", L"Error opening file"},
        {L"", L"empty.xml", L"File is empty"},
        {L"missing.zip", L"main.xml", L"Error opening zip file"},
        {L"broken.zip", L"main.xml", L"Error opening zip file"},
        {L"skin.zip", L"main.xml", L"Could not find ziped file"},
        {L"skin.zip", L"empty.xml", L"File is empty"},
        {L"skin.zip", L"damaged.xml", L"Could not unzip file"},
    };
    for (const Case& c : cases) {
        UseArchiveFile(c.archive, false);
        CSkinMarkup markup;
        ASSERT_TRUE(markup.ParseText(L"<a/>"));
        EXPECT_FALSE(markup.ParseSkinFile(c.file, SkinTextEncoding::Utf8)) << c.file;
        EXPECT_STREQ(markup.ErrorMessage(), c.message) << c.archive << L" " << c.file;
        EXPECT_STREQ(markup.ErrorLocation(), L"");
        EXPECT_FALSE(markup.IsValid());
    }
}

}  // namespace
}  // namespace SkinUI
