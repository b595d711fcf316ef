#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace services {

// What the header lines of the latest HTTP response said. libcurl hands every header line of every
// response (redirects included) to its header callback; a status line starts a new response, so what
// is kept always belongs to the last answer.
class ResponseHeaders {
  public:
    // One header line, exactly the bytes given (no terminator needed).
    void OnHeaderLine(const char* line, size_t length);

    int Status() const { return status_; }
    // The announced body size; none when the response announced no usable size.
    std::optional<uint32_t> ContentLength() const { return contentLength_; }
    // The first byte of a "bytes first-last/total" content range.
    std::optional<uint64_t> RangeStart() const { return rangeStart_; }

  private:
    int status_ = 0;
    std::optional<uint32_t> contentLength_;
    std::optional<uint64_t> rangeStart_;
};

// Reads a size header value: leading blanks skipped, an optional sign, decimal digits up to the first
// other character. Negative, digit-less and sizes beyond 32 bits count as no announced size.
std::optional<uint32_t> ParseAnnouncedSize(const char* text, size_t length);

// What the download does with the body of the final answer to a request for the range from
// `resumeOffset` on.
enum class BodyHandling {
    Append,   // 206 starting exactly at our offset: the bytes continue the local copy
    Rewrite,  // 200: the server sends the whole package, which replaces the copy from byte 0
    Refuse    // anything else (error statuses, a range we did not ask for): nothing is written
};

BodyHandling DecideBodyHandling(int status, std::optional<uint64_t> rangeStart, uint64_t resumeOffset);

}  // namespace services
