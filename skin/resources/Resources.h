#pragma once

#include <cstddef>
#include <string>

#include "skin/resources/Archive.h"
#include "skin/resources/FilePlatform.h"

namespace SkinUI {

// Where skin files come from: one set of settings for the whole process, shared by every window and
// used from the thread that runs the windows. Skin files are read from the skin folder (the resource
// path), from a ZIP archive file below it, or from a ZIP archive held in memory.

// The archive name that stands for the archive in memory.
extern const wchar_t* const kMemoryArchiveName;

// The module whose file name gives the instance folder; also the module searched for resources
// unless a separate resource module is set.
void SetInstance(ModuleHandle instance);
ModuleHandle Instance();
// The instance module's full file name cut after its last folder separator (empty when unknown).
std::wstring InstanceFolder();

// The module searched for resources; the instance when none was set.
void SetResourceModule(ModuleHandle module);
ModuleHandle ResourceModule();

// The folder prefix of every skin file. A "\" is appended unless the path already ends with "\" or
// "/" (an empty path stays empty).
void SetSkinPath(const std::wstring& path);
const std::wstring& SkinPath();

// Skin files come from the archive `name` below the skin folder (an empty name: from the folder
// itself). Nothing happens when name and flag are the ones in force. Otherwise a kept archive is
// closed, and with `cached` the archive is opened now and kept open for every later load.
void UseArchiveFile(const std::wstring& name, bool cached);
// Skin files come from the archive in the memory block, which the caller keeps alive for the life of
// the process. Nothing happens when the memory archive is already in use. The archive is opened now
// and kept when caching is on (it is from the start).
void UseArchiveMemory(const void* bytes, size_t size);

const std::wstring& ArchiveName();
bool ArchiveKeptOpen();
// The archive kept open, or null (no archive, caching off, or it could not be opened).
SkinArchive* KeptArchive();
bool ArchiveInMemory();

// Opens the archive in use for one load: the kept one when caching is on (opened and kept now when
// it could not be opened before), else a fresh one that `owned` holds. Null when there is no archive
// or it cannot be opened.
SkinArchive* OpenArchiveInUse(ArchivePtr& owned);

// Closes a kept archive and returns every setting to its initial state.
void ResetResourceSettings();

}  // namespace SkinUI
