#include "services/win32/FileChecksum.h"

#include <windows.h>
// The cryptography provider needs the base types first.
#include <wincrypt.h>

#include <vector>

#include "services/win32/WinHandles.h"

namespace services {
namespace {

struct ProviderTraits {
    using Handle = HCRYPTPROV;
    static Handle Empty() { return 0; }
    static void Close(Handle handle) { CryptReleaseContext(handle, 0); }
};
struct HashTraits {
    using Handle = HCRYPTHASH;
    static Handle Empty() { return 0; }
    static void Close(Handle handle) { CryptDestroyHash(handle); }
};

constexpr DWORD kReadChunk = 256 * 1024;
constexpr DWORD kMd5Bytes = 16;

}  // namespace

std::string Md5OfFile(const std::wstring& path) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    UniqueResource<ProviderTraits> provider;
    UniqueResource<HashTraits> hash;
    if (!file ||
        !CryptAcquireContextW(provider.Receive(), nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT) ||
        !CryptCreateHash(provider.Get(), CALG_MD5, 0, 0, hash.Receive())) {
        return std::string();
    }
    std::vector<BYTE> buffer(kReadChunk);
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), buffer.data(), kReadChunk, &read, nullptr)) {
            return std::string();
        }
        if (read == 0) {
            break;
        }
        if (!CryptHashData(hash.Get(), buffer.data(), read, 0)) {
            return std::string();
        }
    }
    BYTE digest[kMd5Bytes] = {};
    DWORD digestSize = kMd5Bytes;
    if (!CryptGetHashParam(hash.Get(), HP_HASHVAL, digest, &digestSize, 0) || digestSize != kMd5Bytes) {
        return std::string();
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    for (BYTE b : digest) {
        text.push_back(kHex[b >> 4]);
        text.push_back(kHex[b & 0x0F]);
    }
    return text;
}

}  // namespace services
