// Decoding a skin image: the image library alone against the engine's decoding, which adds the
// premultiplied blue-green-red-alpha pass (and its size checks), on two 1280x768 pictures with alpha:
// one made at start (gradients, noise like a photographic background, translucent panels) and the
// launcher's own background, the image its first frame waits for.
#include <benchmark/benchmark.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image.h>
#include <stb_image_write.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "skin/drawing/ImageDecoder.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 768;

void Append(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    out->insert(out->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
}

const std::vector<uint8_t>& SkinPicture() {
    static const std::vector<uint8_t> png = [] {
        std::vector<uint8_t> rgba(static_cast<size_t>(kWidth) * kHeight * 4);
        std::mt19937 random(113);
        std::uniform_int_distribution<int> noise(-6, 6);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                uint8_t* p = &rgba[(static_cast<size_t>(y) * kWidth + x) * 4];
                const int grain = noise(random);
                p[0] = static_cast<uint8_t>(std::clamp(40 + x * 120 / kWidth + grain, 0, 255));
                p[1] = static_cast<uint8_t>(std::clamp(60 + y * 100 / kHeight + grain, 0, 255));
                p[2] =
                    static_cast<uint8_t>(std::clamp(90 + (x + y) * 60 / (kWidth + kHeight) + grain, 0, 255));
                // Opaque frame, translucent panels, a transparent window in the middle.
                const bool panel = (x / 160 + y / 128) % 3 == 0;
                const bool hole = x > 400 && x < 880 && y > 250 && y < 520;
                p[3] = hole ? 0 : panel ? static_cast<uint8_t>(128 + (x % 64)) : 255;
            }
        }
        std::vector<uint8_t> out;
        stbi_write_png_to_func(Append, &out, kWidth, kHeight, 4, rgba.data(), kWidth * 4);
        return out;
    }();
    return png;
}

const std::vector<uint8_t>& LauncherBackground() {
    static const std::vector<uint8_t> png = [] {
        std::ifstream file(TOLVANE_SKIN_SOURCE_DIR "/bg.png", std::ios::binary);
        return std::vector<uint8_t>((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    }();
    return png;
}

const std::vector<uint8_t>& Picture(const benchmark::State& state) {
    return state.range(0) == 0 ? SkinPicture() : LauncherBackground();
}

void LibraryAlone(benchmark::State& state) {
    const std::vector<uint8_t>& png = Picture(state);
    for (auto _ : state) {
        int width = 0;
        int height = 0;
        int channels = 0;
        stbi_uc* pixels =
            stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &width, &height, &channels, 4);
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
    state.SetLabel(std::to_string(png.size() / 1024) + " KiB PNG");
}
BENCHMARK(LibraryAlone)->ArgName("launcher_background")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void EngineDecoding(benchmark::State& state) {
    const std::vector<uint8_t>& png = Picture(state);
    for (auto _ : state) {
        auto image = SkinUI::DecodeImageBytes(png.data(), png.size(), 0xFFFF00FF);
        benchmark::DoNotOptimize(image);
    }
}
BENCHMARK(EngineDecoding)->ArgName("launcher_background")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
