#include "skin/resources/Resources.h"

namespace SkinUI {

const wchar_t* const kMemoryArchiveName = L"membuffer";

namespace {

struct ResourceSettings {
    ModuleHandle instance = nullptr;
    ModuleHandle resourceModule = nullptr;
    std::wstring skinPath;
    std::wstring archiveName;
    bool archiveCached = true;
    ArchivePtr keptArchive;
    const void* memoryArchive = nullptr;
    size_t memoryArchiveSize = 0;
};

ResourceSettings& Settings() {
    static ResourceSettings settings;
    return settings;
}

ArchivePtr OpenNamedArchive(const ResourceSettings& settings) {
    if (settings.archiveName.empty()) {
        return nullptr;
    }
    if (settings.archiveName == kMemoryArchiveName) {
        return OpenArchive(settings.memoryArchive, settings.memoryArchiveSize);
    }
    return OpenArchive(settings.skinPath + settings.archiveName);
}

}  // namespace

void SetInstance(ModuleHandle instance) {
    Settings().instance = instance;
}

ModuleHandle Instance() {
    return Settings().instance;
}

std::wstring InstanceFolder() {
    const std::wstring fileName = ModuleFileName(Settings().instance);
    const size_t separator = fileName.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : fileName.substr(0, separator + 1);
}

void SetResourceModule(ModuleHandle module) {
    Settings().resourceModule = module;
}

ModuleHandle ResourceModule() {
    const ResourceSettings& settings = Settings();
    return settings.resourceModule != nullptr ? settings.resourceModule : settings.instance;
}

void SetSkinPath(const std::wstring& path) {
    std::wstring& stored = Settings().skinPath;
    stored = path;
    if (!stored.empty() && stored.back() != L'\\' && stored.back() != L'/') {
        stored.push_back(L'\\');
    }
}

const std::wstring& SkinPath() {
    return Settings().skinPath;
}

void UseArchiveFile(const std::wstring& name, bool cached) {
    ResourceSettings& settings = Settings();
    if (name == settings.archiveName && cached == settings.archiveCached) {
        return;
    }
    settings.keptArchive.reset();
    settings.archiveName = name;
    settings.archiveCached = cached;
    if (cached) {
        settings.keptArchive = OpenNamedArchive(settings);
    }
}

void UseArchiveMemory(const void* bytes, size_t size) {
    ResourceSettings& settings = Settings();
    if (settings.archiveName == kMemoryArchiveName) {
        return;
    }
    settings.keptArchive.reset();
    settings.archiveName = kMemoryArchiveName;
    settings.memoryArchive = bytes;
    settings.memoryArchiveSize = size;
    if (settings.archiveCached) {
        settings.keptArchive = OpenNamedArchive(settings);
    }
}

const std::wstring& ArchiveName() {
    return Settings().archiveName;
}

bool ArchiveKeptOpen() {
    return Settings().archiveCached;
}

SkinArchive* KeptArchive() {
    return Settings().keptArchive.get();
}

bool ArchiveInMemory() {
    return Settings().archiveName == kMemoryArchiveName;
}

SkinArchive* OpenArchiveInUse(ArchivePtr& owned) {
    ResourceSettings& settings = Settings();
    if (!settings.archiveCached) {
        owned = OpenNamedArchive(settings);
        return owned.get();
    }
    if (!settings.keptArchive) {
        settings.keptArchive = OpenNamedArchive(settings);
    }
    return settings.keptArchive.get();
}

void ResetResourceSettings() {
    Settings() = ResourceSettings();
}

}  // namespace SkinUI
