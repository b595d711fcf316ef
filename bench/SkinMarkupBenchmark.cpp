// Skin start-up costs: parsing skin markup (beside pugixml on the same bytes, building its own document)
// and extracting a deflated skin archive entry (beside a bare zlib raw inflate of the same data followed
// by the crc32 that checks an extracted entry).
#include <benchmark/benchmark.h>
#include <zlib.h>
#include <pugixml.hpp>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "skin/markup/Markup.h"
#include "skin/resources/Archive.h"

namespace {

std::string ReadSource(const char* name) {
    std::ifstream file(std::string(TOLVANE_SKIN_SOURCE_DIR) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// A skin-like document of about a mebibyte: windows' worth of nested layouts, floating buttons with
// images, Chinese texts and the odd entity.
std::string GeneratedSkin() {
    std::string text =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Window size=\"1280,768\" caption=\"0,0,0,768\">\n";
    for (int i = 0; text.size() < (1u << 20); ++i) {
        const std::string n = std::to_string(i);
        text +=
            "  <VerticalLayout bkimage=\"file='bg" + n + ".png' corner='4,4,4,4'\" padding=\"1,2,3,4\">\n";
        text += "    <HorizontalLayout height=\"30\" inset=\"3,5,0,3\" childpadding=\"2\">\n";
        text += "      <Button name=\"button" + n +
                "\" float=\"true\" pos=\"1072,132,1102,167\" normalimage=\"mini.png\" "
                "hotimage=\"mini_hover.png\" pushedimage=\"mini_click.png\" text=\"\xE6\xB8\x85\xE7\xA9\xBA "
                "&amp; "
                "\xE5\x88\xB7\xE6\x96\xB0\" textcolor=\"#ffffff\" font=\"1\" />\n";
        text += "      <Label text=\"Tolvane-Runecourt " + n + "\" align=\"center\" />\n      <Control />\n";
        text += "    </HorizontalLayout>\n  </VerticalLayout>\n";
    }
    return text + "</Window>\n";
}

const std::string& Input(int which) {
    static const std::string inputs[] = {ReadSource("main.xml"), ReadSource("game.xml"), GeneratedSkin()};
    return inputs[which];
}

const char* const kInputNames[] = {"main.xml", "game.xml", "generated"};

void BM_SkinMarkupParse(benchmark::State& state) {
    const std::string& bytes = Input(static_cast<int>(state.range(0)));
    state.SetLabel(kInputNames[state.range(0)]);
    for (auto _ : state) {
        SkinUI::CSkinMarkup markup;
        if (!markup.ParseBytes(bytes.data(), bytes.size(), SkinUI::SkinTextEncoding::Utf8)) {
            state.SkipWithError("parse failed");
        }
        benchmark::DoNotOptimize(markup.Root().Name());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_SkinMarkupParse)->DenseRange(0, 2);

void BM_PugixmlParse(benchmark::State& state) {
    const std::string& bytes = Input(static_cast<int>(state.range(0)));
    state.SetLabel(kInputNames[state.range(0)]);
    for (auto _ : state) {
        pugi::xml_document document;
        if (!document.load_buffer(bytes.data(), bytes.size())) {
            state.SkipWithError("parse failed");
        }
        benchmark::DoNotOptimize(document.first_child().name());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_PugixmlParse)->DenseRange(0, 2);

std::string RawDeflate(const std::string& data) {
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string packed(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(packed.data());
    stream.avail_out = static_cast<uInt>(packed.size());
    deflate(&stream, Z_FINISH);
    packed.resize(stream.total_out);
    deflateEnd(&stream);
    return packed;
}

void Put16(std::string& out, uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// A one-entry archive holding `data` deflated.
std::string ArchiveOf(const std::string& name, const std::string& data, const std::string& packed) {
    const uint32_t crc = static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
    std::string zip;
    Put32(zip, 0x04034B50);
    for (uint32_t v : {20u, 0u, 8u, 0u, 0u}) {
        Put16(zip, v);
    }
    Put32(zip, crc);
    Put32(zip, static_cast<uint32_t>(packed.size()));
    Put32(zip, static_cast<uint32_t>(data.size()));
    Put16(zip, static_cast<uint32_t>(name.size()));
    Put16(zip, 0);
    zip += name + packed;
    const uint32_t directory = static_cast<uint32_t>(zip.size());
    Put32(zip, 0x02014B50);
    for (uint32_t v : {20u, 20u, 0u, 8u, 0u, 0u}) {
        Put16(zip, v);
    }
    Put32(zip, crc);
    Put32(zip, static_cast<uint32_t>(packed.size()));
    Put32(zip, static_cast<uint32_t>(data.size()));
    for (uint32_t v : {static_cast<uint32_t>(name.size()), 0u, 0u, 0u, 0u}) {
        Put16(zip, v);
    }
    Put32(zip, 0);
    Put32(zip, 0);
    zip += name;
    const uint32_t directorySize = static_cast<uint32_t>(zip.size()) - directory;
    Put32(zip, 0x06054B50);
    for (uint32_t v : {0u, 0u, 1u, 1u}) {
        Put16(zip, v);
    }
    Put32(zip, directorySize);
    Put32(zip, directory);
    Put16(zip, 0);
    return zip;
}

struct DeflatedInput {
    std::string data = Input(2);
    std::string packed = RawDeflate(data);
    std::string archive = ArchiveOf("generated.xml", data, packed);
};

const DeflatedInput& Deflated() {
    static const DeflatedInput input;
    return input;
}

void BM_ArchiveExtract(benchmark::State& state) {
    const DeflatedInput& input = Deflated();
    SkinUI::ArchivePtr archive = SkinUI::OpenArchive(input.archive.data(), input.archive.size());
    std::string out(input.data.size(), '\0');
    for (auto _ : state) {
        SkinUI::ArchiveEntryInfo entry;
        if (SkinUI::FindArchiveEntry(archive.get(), L"GENERATED.XML", true, entry) != SkinUI::kArchiveDone ||
            SkinUI::ExtractArchiveEntry(archive.get(), entry.index, out.data(), out.size()) !=
                SkinUI::kArchiveDone) {
            state.SkipWithError("extraction failed");
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * input.data.size()));
}
BENCHMARK(BM_ArchiveExtract);

void BM_ZlibRawInflateAndCrc(benchmark::State& state) {
    const DeflatedInput& input = Deflated();
    std::string out(input.data.size(), '\0');
    for (auto _ : state) {
        z_stream stream{};
        inflateInit2(&stream, -MAX_WBITS);
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.packed.data()));
        stream.avail_in = static_cast<uInt>(input.packed.size());
        stream.next_out = reinterpret_cast<Bytef*>(out.data());
        stream.avail_out = static_cast<uInt>(out.size());
        if (inflate(&stream, Z_FINISH) != Z_STREAM_END) {
            state.SkipWithError("inflate failed");
        }
        inflateEnd(&stream);
        const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(out.data()), static_cast<uInt>(out.size()));
        benchmark::DoNotOptimize(crc);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * input.data.size()));
}
BENCHMARK(BM_ZlibRawInflateAndCrc);

}  // namespace

BENCHMARK_MAIN();
