#include "skin/manager/ManagerUI.h"

#include <algorithm>

#include "skin/controls/ControlSearch.h"
#include "skin/controls/IContainerUI.h"

namespace SkinUI {

CSkinManagerUI::CSkinManagerUI(SkinFontEngine& fonts, SkinSharedResources& shared)
    : resources_(fonts, shared) {}

CSkinManagerUI::~CSkinManagerUI() {
    DetachWindow();
}

void CSkinManagerUI::Init(ISkinWindowPort* port) {
    port_ = port;
    Managers().Add(this);
}

void CSkinManagerUI::DetachWindow() {
    Managers().Remove(this);
    // The controls tell the manager they are going; it must still be whole then.
    std::unique_ptr<CControlUI> root = std::move(root_);
    root.reset();
    deferredDestruction_.clear();
    queuedNotifications_.clear();
    KillAllTimers();
    focus_ = hover_ = click_ = key_ = pendingFocus_ = nullptr;
    mouseTracking_ = mouseCapture_ = false;
    windowObject_ = nullptr;
    port_ = nullptr;
}

SkinPointerList<CSkinManagerUI>& CSkinManagerUI::Managers() {
    static SkinPointerList<CSkinManagerUI> managers;
    return managers;
}

bool CSkinManagerUI::AttachRoot(std::unique_ptr<CControlUI> root, ISkinWindowObject* window) {
    if (!root) {
        return false;
    }
    SetFocus(nullptr);
    key_ = hover_ = click_ = pendingFocus_ = nullptr;
    if (root_) {
        DestroyLater(std::move(root_));
    }
    root_ = std::move(root);
    windowObject_ = window;
    updateNeeded_ = firstLayout_ = focusNeeded_ = true;
    root_->AttachManager(this, nullptr, window, true);
    names_.clear();
    for (CControlUI* control : ControlsInTreeOrder(*root_, 0)) {
        if (!control->Name().empty()) {
            names_.emplace(control->Name(), control);
        }
    }
    if (port_ != nullptr) {
        port_->InvalidateAll();
    }
    return true;
}

CControlUI* CSkinManagerUI::SearchControls(const std::wstring& name) const {
    auto it = names_.find(name);
    if (it != names_.end() && InTree(it->second)) {
        return it->second;
    }
    // Controls added or named after the tree was attached are not in the map, and removed ones (not yet
    // destroyed) are in it but no longer in the tree.
    return root_ ? FindControlByName(*root_, name) : nullptr;
}

CControlUI* CSkinManagerUI::SearchControls(const SkinPoint& point) const {
    return root_ ? FindControlAt(*root_, point) : nullptr;
}

uint32_t CSkinManagerUI::Now() const {
    return port_ != nullptr ? port_->Now() : 0;
}

bool CSkinManagerUI::InTree(const CControlUI* control) const {
    // A removed child still names its old parent; the parent's child list tells.
    while (control != nullptr && control->Parent() != nullptr) {
        auto* children = static_cast<IContainerUI*>(control->Parent()->FindInterface(L"IContainer"));
        if (children == nullptr || children->IndexOf(control) < 0) {
            return false;
        }
        control = control->Parent();
    }
    return control != nullptr && control == root_.get();
}

bool CSkinManagerUI::Owns(const CControlUI* control) const {
    return control != nullptr && control->Manager() == this;
}

CSkinResourceTables& CSkinManagerUI::Resources() {
    return resources_;
}

SkinDefaultAttributeLists& CSkinManagerUI::DefaultAttributeLists() {
    return defaultAttributes_;
}

ISkinWindowSettings* CSkinManagerUI::WindowSettings() {
    return port_ != nullptr ? this : nullptr;
}

void CSkinManagerUI::NoteVirtualWindowsUsed() {
    virtualWindowsUsed_ = true;
}

bool CSkinManagerUI::UsesVirtualWindows() const {
    return virtualWindowsUsed_;
}

void CSkinManagerUI::SetCursor(SkinCursor cursor) {
    if (port_ != nullptr) {
        port_->SetCursor(cursor);
    }
}

void CSkinManagerUI::DestroyLater(std::unique_ptr<CControlUI> control) {
    if (!control) {
        return;
    }
    deferredDestruction_.push_back(std::move(control));
    if (port_ != nullptr) {
        port_->PostDeferredDestruction();
    }
}

void CSkinManagerUI::DestroyDeferredControls() {
    // Destroying a control may defer more; those wait for the next message.
    std::vector<std::unique_ptr<CControlUI>> going = std::move(deferredDestruction_);
    deferredDestruction_.clear();
    going.clear();
}

void CSkinManagerUI::ForgetControl(CControlUI* control) {
    for (CControlUI** target : {&focus_, &hover_, &click_, &key_, &pendingFocus_}) {
        if (*target == control) {
            *target = nullptr;
        }
    }
    KillTimer(control);
    postPaintControls_.Remove(control);
    for (auto it = names_.begin(); it != names_.end();) {
        it = it->second == control ? names_.erase(it) : std::next(it);
    }
    queuedNotifications_.erase(std::remove_if(queuedNotifications_.begin(), queuedNotifications_.end(),
                                              [control](const SkinNotify& n) { return n.sender == control; }),
                               queuedNotifications_.end());
}

// Window settings of the skin

void CSkinManagerUI::SetInitialSize(const SkinSize& size) {
    initialSize_ = size;
    if (port_ != nullptr) {
        port_->ResizeClient(size);
    }
}
void CSkinManagerUI::SetSizeBox(const SkinRect& box) {
    sizeBox_ = box;
}
void CSkinManagerUI::SetCaptionRect(const SkinRect& caption) {
    caption_ = caption;
}
void CSkinManagerUI::SetRoundCorner(const SkinSize& corner) {
    roundCorner_ = corner;
}
void CSkinManagerUI::SetMinInfo(const SkinSize& size) {
    minInfo_ = size;
}
void CSkinManagerUI::SetMaxInfo(const SkinSize& size) {
    maxInfo_ = size;
}
void CSkinManagerUI::SetShowUpdateRect(bool show) {
    showUpdateRect_ = show;
}
void CSkinManagerUI::SetOpacity(uint8_t opacity) {
    opacity_ = opacity;
    if (port_ != nullptr) {
        port_->SetOpacity(opacity);
    }
}
}  // namespace SkinUI
