#pragma once

#include <unknwn.h>

#include <cstddef>

namespace browser {

// Owns one reference to a COM interface. Moving hands the reference on; copying is not offered, so a
// reference is never shared by accident. Works with every interface that has a __uuidof.
template <typename T>
class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    ~ComPtr() { Reset(); }
    ComPtr(ComPtr&& other) noexcept : p_(other.p_) { other.p_ = nullptr; }
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            p_ = other.p_;
            other.p_ = nullptr;
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    // Takes over a reference the caller already owns.
    static ComPtr Adopt(T* pointer) {
        ComPtr owned;
        owned.p_ = pointer;
        return owned;
    }
    // Takes a reference of its own.
    static ComPtr Retain(T* pointer) {
        if (pointer != nullptr) {
            pointer->AddRef();
        }
        return Adopt(pointer);
    }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

    void Reset() {
        if (p_ != nullptr) {
            T* old = p_;
            p_ = nullptr;
            old->Release();
        }
    }
    // The out place for a call that returns a new reference; what was held is released first.
    T** Put() {
        Reset();
        return &p_;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }
    // Gives the reference to the caller.
    T* Detach() {
        T* pointer = p_;
        p_ = nullptr;
        return pointer;
    }

    // Another interface of the same object; null when the object does not offer it.
    template <typename U>
    ComPtr<U> As() const {
        ComPtr<U> other;
        if (p_ != nullptr) {
            p_->QueryInterface(__uuidof(U), other.PutVoid());
        }
        return other;
    }

  private:
    T* p_ = nullptr;
};

}  // namespace browser
