#pragma once

#include <windows.h>

#include <ocidl.h>
#include <oleidl.h>

#include <string>
#include <vector>

namespace browsertest {

// An in-process OLE object that is no browser, registered under kFakeControlName for the calling
// thread: it logs what its container does to it, so that the container's order of creation, state
// loading and teardown can be checked.
inline constexpr wchar_t kFakeControlName[] = L"{7D3F1A52-4C9B-4E21-9A6F-2B8C5D7E1F30}";

// What the fake controls did, in order: "SetClientSite site", "InitNew", "Load 03 04 05", "DoVerb -5",
// "Close", "SetClientSite null", "Released".
std::vector<std::string>& FakeControlLog();

// Registers the fake's class object while it lives.
class FakeControlRegistration {
  public:
    FakeControlRegistration();
    ~FakeControlRegistration();
    FakeControlRegistration(const FakeControlRegistration&) = delete;
    FakeControlRegistration& operator=(const FakeControlRegistration&) = delete;

    bool Registered() const { return cookie_ != 0; }

  private:
    DWORD cookie_ = 0;
};

}  // namespace browsertest
