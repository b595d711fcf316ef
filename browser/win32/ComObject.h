#pragma once

// The IUnknown and IDispatch plumbing that every COM object of ours shares: one reference count, one
// rule for answering a query, and one answer for the type information that none of them has.

#include <windows.h>

#include <oaidl.h>

namespace browser {

// One interlocked reference count, starting with the creator's reference; the last release deletes
// the object. The platform may add and drop references from other threads. Independent of the layout
// of the interfaces, so that objects written in the C layout count the same way.
class ComRefCounted {
  public:
    ComRefCounted(const ComRefCounted&) = delete;
    ComRefCounted& operator=(const ComRefCounted&) = delete;

    ULONG AddReference() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG DropReference() {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }

  protected:
    ComRefCounted() = default;
    virtual ~ComRefCounted() = default;

  private:
    LONG references_ = 1;
};

// The answer to a query: `found` is the interface that answers it, or null, and `owner` the object
// behind that interface. Success adds a reference for the caller; failure leaves null in the out place.
inline HRESULT AnswerQuery(void* found, ComRefCounted* owner, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = found;
    if (found == nullptr) {
        return E_NOINTERFACE;
    }
    owner->AddReference();
    return S_OK;
}

#ifndef CINTERFACE  // objects in the C layout write their own method tables

// A COM object offering `Interfaces` (each derived from IUnknown): the object names in Find which of its
// bases answers an interface id.
template <typename... Interfaces>
class ComObject : public ComRefCounted, public Interfaces... {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        return AnswerQuery(object != nullptr ? Find(iid) : nullptr, this, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return AddReference(); }
    ULONG STDMETHODCALLTYPE Release() override { return DropReference(); }

  protected:
    // The base answering `iid` (IUnknown included), or null when the object does not offer it.
    virtual void* Find(REFIID iid) = 0;
};

// IDispatch as our objects offer it: called by member number only, with no type information and no
// names to look up.
class NumberedDispatch : public IDispatch {
  public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count != nullptr) {
            *count = 0;
        }
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info != nullptr) {
            *info = nullptr;
        }
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
};

#endif  // CINTERFACE

}  // namespace browser
