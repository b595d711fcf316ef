#pragma once

#include <cstdint>
#include <string>

namespace childproc {

struct PageRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// Window styles of a page: a visible child of its owner, or an owned popup that stays disabled and hidden
// (and never takes activation) until the hall shows it.
inline constexpr uint32_t kChildPageStyle = 0x56000000;    // child, visible, clip siblings and children
inline constexpr uint32_t kPopupPageStyle = 0x8E000000;    // popup, disabled, clip siblings and children
inline constexpr uint32_t kPopupPageExStyle = 0x08000000;  // no activation

// Where and how a page window of the child starts. The rectangle is only a first place: the hall moves
// the window where it wants it.
struct PagePlacement {
    bool asChild = false;     // the address carries "aschildxsd=1"
    bool serverList = false;  // the address carries "server_list?": only the server list shows scroll bars
    PageRect rect;            // in the owner's client coordinates for a child, screen coordinates otherwise
    uint32_t style = kPopupPageStyle;
    uint32_t exStyle = kPopupPageExStyle;
};

// `address` is the page's first address (empty for none); `ownerClient` is the owner's client rectangle
// and `ownerScreen` its window rectangle on the screen.
PagePlacement ChoosePagePlacement(const std::string& address, const PageRect& ownerClient,
                                  const PageRect& ownerScreen);

}  // namespace childproc
