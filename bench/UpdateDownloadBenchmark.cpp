// Throughput of the self-update's downloader beside the curl command-line program, both fetching the
// same 200 MB package from the same local nginx, and the bytes a resumed download costs the server.
// Run it through the test servers:
//   tools/with-update-servers.sh build/bench/bin/update_download_bench
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "services/PackageTransfer.h"
#include "services/StdioPackageFile.h"

namespace {

constexpr size_t kPackageSize = 200u * 1024u * 1024u;
const char kPackageName[] = "bench-package.bin";

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string PackageUrl() {
    return "http://127.0.0.1:" + Environment("TOLVANE_TEST_NGINX_PORT") + "/" + kPackageName;
}

std::filesystem::path ScratchFile(const char* name) {
    return std::filesystem::temp_directory_path() / name;
}

// The served package, written once per run.
bool EnsurePackage() {
    static const bool ready = [] {
        const std::string root = Environment("TOLVANE_TEST_SERVER_ROOT");
        if (root.empty()) {
            return false;
        }
        std::vector<char> block(1024 * 1024);
        std::ofstream out(root + "/" + kPackageName, std::ios::binary | std::ios::trunc);
        uint32_t state = 12345;
        for (size_t written = 0; written < kPackageSize; written += block.size()) {
            for (char& c : block) {
                state = state * 1664525u + 1013904223u;
                c = static_cast<char>(state >> 24);
            }
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
        }
        return static_cast<bool>(out);
    }();
    return ready;
}

std::string LastNginxLogLine() {
    std::ifstream in(Environment("TOLVANE_TEST_NGINX_LOG"));
    std::string line;
    std::string last;
    while (std::getline(in, line)) {
        last = line;
    }
    return last;
}

// The last field of an access-log line: the body bytes nginx sent.
uint64_t BodyBytesSent(const std::string& line) {
    const size_t space = line.rfind(' ');
    return space == std::string::npos ? 0 : std::strtoull(line.c_str() + space + 1, nullptr, 10);
}

void BM_UpdateDownloader(benchmark::State& state) {
    if (!EnsurePackage()) {
        state.SkipWithError("run through tools/with-update-servers.sh");
        return;
    }
    const std::filesystem::path target = ScratchFile("tolvane-bench-downloader.bin");
    for (auto _ : state) {
        services::StdioPackageFile file(target.string());
        const services::DownloadResult result = services::DownloadPackage(PackageUrl(), 0, file);
        if (result.curlCode != 0 || result.bytesWritten != kPackageSize) {
            state.SkipWithError("download failed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kPackageSize));
    std::filesystem::remove(target);
}

void BM_CurlCommandLine(benchmark::State& state) {
    if (!EnsurePackage()) {
        state.SkipWithError("run through tools/with-update-servers.sh");
        return;
    }
    const std::filesystem::path target = ScratchFile("tolvane-bench-curl.bin");
    const std::string command = "curl -s -f -o '" + target.string() + "' '" + PackageUrl() + "'";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("curl failed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kPackageSize));
    std::filesystem::remove(target);
}

// Half the package is there; the resume must cost the server exactly the other half.
void BM_ResumeSendsNoByteTwice(benchmark::State& state) {
    if (!EnsurePackage()) {
        state.SkipWithError("run through tools/with-update-servers.sh");
        return;
    }
    const std::filesystem::path target = ScratchFile("tolvane-bench-resume.bin");
    const uint64_t have = kPackageSize / 2 + 12345;
    uint64_t sentTwice = 0;
    uint64_t serverBytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        {
            services::StdioPackageFile full(target.string());
            services::DownloadPackage(PackageUrl(), 0, full);
        }
        std::filesystem::resize_file(target, have);
        state.ResumeTiming();
        services::StdioPackageFile file(target.string());
        const services::DownloadResult result = services::DownloadPackage(PackageUrl(), have, file);
        state.PauseTiming();
        serverBytes = BodyBytesSent(LastNginxLogLine());
        sentTwice += have + serverBytes - kPackageSize;
        if (result.curlCode != 0 || std::filesystem::file_size(target) != kPackageSize) {
            state.SkipWithError("resume failed");
        }
        state.ResumeTiming();
    }
    state.counters["server_body_bytes"] = static_cast<double>(serverBytes);
    state.counters["bytes_sent_twice"] = static_cast<double>(sentTwice);
    if (sentTwice != 0) {
        state.SkipWithError("the resume fetched bytes the copy already had");
    }
    std::filesystem::remove(target);
}

}  // namespace

BENCHMARK(BM_UpdateDownloader)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);
BENCHMARK(BM_CurlCommandLine)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);
BENCHMARK(BM_ResumeSendsNoByteTwice)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

BENCHMARK_MAIN();
