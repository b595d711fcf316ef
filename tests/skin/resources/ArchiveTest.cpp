#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/resources/Archive.h"
#include "tests/skin/resources/SkinTestFolder.h"
#include "tests/skin/resources/TestArchiveBuilder.h"

namespace SkinUI {
namespace {

using skintest::Packing;
using skintest::PutLe16;
using skintest::PutLe32;
using skintest::TestArchiveBuilder;

std::string Pattern(size_t size) {
    std::string data(size, '\0');
    for (size_t i = 0; i < size; ++i) {
        data[i] = static_cast<char>("skin markup "[i % 12] + (i / 997) % 7);
    }
    return data;
}

// Extracts a whole entry by name; the status of the first call that did not succeed otherwise.
uint32_t ExtractByName(const SkinArchive* archive, const std::wstring& name, std::string& data) {
    ArchiveEntryInfo entry;
    const uint32_t found = FindArchiveEntry(archive, name, true, entry);
    if (found != kArchiveDone) {
        return found;
    }
    data.assign(entry.uncompressedSize, '\0');
    return ExtractArchiveEntry(archive, entry.index, data.data(), data.size());
}

struct SampleArchive {
    std::string stored = "<Window size=\"1280,768\" />";
    std::string deflated = Pattern(200000);
    std::string described = Pattern(5000);
    std::vector<uint8_t> bytes;
    TestArchiveBuilder::Layout layout;

