#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/SkinArchive.h"
#include "tests/skin/native/SkinTestFolder.h"
#include "tests/skin/native/TestArchiveBuilder.h"

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

TEST(SkinArchive, StoredDeflatedAndDescribedEntriesExtractWhole) {
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
    EXPECT_EQ(LastArchiveStatus(), kArchiveDone);
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
    EXPECT_EQ(entry.method, 8);
    EXPECT_EQ(entry.uncompressedSize, sample.deflated.size());
    EXPECT_EQ(entry.modifiedDate, 0x21);
    EXPECT_EQ(FindArchiveEntry(archive.get(), L"Img\\Bg.png", false, entry), kArchiveDone);
    EXPECT_EQ(FindArchiveEntry(archive.get(), L"img/bg.png", false, entry), kArchiveNotFound);
    EXPECT_EQ(FindArchiveEntry(archive.get(), L"main.xm", true, entry), kArchiveNotFound);
    EXPECT_EQ(LastArchiveStatus(), kArchiveNotFound);
    EXPECT_EQ(FindArchiveEntry(archive.get(), std::wstring(256, L'a'), true, entry), kArchiveBadArgument);
    EXPECT_EQ(FindArchiveEntry(archive.get(), std::wstring(255, L'a'), true, entry), kArchiveNotFound);
}

TEST(SkinArchive, ASmallerBufferGetsTheStartAndMoreData) {
    const SampleArchive sample;
    ArchivePtr archive = OpenArchive(sample.bytes.data(), sample.bytes.size());
    ASSERT_NE(archive, nullptr);
    for (int index : {0, 1}) {
        ArchiveEntryInfo entry;
        ASSERT_EQ(ArchiveEntryAt(archive.get(), index, entry), kArchiveDone);
        std::string part(10, '\0');
        EXPECT_EQ(ExtractArchiveEntry(archive.get(), index, part.data(), part.size()), kArchiveMoreData);
        EXPECT_EQ(part, (index == 0 ? sample.stored : sample.deflated).substr(0, 10));
        EXPECT_EQ(ExtractArchiveEntry(archive.get(), index, nullptr, 0), kArchiveMoreData);
        // A larger buffer than needed is fine; the entry is complete.
        std::string roomy(entry.uncompressedSize + 5, '\0');
        EXPECT_EQ(ExtractArchiveEntry(archive.get(), index, roomy.data(), roomy.size()), kArchiveDone);
    }
}

TEST(SkinArchive, CallsWithoutAnArchiveOrWithBadArguments) {
    ArchiveEntryInfo entry;
    EXPECT_EQ(FindArchiveEntry(nullptr, L"main.xml", true, entry), kArchiveNullHandle);
    EXPECT_EQ(ExtractArchiveEntry(nullptr, 0, nullptr, 0), kArchiveNullHandle);
    ArchivePtr none;
    EXPECT_EQ(CloseArchive(none), kArchiveNullHandle);
    EXPECT_EQ(LastArchiveStatus(), kArchiveNullHandle);
    EXPECT_EQ(OpenArchive(nullptr, 10), nullptr);

    const SampleArchive sample;
    ArchivePtr archive = OpenArchive(sample.bytes.data(), sample.bytes.size());
    char byte = 0;
    EXPECT_EQ(ExtractArchiveEntry(archive.get(), 3, &byte, 1), kArchiveBadArgument);
    EXPECT_EQ(ExtractArchiveEntry(archive.get(), -1, &byte, 1), kArchiveBadArgument);
    EXPECT_EQ(ExtractArchiveEntry(archive.get(), 0, nullptr, 5), kArchiveBadArgument);
    EXPECT_EQ(ArchiveEntryAt(archive.get(), 3, entry), kArchiveBadArgument);
}

TEST(SkinArchive, AnEmptyArchiveOpensWithNoEntries) {
    const std::vector<uint8_t> bytes = TestArchiveBuilder().Build();
    ArchivePtr archive = OpenArchive(bytes.data(), bytes.size());
    ASSERT_NE(archive, nullptr);
    EXPECT_EQ(ArchiveEntryCount(archive.get()), 0);
}

// Whatever happens to the bytes, every call answers with a status, and an entry reported complete
// holds exactly what was packed (the address sanitizer watches for reads past the block).
void ExpectSoundAnswers(const std::vector<uint8_t>& bytes, const SampleArchive& sample) {
    ArchivePtr archive = OpenArchive(bytes.data(), bytes.size());
    if (!archive) {
        EXPECT_NE(LastArchiveStatus(), kArchiveDone);
        return;
    }
    const std::string* originals[] = {&sample.stored, &sample.deflated, &sample.described};
    for (int i = 0; i < ArchiveEntryCount(archive.get()); ++i) {
        ArchiveEntryInfo entry;
        ASSERT_EQ(ArchiveEntryAt(archive.get(), i, entry), kArchiveDone);
        if (entry.uncompressedSize > (1u << 20)) {
            continue;  // a lying size: the loaders refuse it before they allocate
        }
        std::string data(entry.uncompressedSize, '\0');
        const uint32_t status = ExtractArchiveEntry(archive.get(), i, data.data(), data.size());
        if (status == kArchiveDone && i < 3) {
            EXPECT_EQ(data, *originals[i]) << "entry " << i;
        }
    }
}

