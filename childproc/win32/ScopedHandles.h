#pragma once

#include <windows.h>

#include <ole2.h>

namespace childproc {

// Move-only owners of kernel objects and memory blocks: each closes or frees what it holds on every
// path out of a function.

class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    HANDLE Release() {
        HANDLE handle = handle_;
        handle_ = nullptr;
        return handle;
    }
    void Reset(HANDLE handle = nullptr) {
        if (handle_ != nullptr) {
            CloseHandle(handle_);
        }
        handle_ = handle;
    }

  private:
    HANDLE handle_ = nullptr;
};

// A view of a file mapping.
class MappedView {
  public:
    explicit MappedView(HANDLE mapping) : view_(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0)) {}
    ~MappedView() {
        if (view_ != nullptr) {
            UnmapViewOfFile(view_);
        }
    }
    MappedView(const MappedView&) = delete;
    MappedView& operator=(const MappedView&) = delete;

    void* Get() const { return view_; }
    // The bytes the view spans, whole pages; 0 without a view.
    size_t Size() const {
        MEMORY_BASIC_INFORMATION info = {};
        if (view_ == nullptr || VirtualQuery(view_, &info, sizeof info) == 0) {
            return 0;
        }
        return info.RegionSize;
    }

  private:
    void* view_;
};

// A movable global memory block; Release() hands it to a stream that frees it.
class GlobalMemory {
  public:
    GlobalMemory(UINT flags, SIZE_T bytes) : memory_(GlobalAlloc(flags, bytes)) {}
    ~GlobalMemory() {
        if (memory_ != nullptr) {
            GlobalFree(memory_);
        }
    }
    GlobalMemory(const GlobalMemory&) = delete;
    GlobalMemory& operator=(const GlobalMemory&) = delete;

    HGLOBAL Get() const { return memory_; }
    explicit operator bool() const { return memory_ != nullptr; }
    HGLOBAL Release() {
        HGLOBAL memory = memory_;
        memory_ = nullptr;
        return memory;
    }
    // Copies bytes in while the block is locked; false when it cannot be locked.
    bool CopyIn(const void* data, SIZE_T bytes);

  private:
    HGLOBAL memory_;
};

inline bool GlobalMemory::CopyIn(const void* data, SIZE_T bytes) {
    void* locked = memory_ != nullptr ? GlobalLock(memory_) : nullptr;
    if (locked == nullptr) {
        return false;
    }
    CopyMemory(locked, data, bytes);
    GlobalUnlock(memory_);
    return true;
}

// The calling thread's OLE apartment (single-threaded) for the owner's lifetime; every successful
// initialisation, the nested ones included, is balanced.
class OleApartment {
  public:
    OleApartment() : initialized_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleApartment() {
        if (initialized_) {
            OleUninitialize();
        }
    }
    OleApartment(const OleApartment&) = delete;
    OleApartment& operator=(const OleApartment&) = delete;

  private:
    bool initialized_;
};

}  // namespace childproc