    SampleArchive() {
        TestArchiveBuilder builder;
        builder.Add("main.xml", stored)
            .Add("Img/Bg.png", deflated, Packing::Deflated)
            .Add("later.xml", described, Packing::Deflated, true)
            .Comment("skin archive");
        bytes = builder.Build();
        layout = builder.LastLayout();
    }
};

TEST(SkinArchive, StoredDeflatedAndDescribedEntriesExtractWholeOrInPart) {
    const SampleArchive sample;
    ArchivePtr archive = OpenArchive(sample.bytes.data(), sample.bytes.size());
    ASSERT_NE(archive, nullptr);
    EXPECT_EQ(ArchiveEntryCount(archive.get()), 3);
    std::string data;
    EXPECT_EQ(ExtractByName(archive.get(), L"main.xml", data), kArchiveDone);
    EXPECT_EQ(data, sample.stored);
    EXPECT_EQ(ExtractByName(archive.get(), L"img\\bg.PNG", data), kArchiveDone);
    EXPECT_EQ(data, sample.deflated);
    EXPECT_EQ(ExtractByName(archive.get(), L"LATER.xml", data), kArchiveDone);
    EXPECT_EQ(data, sample.described);
    for (int index : {0, 1}) {
        std::string part(10, '\0');
        EXPECT_EQ(ExtractArchiveEntry(archive.get(), index, part.data(), part.size()), kArchiveMoreData);
        EXPECT_EQ(part, (index == 0 ? sample.stored : sample.deflated).substr(0, 10));
    }
    EXPECT_EQ(CloseArchive(archive), kArchiveDone);
    EXPECT_EQ(archive, nullptr);
}

TEST(SkinArchive, LookupConvertsSeparatorsAndIgnoresCaseOnlyWhenAsked) {
    const SampleArchive sample;
    ArchivePtr archive = OpenArchive(sample.bytes.data(), sample.bytes.size());
    ASSERT_NE(archive, nullptr);
    ArchiveEntryInfo entry;
    ASSERT_EQ(FindArchiveEntry(archive.get(), L"img\\bg.png", true, entry), kArchiveDone);
    EXPECT_EQ(entry.index, 1);
    EXPECT_EQ(entry.name, "Img/Bg.png");
    EXPECT_EQ(entry.uncompressedSize, sample.deflated.size());
    EXPECT_EQ(FindArchiveEntry(archive.get(), L"Img\\Bg.png", false, entry), kArchiveDone);
    EXPECT_EQ(FindArchiveEntry(archive.get(), L"img/bg.png", false, entry), kArchiveNotFound);
    EXPECT_EQ(FindArchiveEntry(archive.get(), L"main.xm", true, entry), kArchiveNotFound);
    EXPECT_EQ(FindArchiveEntry(archive.get(), std::wstring(256, L'a'), true, entry), kArchiveBadArgument);
    EXPECT_EQ(FindArchiveEntry(archive.get(), std::wstring(255, L'a'), true, entry), kArchiveNotFound);
}

TEST(SkinArchive, IndicesOutsideTheArchiveAndAnEmptyArchive) {
    const SampleArchive sample;
    ArchivePtr archive = OpenArchive(sample.bytes.data(), sample.bytes.size());
    char byte = 0;
    EXPECT_EQ(ExtractArchiveEntry(archive.get(), 3, &byte, 1), kArchiveBadArgument);
    EXPECT_EQ(ExtractArchiveEntry(archive.get(), 0, nullptr, 5), kArchiveBadArgument);
    const std::vector<uint8_t> empty = TestArchiveBuilder().Build();
    archive = OpenArchive(empty.data(), empty.size());
    ASSERT_NE(archive, nullptr);
    EXPECT_EQ(ArchiveEntryCount(archive.get()), 0);
}

TEST(SkinArchive, TruncationAtEveryOffsetIsRefusedCleanly) {
    const SampleArchive sample;
    for (size_t size = 0; size < sample.bytes.size(); ++size) {
        // Even a cut into the comment leaves an end record whose comment runs past the end.
        const std::vector<uint8_t> cut(sample.bytes.begin(), sample.bytes.begin() + static_cast<long>(size));
        EXPECT_EQ(OpenArchive(cut.data(), cut.size()), nullptr) << size;
        EXPECT_NE(LastArchiveStatus(), kArchiveDone) << size;
    }
}

TEST(SkinArchive, LyingDirectoryRecordsAreCaught) {
    const SampleArchive sample;
    const size_t firstCentral = sample.layout.centralHeaders[0];
    const size_t secondCentral = sample.layout.centralHeaders[1];
    const size_t end = sample.layout.endRecord;
    struct Lie {
        const char* what;
        size_t at;
        uint32_t value;
        bool wide;
        bool opens;
        uint32_t findStatus;
    };
    const Lie lies[] = {
        {"directory offset past the end", end + 16, 0x7FFFFFF0, true, false, 0},
        {"directory size past the end", end + 12, 0x00FFFFFF, true, false, 0},
        {"more entries than the directory holds", end + 10, 400, false, false, 0},
        {"local header past the directory", secondCentral + 42, 0x00FFFFFF, true, false, 0},
        {"packed size past the data", secondCentral + 20, 0x7FFFFFFF, true, true, kArchiveCorrupt},
        {"stored sizes that differ", firstCentral + 24, 5, true, true, kArchiveCorrupt},
        {"three gigabytes from a few bytes", secondCentral + 24, 0xC0000000u, true, true, kArchiveCorrupt},
    };
    for (const Lie& lie : lies) {
        std::vector<uint8_t> bytes = sample.bytes;
        if (lie.wide) {
            PutLe32(bytes, lie.at, lie.value);
        } else {
            PutLe16(bytes, lie.at, static_cast<uint16_t>(lie.value));
            PutLe16(bytes, lie.at - 2, static_cast<uint16_t>(lie.value));
        }
        ArchivePtr archive = OpenArchive(bytes.data(), bytes.size());
        ASSERT_EQ(archive != nullptr, lie.opens) << lie.what;
        if (!archive) {
            EXPECT_EQ(LastArchiveStatus(), kArchiveCorrupt) << lie.what;
            continue;
        }
        const wchar_t* name = lie.at < secondCentral ? L"main.xml" : L"img/bg.png";
        ArchiveEntryInfo entry;
        EXPECT_EQ(FindArchiveEntry(archive.get(), name, true, entry), lie.findStatus) << lie.what;
        std::string data(64, '\0');
        EXPECT_EQ(ExtractArchiveEntry(archive.get(), entry.index, data.data(), data.size()), kArchiveCorrupt)
            << lie.what;
    }
}

TEST(SkinArchive, EntriesWhoseDataBetraysTheirRecordAreRefused) {
    using Entry = TestArchiveBuilder::Entry;
    const std::string big(1 << 20, 'z');  // a megabyte of one letter deflates to about a kilobyte
    const Entry entries[] = {
        {"bomb.png", big.substr(0, 1000), Packing::Deflated, false, skintest::RawDeflate(big), 0xFFFF, 0},
        {"short.png", big.substr(0, 5000), Packing::Deflated, false,
         skintest::RawDeflate(big.substr(0, 4000)), 0xFFFF, 0},
        {"garbage.png", "some text", Packing::Deflated, false, std::string(5, '\xFF'), 0xFFFF, 0},
        {"checksum.png", "expected", Packing::Stored, false, "xpected!", 0xFFFF, 0},
        {"a.bin", "data", Packing::Stored, false, "", 12, 0},      // a method other than stored or deflated
        {"b.bin", "data", Packing::Stored, false, "", 0xFFFF, 1},  // encrypted
    };
    const uint32_t expected[] = {kArchiveCorrupt, kArchiveCorrupt,     kArchiveCorrupt,
                                 kArchiveCorrupt, kArchiveUnsupported, kArchiveUnsupported};
    TestArchiveBuilder builder;
    for (const Entry& entry : entries) {
        builder.Add(entry);
    }
    const std::vector<uint8_t> bytes = builder.Build();
    ArchivePtr archive = OpenArchive(bytes.data(), bytes.size());
    ASSERT_NE(archive, nullptr);
    for (int i = 0; i < 6; ++i) {
        std::string data(entries[i].data.size(), '\0');
        EXPECT_EQ(ExtractArchiveEntry(archive.get(), i, data.data(), data.size()), expected[i]) << i;
    }
    std::string part(500, '\0');
    EXPECT_EQ(ExtractArchiveEntry(archive.get(), 0, part.data(), part.size()), kArchiveMoreData);
}

TEST(SkinArchive, NoBitFlippedInDeflatedDataExtractsAsAWholeEntry) {
    const std::string markup =
        "<Window size=\"1280,768\" caption=\"0,0,0,30\"><VerticalLayout bkimage=\"bg.png\"><Button "
        "name=\"closebtn\" float=\"true\" pos=\"1240,4,1270,26\" normalimage=\"close.png\"/></VerticalLayout>"
        "</Window>";
    const std::vector<uint8_t> sound =
        TestArchiveBuilder().Add("main.xml", markup, Packing::Deflated).Build();
    const size_t dataStart = 30 + (sound[26] | sound[27] << 8) + (sound[28] | sound[29] << 8);
    for (size_t bit = 0; bit < skintest::RawDeflate(markup).size() * 8; ++bit) {
        std::vector<uint8_t> bytes = sound;
        bytes[dataStart + bit / 8] ^= static_cast<uint8_t>(1u << (bit % 8));
        ArchivePtr archive = OpenArchive(bytes.data(), bytes.size());
        ASSERT_NE(archive, nullptr);
        std::string data(markup.size(), '\0');
        if (ExtractArchiveEntry(archive.get(), 0, data.data(), data.size()) == kArchiveDone) {
            // Only the unused bits after the last block may change without changing the bytes.
            ASSERT_EQ(data, markup) << "bit " << bit;
        }
    }
}

TEST(SkinArchive, ArchiveFilesAreReadInPieces) {
    const SampleArchive sample;
    skintest::SkinTestFolder folder;
    folder.Write(L"skin.zip", sample.bytes);
    ArchivePtr archive = OpenArchive((folder.Path() / L"skin.zip").wstring());
    ASSERT_NE(archive, nullptr);
    std::string data;
    EXPECT_EQ(ExtractByName(archive.get(), L"img/bg.png", data), kArchiveDone);
    EXPECT_EQ(data, sample.deflated);
    std::string part(70000, '\0');
    EXPECT_EQ(ExtractArchiveEntry(archive.get(), 1, part.data(), part.size()), kArchiveMoreData);
    EXPECT_EQ(part, sample.deflated.substr(0, part.size()));

    std::vector<uint8_t> lying = sample.bytes;
    PutLe32(lying, sample.layout.centralHeaders[1] + 24, static_cast<uint32_t>(sample.deflated.size() + 1));
    folder.Write(L"lying.zip", lying);
    archive = OpenArchive((folder.Path() / L"lying.zip").wstring());
    ASSERT_NE(archive, nullptr);
    EXPECT_EQ(ExtractByName(archive.get(), L"img/bg.png", data), kArchiveCorrupt);

    EXPECT_EQ(OpenArchive((folder.Path() / L"missing.zip").wstring()), nullptr);
    EXPECT_EQ(LastArchiveStatus(), kArchiveNoFile);
}

}  // namespace
}  // namespace SkinUI
