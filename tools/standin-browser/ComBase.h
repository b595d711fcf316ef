#pragma once

// The stand-in's COM plumbing. Interfaces are used in their C layout, so that one table per interface
// can answer E_NOTIMPL for every method the launcher never calls and name only the methods it does.
// Each interface an object hands out is a Face: the interface's table pointer followed by the object.
#define CINTERFACE
#define COBJMACROS
#include <windows.h>

#include <exdisp.h>
#include <mshtml.h>
#include <ocidl.h>
#include <oleidl.h>

#include <cstring>
#include <string>
#include <type_traits>

#include "browser/win32/ComObject.h"

#ifndef _WIN64
#error "The stand-in's shared E_NOTIMPL method relies on the caller-cleans calling convention of x64."
#endif

namespace standin {

class ComObject;

struct Face {
    const void* table;
    ComObject* self;
};

// Every object of the stand-in: the launcher's reference count, and interface lookup through faces.
class ComObject : public browser::ComRefCounted {
  public:
    ULONG AddRef() { return AddReference(); }
    ULONG Release() { return DropReference(); }
    // A face may belong to another object (a frame element gives its browser): that one is counted.
    HRESULT QueryInterface(REFIID iid, void** object) {
        Face* face = object != nullptr ? Find(iid) : nullptr;
        return browser::AnswerQuery(face, face != nullptr ? face->self : this, object);
    }

    template <typename Interface>
    Interface* As(Face& face) {
        return reinterpret_cast<Interface*>(&face);
    }

  protected:
    // The face answering `iid`, or null; IUnknown is asked for as well.
    virtual Face* Find(REFIID iid) = 0;
};

HRESULT STDMETHODCALLTYPE NotImplemented();
HRESULT STDMETHODCALLTYPE FaceQueryInterface(Face* face, REFIID iid, void** object);
ULONG STDMETHODCALLTYPE FaceAddRef(Face* face);
ULONG STDMETHODCALLTYPE FaceRelease(Face* face);

// A method table whose IUnknown slots are the shared ones and whose other slots answer E_NOTIMPL;
// the caller then names the methods it implements.
template <typename Table>
Table MakeTable() {
    Table table;
    void* slots[sizeof(Table) / sizeof(void*)];
    auto notImplemented = &NotImplemented;
    for (void*& slot : slots) {
        std::memcpy(&slot, &notImplemented, sizeof slot);
    }
    auto query = &FaceQueryInterface;
    auto addRef = &FaceAddRef;
    auto release = &FaceRelease;
    std::memcpy(&slots[0], &query, sizeof(void*));
    std::memcpy(&slots[1], &addRef, sizeof(void*));
    std::memcpy(&slots[2], &release, sizeof(void*));
    std::memcpy(&table, slots, sizeof table);
    return table;
}

// Owns one reference, either to an interface in C layout or to a stand-in object.
template <typename T>
class Ref {
  public:
    Ref() = default;
    explicit Ref(T* adopted) : p_(adopted) {}
    ~Ref() { Reset(); }
    Ref(Ref&& other) noexcept : p_(other.Detach()) {}
    Ref& operator=(Ref&& other) noexcept {
        if (this != &other) {
            Reset();
            p_ = other.Detach();
        }
        return *this;
    }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;

    static Ref Retain(T* pointer) {
        if (pointer != nullptr) {
            if constexpr (std::is_base_of_v<ComObject, T>) {
                pointer->AddRef();
            } else {
                pointer->lpVtbl->AddRef(pointer);
            }
        }
        return Ref(pointer);
    }
    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void Reset() {
        if (T* old = Detach()) {
            if constexpr (std::is_base_of_v<ComObject, T>) {
                old->Release();
            } else {
                old->lpVtbl->Release(old);
            }
        }
    }
    T** Put() {
        Reset();
        return &p_;
    }
    T* Detach() {
        T* pointer = p_;
        p_ = nullptr;
        return pointer;
    }

  private:
    T* p_ = nullptr;
};

// Hands out `face` as an interface with a new reference.
template <typename Interface>
HRESULT GiveFace(Face& face, Interface** out) {
    if (out == nullptr) {
        return E_POINTER;
    }
    face.self->AddRef();
    *out = reinterpret_cast<Interface*>(&face);
    return S_OK;
}

HRESULT GiveText(const std::wstring& text, BSTR* out);
std::wstring VariantString(const VARIANT* value);

// One line to the file named by TOLVANE_STANDIN_LOG, when it is set; nothing otherwise.
void Log(const std::wstring& line);

}  // namespace standin
