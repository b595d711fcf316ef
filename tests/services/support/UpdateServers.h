#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// The two HTTP servers that tools/with-update-servers.sh starts around a test program under Wine: where
// they listen, the folder they serve and their request logs. Paths arrive as Linux paths and are reached
// through drive Z:.
namespace testservers {

bool Available();
// A Linux path as the program under Wine reaches it, through drive Z:.
std::string HostPath(const std::string& linuxPath);
std::string NginxUrl(const std::string& name);
// `fault` is the first path element of the fault-injecting server ("cut", "ignore-range", ...).
std::string FaultUrl(const std::string& fault, const std::string& name);

void Serve(const std::string& name, const std::vector<uint8_t>& bytes);

std::vector<std::string> NginxLog();
std::vector<std::string> FaultLog();
// Log lines that mention the given text.
std::vector<std::string> LinesWith(const std::vector<std::string>& lines, const std::string& text);
// The servers log a request once its answer is sent, which may be a moment after the client has it:
// this waits (a few seconds at most) until at least `count` lines of the log mention the text.
std::vector<std::string> AwaitLines(std::vector<std::string> (*log)(), const std::string& text, size_t count);

// Deterministic bytes that differ at every position of a large file.
std::vector<uint8_t> PackageBytes(size_t size, uint32_t seed);
std::vector<uint8_t> ReadWholeFile(const std::filesystem::path& path);
bool WriteWholeFile(const std::filesystem::path& path, const uint8_t* data, size_t size);

}  // namespace testservers
