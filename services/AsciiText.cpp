#include "services/AsciiText.h"

namespace services {
namespace {

template <typename Char>
Char Lower(Char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<Char>(c - 'A' + 'a') : c;
}

template <typename Text>
bool EqualIgnoringCase(const Text& a, const Text& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

wchar_t AsciiLower(wchar_t c) {
    return Lower(c);
}

bool EqualsIgnoringAsciiCase(const std::wstring& a, const std::wstring& b) {
    return EqualIgnoringCase(a, b);
}

bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b) {
    return EqualIgnoringCase(a, b);
}

}  // namespace services
