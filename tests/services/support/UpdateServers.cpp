#include "tests/services/support/UpdateServers.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

namespace testservers {
namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(HostPath(path));
    std::string line;
    while (std::getline(in, line)) {
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

std::string HostPath(const std::string& linuxPath) {
    std::string path = "Z:" + linuxPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

bool Available() {
    return !Environment("TOLVANE_TEST_NGINX_PORT").empty() && !Environment("TOLVANE_TEST_FAULT_PORT").empty();
}

std::string NginxUrl(const std::string& name) {
    return "http://127.0.0.1:" + Environment("TOLVANE_TEST_NGINX_PORT") + "/" + name;
}

std::string FaultUrl(const std::string& fault, const std::string& name) {
    return "http://127.0.0.1:" + Environment("TOLVANE_TEST_FAULT_PORT") + "/" + fault + "/" + name;
}

void Serve(const std::string& name, const std::vector<uint8_t>& bytes) {
    WriteWholeFile(HostPath(Environment("TOLVANE_TEST_SERVER_ROOT") + "/" + name), bytes.data(),
                   bytes.size());
}

std::vector<std::string> NginxLog() {
    return ReadLines(Environment("TOLVANE_TEST_NGINX_LOG"));
}
std::vector<std::string> FaultLog() {
    return ReadLines(Environment("TOLVANE_TEST_FAULT_LOG"));
}

std::vector<std::string> LinesWith(const std::vector<std::string>& lines, const std::string& text) {
    std::vector<std::string> found;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(found),
                 [&text](const std::string& line) { return line.find(text) != std::string::npos; });
    return found;
}

std::vector<std::string> AwaitLines(std::vector<std::string> (*log)(), const std::string& text,
                                    size_t count) {
    std::vector<std::string> lines = LinesWith(log(), text);
    for (int i = 0; i < 150 && lines.size() < count; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        lines = LinesWith(log(), text);
    }
    return lines;
}

std::vector<uint8_t> PackageBytes(size_t size, uint32_t seed) {
    std::vector<uint8_t> bytes(size);
    uint32_t state = seed * 2654435761u + 1;
    for (uint8_t& b : bytes) {
        state = state * 1664525u + 1013904223u;
        b = static_cast<uint8_t>(state >> 24);
    }
    return bytes;
}

std::vector<uint8_t> ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteWholeFile(const std::filesystem::path& path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return out.good();
}

}  // namespace testservers
