// What a download server answers: header lines of any shape, and the package name and address taken
// from a page's update record.
#include <cstddef>
#include <cstdint>
#include <string>

#include "services/ResponseHeaders.h"
#include "services/UpdateRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Lines end at '\n', as libcurl hands them over; each is given without a terminator.
    services::ResponseHeaders headers;
    const char* text = reinterpret_cast<const char*>(data);
    size_t start = 0;
    for (size_t i = 0; i <= size; ++i) {
        if (i == size || text[i] == '\n') {
            headers.OnHeaderLine(text + start, i - start);
            start = i + 1;
        }
    }
    services::DecideBodyHandling(headers.Status(), headers.RangeStart(), size);

    std::wstring address;
    for (size_t i = 0; i < size; ++i) {
        address.push_back(static_cast<wchar_t>(data[i]));
    }
    const std::string narrow = services::NarrowUpdateAddress(address);
    services::IsUsablePackageFileName(services::PackageFileName(narrow));
    return 0;
}
