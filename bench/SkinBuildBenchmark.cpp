// What a skinned window costs before its first paint: its skin read from the skin archive in memory,
// built into a control tree, attached to a manager and laid out for the first time. Fonts come from an
// engine with fixed measures and images are decoded only when first painted, so neither is counted.
// A second measure is one more layout pass, as a window resize makes.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "skin/controls/Builder.h"
#include "skin/resources/Resources.h"
#include "tests/skin/resources/ShippedSkinArchive.h"
#include "tests/support/skin/TestControlHost.h"
#include "tests/support/skin/TestWindowObject.h"

namespace {

using SkinUI::SkinRect;

struct Skin {
    const wchar_t* file;
    SkinRect client;
};

const Skin kSkins[] = {{L"main.xml", SkinRect{0, 0, 1280, 768}}, {L"game.xml", SkinRect{0, 0, 1000, 700}}};

void UseShippedArchive() {
    static const std::vector<uint8_t> archive = skintest::ArchiveOfFolder(TOLVANE_SKIN_SOURCE_DIR);
    SkinUI::UseArchiveMemory(archive.data(), archive.size());
}

void BuildAttachAndLayout(benchmark::State& state) {
    UseShippedArchive();
    const Skin& skin = kSkins[state.range(0)];
    testsupport::TestWindowObject window;
    for (auto _ : state) {
        testsupport::TestControlHost host;
        SkinUI::CSkinBuilder builder;
        if (!builder.LoadMarkup(skin.file)) {
            state.SkipWithError("skin not found");
            return;
        }
        host.Attach(builder.BuildTree(nullptr, &host, &window), &window);
        host.Layout(skin.client);
        benchmark::DoNotOptimize(host.Root());
    }
    state.SetLabel(skin.file == kSkins[0].file ? "main.xml" : "game.xml");
}
BENCHMARK(BuildAttachAndLayout)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void Relayout(benchmark::State& state) {
    UseShippedArchive();
    const Skin& skin = kSkins[state.range(0)];
    testsupport::TestWindowObject window;
    testsupport::TestControlHost host;
    SkinUI::CSkinBuilder builder;
    if (!builder.LoadMarkup(skin.file)) {
        state.SkipWithError("skin not found");
        return;
    }
    host.Attach(builder.BuildTree(nullptr, &host, &window), &window);
    SkinRect client = skin.client;
    for (auto _ : state) {
        client.right = client.right == skin.client.right ? 1920 : skin.client.right;
        host.Layout(client);
        host.invalidated.clear();
        benchmark::DoNotOptimize(host.Root());
    }
    state.SetLabel(skin.file == kSkins[0].file ? "main.xml" : "game.xml");
}
BENCHMARK(Relayout)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
