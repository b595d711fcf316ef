#include "childproc/CommandLines.h"

std::wstring WebProcessCommandLine(const std::wstring& executablePath, const std::wstring& address) {
    return L"\"" + executablePath + L"\" -KVGameBox -web " + address;
}
