#include "services/ResponseHeaders.h"

#include <cstring>

#include "skin/markup/AsciiText.h"

namespace services {
namespace {

constexpr size_t kMaxNumberChars = 255;

// The line starts with the given lower-case header name (letter case of the line ignored).
bool StartsWithName(const char* line, size_t length, const char* name) {
    const size_t nameLength = std::strlen(name);
    if (length < nameLength) {
        return false;
    }
    for (size_t i = 0; i < nameLength; ++i) {
        if (SkinUI::AsciiLower(line[i]) != name[i]) {
            return false;
        }
    }
    return true;
}

// HTTP's optional white space: spaces and tabs; a header line's CR LF ends it and is no blank.
bool IsHeaderBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Digits from `position` on, at most `limit` of them; none when the text holds no digit there.
std::optional<uint64_t> ParseDigits(const char* text, size_t length, size_t& position) {
    uint64_t value = 0;
    size_t digits = 0;
    while (position < length && IsDigit(text[position]) && digits < kMaxNumberChars) {
        if (value > (UINT64_MAX - 9) / 10) {
            return std::nullopt;
        }
        value = value * 10 + static_cast<uint64_t>(text[position] - '0');
        ++position;
        ++digits;
    }
    if (digits == 0) {
        return std::nullopt;
    }
    return value;
}

// "HTTP/1.1 206 Partial Content" -> 206; 0 when the line holds no status.
int ParseStatusLine(const char* line, size_t length) {
    size_t position = 0;
    while (position < length && !IsHeaderBlank(line[position])) {
        ++position;
    }
    while (position < length && IsHeaderBlank(line[position])) {
        ++position;
    }
    const std::optional<uint64_t> status = ParseDigits(line, length, position);
    return (status && *status < 1000) ? static_cast<int>(*status) : 0;
}

// "bytes 100-199/200" -> 100.
std::optional<uint64_t> ParseRangeStart(const char* value, size_t length) {
    size_t position = 0;
    while (position < length && IsHeaderBlank(value[position])) {
        ++position;
    }
    if (!StartsWithName(value + position, length - position, "bytes ")) {
        return std::nullopt;
    }
    position += 6;
    const std::optional<uint64_t> start = ParseDigits(value, length, position);
    if (!start || position >= length || value[position] != '-') {
        return std::nullopt;
    }
    return start;
}

}  // namespace

std::optional<uint32_t> ParseAnnouncedSize(const char* text, size_t length) {
    size_t position = 0;
    while (position < length && IsHeaderBlank(text[position])) {
        ++position;
    }
    bool negative = false;
    if (position < length && (text[position] == '+' || text[position] == '-')) {
        negative = text[position] == '-';
        ++position;
    }
    const std::optional<uint64_t> value = ParseDigits(text, length, position);
    if (!value || (negative && *value != 0) || *value >= 0xFFFFFFFFull) {
        return std::nullopt;
    }
    return static_cast<uint32_t>(*value);
}

void ResponseHeaders::OnHeaderLine(const char* line, size_t length) {
    static constexpr char kLengthName[] = "content-length:";
    static constexpr char kRangeName[] = "content-range:";
    if (StartsWithName(line, length, "http/")) {
        status_ = ParseStatusLine(line, length);
        contentLength_.reset();
        rangeStart_.reset();
    } else if (StartsWithName(line, length, kLengthName)) {
        const size_t skip = sizeof kLengthName - 1;
        contentLength_ = ParseAnnouncedSize(line + skip, length - skip);
    } else if (StartsWithName(line, length, kRangeName)) {
        const size_t skip = sizeof kRangeName - 1;
        rangeStart_ = ParseRangeStart(line + skip, length - skip);
    }
}

BodyHandling DecideBodyHandling(int status, std::optional<uint64_t> rangeStart, uint64_t resumeOffset) {
    if (status == 206 && rangeStart && *rangeStart == resumeOffset) {
        return BodyHandling::Append;
    }
    if (status == 200) {
        return BodyHandling::Rewrite;
    }
    return BodyHandling::Refuse;
}

}  // namespace services