TEST(SkinArchive, TruncationAtEveryOffsetIsRefusedCleanly) {
    const SampleArchive sample;
    for (size_t size = 0; size < sample.bytes.size(); ++size) {
        const std::vector<uint8_t> cut(sample.bytes.begin(), sample.bytes.begin() + static_cast<long>(size));
        ExpectSoundAnswers(cut, sample);
        // Even a cut into the comment leaves an end record whose comment runs past the end.
        EXPECT_EQ(OpenArchive(cut.data(), cut.size()), nullptr) << size;
    }
}

TEST(SkinArchive, DamageToAnyStructuralByteIsAnsweredWithAStatus) {
    const SampleArchive sample;
    std::vector<size_t> offsets;
    for (size_t header : sample.layout.localHeaders) {
        for (size_t k = 0; k < 40; ++k) {
            offsets.push_back(header + k);
        }
    }
    for (size_t at = sample.layout.directory; at < sample.bytes.size(); ++at) {
        offsets.push_back(at);
    }
    for (size_t at : offsets) {
        for (uint8_t value : {uint8_t{0x00}, uint8_t{0xFF}, uint8_t{0x7F}}) {
            std::vector<uint8_t> damaged = sample.bytes;
            damaged[at] = value;
            ExpectSoundAnswers(damaged, sample);
        }
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

TEST(SkinArchive, DataThatInflatesToMoreOrLessThanAnnouncedIsCorrupt) {
    const std::string big(1 << 20, 'z');  // a megabyte of one letter deflates to about a kilobyte
    TestArchiveBuilder::Entry bomb;
    bomb.name = "bomb.png";
    bomb.data = big.substr(0, 1000);
    bomb.packing = Packing::Deflated;
    bomb.packedOverride = skintest::RawDeflate(big);
    TestArchiveBuilder::Entry short_;
    short_.name = "short.png";
    short_.data = big.substr(0, 5000);
    short_.packing = Packing::Deflated;
    short_.packedOverride = skintest::RawDeflate(big.substr(0, 4000));
    TestArchiveBuilder::Entry garbage;
    garbage.name = "garbage.png";
    garbage.data = "some text";
    garbage.packing = Packing::Deflated;
    garbage.packedOverride = std::string("\xFF\xFF\xFF\xFF\xFF", 5);
    TestArchiveBuilder::Entry checksum;
    checksum.name = "checksum.png";
    checksum.data = "expected";
    checksum.packedOverride = "xpected!";
    const std::vector<uint8_t> bytes =
        TestArchiveBuilder().Add(bomb).Add(short_).Add(garbage).Add(checksum).Build();
    ArchivePtr archive = OpenArchive(bytes.data(), bytes.size());
    ASSERT_NE(archive, nullptr);
    std::string data(1000, '\0');
    EXPECT_EQ(ExtractArchiveEntry(archive.get(), 0, data.data(), data.size()), kArchiveCorrupt);
    EXPECT_EQ(ExtractArchiveEntry(archive.get(), 0, data.data(), 500), kArchiveMoreData);
    data.assign(5000, '\0');
    EXPECT_EQ(ExtractArchiveEntry(archive.get(), 1, data.data(), data.size()), kArchiveCorrupt);
    EXPECT_EQ(ExtractArchiveEntry(archive.get(), 2, data.data(), 9), kArchiveCorrupt);
    EXPECT_EQ(ExtractArchiveEntry(archive.get(), 3, data.data(), 8), kArchiveCorrupt);
}

TEST(SkinArchive, EncryptedEntriesAndOtherMethodsAreUnsupported) {
    TestArchiveBuilder::Entry bzip;
    bzip.name = "a.bin";
    bzip.data = "data";
    bzip.method = 12;
    TestArchiveBuilder::Entry locked;
    locked.name = "b.bin";
    locked.data = "data";
    locked.extraFlags = 1;
    const std::vector<uint8_t> bytes = TestArchiveBuilder().Add(bzip).Add(locked).Build();
    ArchivePtr archive = OpenArchive(bytes.data(), bytes.size());
    ASSERT_NE(archive, nullptr);
    char data[4];
    EXPECT_EQ(ExtractArchiveEntry(archive.get(), 0, data, 4), kArchiveUnsupported);
    EXPECT_EQ(ExtractArchiveEntry(archive.get(), 1, data, 4), kArchiveUnsupported);
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
    EXPECT_EQ(ExtractByName(archive.get(), L"main.xml", data), kArchiveDone);
    EXPECT_EQ(data, sample.stored);
    std::string part(70000, '\0');
    ArchiveEntryInfo entry;
    ASSERT_EQ(FindArchiveEntry(archive.get(), L"img/bg.png", true, entry), kArchiveDone);
    EXPECT_EQ(ExtractArchiveEntry(archive.get(), entry.index, part.data(), part.size()), kArchiveMoreData);
    EXPECT_EQ(part, sample.deflated.substr(0, part.size()));

    std::vector<uint8_t> truncated(sample.bytes.begin(), sample.bytes.end());
    PutLe32(truncated, sample.layout.centralHeaders[1] + 24,
            static_cast<uint32_t>(sample.deflated.size() + 1));
    folder.Write(L"lying.zip", truncated);
    archive = OpenArchive((folder.Path() / L"lying.zip").wstring());
    ASSERT_NE(archive, nullptr);
    EXPECT_EQ(ExtractByName(archive.get(), L"img/bg.png", data), kArchiveCorrupt);

    EXPECT_EQ(OpenArchive((folder.Path() / L"missing.zip").wstring()), nullptr);
    EXPECT_EQ(LastArchiveStatus(), kArchiveNoFile);
}

}  // namespace
}  // namespace SkinUI
