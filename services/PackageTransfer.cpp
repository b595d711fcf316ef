#include "services/PackageTransfer.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

#include "services/UpdateRules.h"

namespace services {
namespace {

// The size query runs on the launcher window's thread: a server that does not answer must not freeze
// the window for long. A download that stalls gives up its slot so that a later visit can retry.
constexpr long kSizeQueryTimeoutSeconds = 15;
constexpr long kConnectTimeoutSeconds = 15;
constexpr long kStalledBytesPerSecond = 1;
constexpr long kStalledSeconds = 60;
constexpr long kMaxRedirects = 5;
// Larger receive blocks than libcurl's 16 KiB: fewer callbacks and writes for a package of many MB.
constexpr long kReceiveBufferBytes = 512 * 1024;

struct EasyCleanup {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using EasyHandle = std::unique_ptr<CURL, EasyCleanup>;

EasyHandle NewEasyHandle() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    return EasyHandle(curl_easy_init());
}

size_t OnHeader(char* line, size_t size, size_t count, void* userData) {
    const size_t length = size * count;
    static_cast<ResponseHeaders*>(userData)->OnHeaderLine(line, length);
    return length;
}

// No progress meter: libcurl would otherwise print one to the standard error.
int OnProgress(void*, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return 0;
}

struct DownloadJob {
    PackageFile& file;
    uint64_t resumeOffset;
    ResponseHeaders headers;
    bool opened = false;
    BodyHandling handling = BodyHandling::Refuse;
    uint64_t bytesWritten = 0;
};

// Any value other than the byte count makes libcurl abort the transfer.
constexpr size_t kAbortTransfer = static_cast<size_t>(-1);

size_t OnBody(char* data, size_t size, size_t count, void* userData) {
    auto& job = *static_cast<DownloadJob*>(userData);
    const size_t length = size * count;
    if (!job.opened) {
        job.handling = DecideBodyHandling(job.headers.Status(), job.headers.RangeStart(), job.resumeOffset);
        if (job.handling == BodyHandling::Refuse) {
            return kAbortTransfer;
        }
        const uint64_t offset = job.handling == BodyHandling::Append ? job.resumeOffset : 0;
        if (!job.file.OpenAt(offset)) {
            return kAbortTransfer;
        }
        job.opened = true;
    }
    if (!job.file.Write(data, length)) {
        return kAbortTransfer;
    }
    job.bytesWritten += length;
    return length;
}

}  // namespace

uint32_t QueryRemoteSize(const std::string& address) {
    EasyHandle easy = NewEasyHandle();
    if (!easy) {
        return kSizeQueryFailed;
    }
    ResponseHeaders headers;
    CURL* handle = easy.get();
    curl_easy_setopt(handle, CURLOPT_URL, address.c_str());
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, &OnHeader);
    curl_easy_setopt(handle, CURLOPT_HEADERDATA, &headers);
    curl_easy_setopt(handle, CURLOPT_HEADER, 0L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(handle, CURLOPT_TIMEOUT, kSizeQueryTimeoutSeconds);
    if (curl_easy_perform(handle) != CURLE_OK) {
        return kSizeQueryFailed;
    }
    // The size that an error page announces is not the package's.
    if (headers.Status() < 200 || headers.Status() > 299) {
        return kSizeQueryFailed;
    }
    return headers.ContentLength().value_or(kNoAnnouncedSize);
}

DownloadResult DownloadPackage(const std::string& address, uint64_t resumeOffset, PackageFile& file) {
    DownloadResult result;
    EasyHandle easy = NewEasyHandle();
    if (!easy) {
        return result;
    }
    DownloadJob job{file, resumeOffset, ResponseHeaders(), false, BodyHandling::Refuse, 0};
    const std::string range = RangeFrom(resumeOffset);
    CURL* handle = easy.get();
    curl_easy_setopt(handle, CURLOPT_URL, address.c_str());
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &OnBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &job);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(handle, CURLOPT_RANGE, range.c_str());
    // The answer's status and range decide what the body may do to the copy.
    curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, &OnHeader);
    curl_easy_setopt(handle, CURLOPT_HEADERDATA, &job.headers);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, &OnProgress);
    curl_easy_setopt(handle, CURLOPT_BUFFERSIZE, kReceiveBufferBytes);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, kStalledBytesPerSecond);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, kStalledSeconds);
    result.curlCode = static_cast<int>(curl_easy_perform(handle));
    if (job.opened) {
        file.Close();
    }
    result.status = job.headers.Status();
    result.handling = job.opened
                          ? job.handling
                          : DecideBodyHandling(job.headers.Status(), job.headers.RangeStart(), resumeOffset);
    result.bytesWritten = job.bytesWritten;
    return result;
}

std::string TransferErrorText(int curlCode) {
    return curl_easy_strerror(static_cast<CURLcode>(curlCode));
}

}  // namespace services
