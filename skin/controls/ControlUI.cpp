#include "skin/controls/ControlUI.h"

#include "skin/controls/ISkinControlHost.h"
#include "skin/markup/AttributeValues.h"

namespace SkinUI {
namespace {

std::wstring WithLineBreaks(const std::wstring& text) {
    static const std::wstring kMarker = L"<n>";
    std::wstring result = text;
    for (size_t at = result.find(kMarker); at != std::wstring::npos; at = result.find(kMarker, at + 2)) {
        result.replace(at, kMarker.size(), L"\r\n");
    }
    return result;
}

}  // namespace

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
    destroyHooks_.RunAll(*this);
    if (manager_ != nullptr) {
        manager_->ForgetControl(this);
    }
}

const std::wstring& CControlUI::Name() const {
    return name_;
}

void CControlUI::SetName(const std::wstring& name) {
    name_ = name;
}

const wchar_t* CControlUI::ClassName() const {
    return L"ControlUI";
}

void* CControlUI::FindInterface(const wchar_t* name) {
    return name != nullptr && IsNamed(name, L"Control") ? this : nullptr;
}

uint32_t CControlUI::ControlFlags() const {
    return 0;
}

bool CControlUI::TryActivate() {
    return IsVisible() && IsEnabled();
}

ISkinControlHost* CControlUI::Manager() const {
    return manager_;
}

ISkinWindowObject* CControlUI::Association() const {
    return association_;
}

void CControlUI::AttachManager(ISkinControlHost* manager, CControlUI* parent, ISkinWindowObject* association,
                               bool init) {
    manager_ = manager;
    parent_ = parent;
    association_ = association;
    attachedWithInit_ = init && manager != nullptr;
    if (init && parent != nullptr) {
        Init();
    }
}

CControlUI* CControlUI::Parent() const {
    return parent_;
}

const std::wstring& CControlUI::Text() const {
    return text_;
}

void CControlUI::SetText(const std::wstring& text) {
    if (text_ == text) {
        return;
    }
    text_ = text;
    Invalidate();
}

const std::wstring& CControlUI::ToolTip() const {
    return toolTip_;
}

void CControlUI::SetToolTip(const std::wstring& text) {
    toolTip_ = WithLineBreaks(text);
}

void CControlUI::SetToolTipWidth(int32_t width) {
    toolTipWidth_ = width;
}

int32_t CControlUI::ToolTipWidth() const {
    return toolTipWidth_;
}

wchar_t CControlUI::Shortcut() const {
    return shortcut_;
}

void CControlUI::SetShortcut(wchar_t shortcut) {
    shortcut_ = shortcut;
}

bool CControlUI::ContextMenuUsed() const {
    return contextMenuUsed_;
}

void CControlUI::SetContextMenuUsed(bool used) {
    contextMenuUsed_ = used;
}

const std::wstring& CControlUI::UserData() const {
    return userData_;
}

void CControlUI::SetUserData(const std::wstring& data) {
    userData_ = data;
}

uintptr_t CControlUI::Tag() const {
    return tag_;
}

void CControlUI::SetTag(uintptr_t tag) {
    tag_ = tag;
}

CControlUI* CControlUI::SearchControls(SkinControlTest test, void* data, uint32_t flags) {
    if ((flags & SkinSearchFlags::kVisible) != 0 && !IsVisible()) {
        return nullptr;
    }
    if ((flags & SkinSearchFlags::kEnabled) != 0 && !IsEnabled()) {
        return nullptr;
    }
    if ((flags & SkinSearchFlags::kHitTest) != 0 &&
        (!IsMouseEnabled() || !RectContainsPoint(itemRect_, *static_cast<const SkinPoint*>(data)))) {
        return nullptr;
    }
    if ((flags & SkinSearchFlags::kUpdateTest) != 0 && test(this, data) != nullptr) {
        return nullptr;
    }
    return test(this, data);
}

void CControlUI::Init() {
    InitHook();
    initHooks_.RunAll(*this);
}

void CControlUI::InitHook() {}

void CControlUI::Event(SkinEvent& event) {
    if (eventHooks_.AllAccept(event)) {
        HandleEvent(event);
    }
}

void CControlUI::HandleEvent(SkinEvent& event) {
    switch (event.type) {
        case SkinEventType::kSetCursor:
            if (manager_ != nullptr) {
                manager_->SetCursor(SkinCursor::Arrow);
            }
            return;
        case SkinEventType::kSetFocus:
            focused_ = true;
            Invalidate();
            return;
        case SkinEventType::kKillFocus:
            focused_ = false;
            Invalidate();
            return;
        case SkinEventType::kTimer:
            SendNotify(SkinNotifyType::kTimer, event.wParam, event.lParam);
            return;
        case SkinEventType::kContextMenu:
            if (contextMenuUsed_) {
                SendNotify(SkinNotifyType::kMenu, event.wParam, event.lParam);
                return;
            }
            break;
        default:
            break;
    }
    // What this control does not handle goes up to its container.
    if (parent_ != nullptr) {
        parent_->HandleEvent(event);
    }
}

void CControlUI::SetVirtualWindow(const std::wstring& name) {
    virtualWindow_ = name;
    if (manager_ != nullptr) {
        manager_->NoteVirtualWindowsUsed();
    }
}

void CControlUI::SendNotify(const std::wstring& type, uintptr_t wParam, intptr_t lParam) {
    if (manager_ != nullptr) {
        manager_->RaiseNotify(this, type, wParam, lParam, false);
    }
}

}  // namespace SkinUI
