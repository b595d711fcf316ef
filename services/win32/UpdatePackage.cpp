#include "services/win32/UpdatePackage.h"

#include <shlobj.h>

#include "services/PackageTransfer.h"
#include "services/win32/FileChecksum.h"
#include "services/win32/WinPackageFile.h"
#include "skin/markup/AsciiText.h"

namespace services {
namespace {

struct DownloadJob {
    std::string address;
    std::wstring localPath;
    uint64_t resumeOffset = 0;
    std::shared_ptr<DownloadSlots> slots;
};

DWORD WINAPI DownloadThread(void* parameter) {
    const std::unique_ptr<DownloadJob> job(static_cast<DownloadJob*>(parameter));
    {
        WinPackageFile file(job->localPath);
        const DownloadResult result = DownloadPackage(job->address, job->resumeOffset, file);
        // Failures are silent: the next visit of the server list checks again from the local size.
        (void)TransferErrorText(result.curlCode);
    }
    job->slots->Release(job->localPath);
    return 1;
}

}  // namespace

std::wstring UpdateFolder(SystemAccess& system) {
    std::wstring folder = system.SpecialFolder(CSIDL_APPDATA, false);
    if (folder.empty()) {
        return folder;
    }
    // An existing folder is no error; a creation that fails shows later, when the file cannot open.
    folder += L"\\Tolvane\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    folder += L"update\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

UpdatePackage::UpdatePackage(SystemAccess& system, const std::string& address)
    : system_(system), address_(address) {
    const std::string name = PackageFileName(address);
    if (!IsUsablePackageFileName(name)) {
        return;
    }
    const std::wstring folder = UpdateFolder(system);
    const std::wstring path = folder + SkinUI::WidenAscii(name);
    if (!folder.empty() && path.size() <= kMaxLocalPathChars) {
        localPath_ = path;
    }
}

uint32_t UpdatePackage::QueryRemoteSize() const {
    return services::QueryRemoteSize(address_);
}

uint32_t UpdatePackage::LocalSize() const {
    return FileSize32(localPath_);
}

UpdateAction UpdatePackage::Decide(const std::wstring& expectedChecksum) const {
    const uint32_t remote = QueryRemoteSize();
    const uint32_t local = LocalSize();
    ChecksumState checksum = ChecksumState::NotGiven;
    if (SizesSayComplete(remote, local) && IsChecksumGiven(expectedChecksum)) {
        checksum = ChecksumMatches(expectedChecksum, Md5OfFile(localPath_)) ? ChecksumState::Matches
                                                                            : ChecksumState::Differs;
    }
    return DecideUpdate(remote, local, checksum);
}

bool UpdatePackage::IsComplete(const std::wstring& expectedChecksum) const {
    return Decide(expectedChecksum) == UpdateAction::Install;
}

bool UpdatePackage::StartDownload(const std::shared_ptr<DownloadSlots>& slots, bool fromStart) const {
    if (!IsUsable() || !slots->TryAcquire(localPath_)) {
        return false;
    }
    auto job = std::make_unique<DownloadJob>();
    job->address = address_;
    job->localPath = localPath_;
    job->resumeOffset = fromStart ? 0 : LocalSize();
    job->slots = slots;
    HANDLE thread = CreateThread(nullptr, 0, &DownloadThread, job.get(), 0, nullptr);
    if (thread == nullptr) {
        slots->Release(localPath_);
        return false;
    }
    // The thread owns the job now; nobody waits for it.
    job.release();
    CloseHandle(thread);
    return true;
}

void UpdatePackage::DeleteLocalCopy() const {
    if (IsUsable()) {
        DeleteFileW(localPath_.c_str());
    }
}

bool UpdatePackage::LaunchInstaller() const {
    OutputDebugStringW(kInstallTrace);
    if (!IsUsable()) {
        return false;
    }
    ShellRequest request;
    request.verb = L"open";
    request.file = localPath_;
    request.parameters = InstallerParameters(FileNameOfPath(system_.LauncherPath()));
    request.show = SW_SHOW;
    return system_.RunShell(request);
}

}  // namespace services
