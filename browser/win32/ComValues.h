#pragma once

#include <windows.h>

#include <oleauto.h>

#include <optional>
#include <string>

namespace browser {

// Owns a BSTR; the platform's null string and the empty string are both empty text.
class Bstr {
  public:
    Bstr() = default;
    explicit Bstr(const std::wstring& text)
        : value_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    ~Bstr() { SysFreeString(value_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;

    BSTR Get() const { return value_; }
    BSTR* Put() {
        SysFreeString(value_);
        value_ = nullptr;
        return &value_;
    }
    std::wstring Text() const {
        return value_ != nullptr ? std::wstring(value_, SysStringLen(value_)) : std::wstring();
    }

  private:
    BSTR value_ = nullptr;
};

// Owns a VARIANT and clears it on the way out.
class Variant {
  public:
    Variant() { VariantInit(&value_); }
    ~Variant() { VariantClear(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    VARIANT* Get() { return &value_; }
    const VARIANT* Get() const { return &value_; }

  private:
    VARIANT value_;
};

// The text inside a variant, following one reference to another variant; null or non-text values are
// absent.
std::optional<std::wstring> VariantText(const VARIANT* value);

// A text as its BSTR form gives it: absent for the null string.
std::optional<std::wstring> BstrText(BSTR value);

}  // namespace browser
