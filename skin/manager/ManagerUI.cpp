#include "skin/manager/ManagerUI.h"

#include <algorithm>

#include "skin/controls/ControlSearch.h"
#include "skin/controls/IContainerUI.h"
#include "skin/controls/ISkinWindowObject.h"
#include "skin/manager/IMessageFilterUI.h"
#include "skin/manager/INotifyUI.h"
#include "skin/manager/ITranslateAccelerator.h"

namespace SkinUI {

namespace {

// Hover time when there is no tooltip whose delay could be used.
constexpr uint32_t kDefaultHoverMs = 400;
// Outline of repainted rectangles when the skin asks to see them.
constexpr SkinColor kUpdateOutline = 0xFFDC0000;
// The item of a context-menu message given from the keyboard rather than at a mouse point.
constexpr uint16_t kKeyboardContextMenu = 0xFFFF;
// The hit-test part of a set-cursor message that stands for the client area.
constexpr uint16_t kHitClient = 1;

std::vector<CSkinManagerUI*>& ManagerList() {
    static std::vector<CSkinManagerUI*> managers;
    return managers;
}

template <typename T>
void AddOnce(std::vector<T*>& list, T* item) {
    if (item != nullptr && std::find(list.begin(), list.end(), item) == list.end()) {
        list.push_back(item);
    }
}

template <typename T>
bool RemoveItem(std::vector<T*>& list, T* item) {
    auto it = std::find(list.begin(), list.end(), item);
    if (it == list.end()) {
        return false;
    }
    list.erase(it);
    return true;
}

// Every control of the tree in tree order, for walks that may change the tree as they go.
CControlUI* CollectControl(CControlUI* control, void* list) {
    static_cast<std::vector<CControlUI*>*>(list)->push_back(control);
    return nullptr;
}

std::vector<CControlUI*> ControlsOf(CControlUI& root, uint32_t flags) {
    std::vector<CControlUI*> controls;
    root.SearchControls(CollectControl, &controls, flags | SkinSearchFlags::kMeFirst);
    return controls;
}

wchar_t AsciiUpper(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

CControlUI* ControlWithShortcut(CControlUI* control, void* key) {
    return AsciiUpper(control->Shortcut()) == *static_cast<const wchar_t*>(key) ? control : nullptr;
}

const std::wstring& VirtualWindowOf(const CControlUI* control) {
    static const std::wstring none;
    for (; control != nullptr; control = control->Parent()) {
        if (!control->VirtualWindow().empty()) {
            return control->VirtualWindow();
        }
    }
    return none;
}

}  // namespace

CSkinManagerUI::CSkinManagerUI(SkinFontEngine& fonts, SkinSharedResources& shared)
    : resources_(fonts, shared) {}

CSkinManagerUI::~CSkinManagerUI() {
    RemoveItem(ManagerList(), this);
    // The controls tell the manager they are going; it must still be whole then.
    std::unique_ptr<CControlUI> root = std::move(root_);
    root.reset();
    deferredDestruction_.clear();
    if (port_ != nullptr) {
        timers_.KillAll(*port_);
    }
}

void CSkinManagerUI::Init(ISkinWindowPort* port) {
    port_ = port;
    AddOnce(ManagerList(), this);
}

void CSkinManagerUI::DetachWindow() {
    RemoveItem(ManagerList(), this);
    std::unique_ptr<CControlUI> root = std::move(root_);
    root.reset();
    deferredDestruction_.clear();
    queuedNotifications_.clear();
    if (port_ != nullptr) {
        timers_.KillAll(*port_);
    }
    focus_ = hover_ = click_ = key_ = pendingFocus_ = nullptr;
    mouseTracking_ = mouseCapture_ = false;
    windowObject_ = nullptr;
    port_ = nullptr;
}

const std::vector<CSkinManagerUI*>& CSkinManagerUI::Managers() {
    return ManagerList();
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
    for (CControlUI* control : ControlsOf(*root_, 0)) {
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

void CSkinManagerUI::AddNotifyListener(INotifyUI* listener) {
    AddOnce(notifiers_, listener);
}
bool CSkinManagerUI::RemoveNotifyListener(INotifyUI* listener) {
    return RemoveItem(notifiers_, listener);
}
void CSkinManagerUI::AddMessageListener(IMessageFilterUI* filter) {
    AddOnce(messageFilters_, filter);
}
bool CSkinManagerUI::RemoveMessageListener(IMessageFilterUI* filter) {
    return RemoveItem(messageFilters_, filter);
}
void CSkinManagerUI::AddPreTranslateListener(IMessageFilterUI* filter) {
    AddOnce(preMessageFilters_, filter);
}
bool CSkinManagerUI::RemovePreTranslateListener(IMessageFilterUI* filter) {
    return RemoveItem(preMessageFilters_, filter);
}
void CSkinManagerUI::AddAcceleratorListener(ITranslateAccelerator* accelerator) {
    AddOnce(accelerators_, accelerator);
}
bool CSkinManagerUI::RemoveAcceleratorListener(ITranslateAccelerator* accelerator) {
    return RemoveItem(accelerators_, accelerator);
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

void CSkinManagerUI::SendEvent(CControlUI* control, int32_t type, const SkinPoint& point, uintptr_t wParam,
                               intptr_t lParam, uint16_t keyChar, uint16_t keyState) {
    if (!Owns(control)) {
        return;
    }
    SkinEvent event;
    event.type = type;
    event.sender = control;
    event.timestamp = Now();
    event.point = point;
    event.keyChar = keyChar;
    event.keyState = keyState;
    event.wParam = wParam;
    event.lParam = lParam;
    control->Event(event);
}

// Notifications

void CSkinManagerUI::RaiseNotify(CControlUI* sender, const std::wstring& type, uintptr_t wParam,
                                 intptr_t lParam, bool async) {
    SkinNotify notify;
    notify.type = type;
    notify.sender = sender;
    notify.wParam = wParam;
    notify.lParam = lParam;
    RaiseNotify(notify, async);
}

void CSkinManagerUI::RaiseNotify(SkinNotify& notify, bool async) {
    notify.point = lastMousePoint_;
    notify.timestamp = Now();
    if (virtualWindowsUsed_) {
        notify.virtualWindow = VirtualWindowOf(notify.sender);
    }
    if (async) {
        queuedNotifications_.push_back(notify);
        return;
    }
    DeliverNotify(notify);
}

void CSkinManagerUI::DeliverNotify(SkinNotify& notify) {
    if (notify.sender != nullptr) {
        notify.sender->OnNotify().RunAll(notify);
    }
    // A listener may remove itself or others while it is told.
    const std::vector<INotifyUI*> listeners = notifiers_;
    for (INotifyUI* listener : listeners) {
        if (std::find(notifiers_.begin(), notifiers_.end(), listener) != notifiers_.end()) {
            listener->OnNotify(notify);
        }
    }
}

void CSkinManagerUI::DeliverQueuedNotifications() {
    while (!queuedNotifications_.empty()) {
        SkinNotify notify = std::move(queuedNotifications_.front());
        queuedNotifications_.erase(queuedNotifications_.begin());
        DeliverNotify(notify);
    }
}

// Focus

void CSkinManagerUI::SetFocus(CControlUI* control) {
    if (port_ != nullptr && !port_->HasKeyboardFocus() && control != focus_) {
        port_->TakeKeyboardFocus();
    }
    if (control == focus_) {
        return;
    }
    if (CControlUI* old = focus_) {
        focus_ = nullptr;
        SendEvent(old, SkinEventType::kKillFocus, lastMousePoint_, 0, 0);
        RaiseNotify(old, SkinNotifyType::kKillFocus, 0, 0, false);
    }
    if (Owns(control) && control->IsVisible() && control->IsEnabled()) {
        focus_ = control;
        SendEvent(control, SkinEventType::kSetFocus, lastMousePoint_);
        RaiseNotify(control, SkinNotifyType::kSetFocus, 0, 0, false);
    }
}

void CSkinManagerUI::SetFocusControl(CControlUI* control) {
    SetFocus(control);
}

CControlUI* CSkinManagerUI::FocusControl() const {
    return focus_;
}

void CSkinManagerUI::SetPendingFocus(CControlUI* control) {
    if (port_ != nullptr) {
        port_->TakeKeyboardFocus();
    }
    pendingFocus_ = Owns(control) ? control : nullptr;
    focusNeeded_ = true;
    if (port_ != nullptr) {
        port_->InvalidateAll();
    }
}

void CSkinManagerUI::MoveTabFocus(bool forward) {
    if (updateNeeded_) {
        focusNeeded_ = true;
        if (port_ != nullptr) {
            port_->InvalidateAll();
        }
        return;
    }
    if (!root_) {
        return;
    }
    std::vector<CControlUI*> order =
        ControlsOf(*root_, SkinSearchFlags::kVisible | SkinSearchFlags::kEnabled);
    if (!forward) {
        std::reverse(order.begin(), order.end());
    }
    auto start = std::find(order.begin(), order.end(), focus_);
    const size_t first = start == order.end() ? 0 : static_cast<size_t>(start - order.begin()) + 1;
    for (size_t step = 0; step < order.size(); ++step) {
        CControlUI* candidate = order[(first + step) % order.size()];
        if ((candidate->ControlFlags() & SkinControlFlags::kTabStop) != 0) {
            SetFocus(candidate);
            return;
        }
    }
}

// Timers, capture, invalidation

bool CSkinManagerUI::SetTimer(CControlUI* control, uint32_t timerId, uint32_t elapseMs) {
    return port_ != nullptr && Owns(control) && timers_.Set(*port_, control, timerId, elapseMs);
}

bool CSkinManagerUI::KillTimer(CControlUI* control, uint32_t timerId) {
    return port_ != nullptr && timers_.Kill(*port_, control, timerId);
}

void CSkinManagerUI::KillTimer(CControlUI* control) {
    if (port_ != nullptr) {
        timers_.Forget(*port_, control);
    }
}

void CSkinManagerUI::KillAllTimers() {
    if (port_ != nullptr) {
        timers_.KillAll(*port_);
    }
}

void CSkinManagerUI::SetCapture() {
    if (port_ != nullptr) {
        port_->CaptureMouse();
    }
    mouseCapture_ = true;
}

void CSkinManagerUI::ReleaseCapture() {
    if (port_ != nullptr) {
        port_->ReleaseMouse();
    }
    mouseCapture_ = false;
}

void CSkinManagerUI::Invalidate(const SkinRect& rect) {
    if (port_ != nullptr) {
        port_->Invalidate(rect);
    }
}

void CSkinManagerUI::InvalidateRect(const SkinRect& rect) {
    Invalidate(rect);
}

void CSkinManagerUI::NoteLayoutDue() {
    MarkLayoutDirty();
}

void CSkinManagerUI::AddPostPaintControl(CControlUI* control) {
    AddOnce(postPaintControls_, control);
}

void CSkinManagerUI::RemovePostPaintControl(CControlUI* control) {
    RemoveItem(postPaintControls_, control);
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
    RemoveItem(postPaintControls_, control);
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

// Messages

bool CSkinManagerUI::HandleWindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam,
                                         intptr_t& result) {
    if (port_ == nullptr) {
        return false;
    }
    DeliverQueuedNotifications();
    const std::vector<IMessageFilterUI*> filters = messageFilters_;
    for (IMessageFilterUI* filter : filters) {
        bool handled = false;
        const intptr_t answer = filter->HandleWindowMessage(message, wParam, lParam, handled);
        if (handled) {
            result = answer;
            return true;
        }
    }
    return HandleByMessage(message, wParam, lParam, result);
}

bool CSkinManagerUI::HandleByMessage(uint32_t message, uintptr_t wParam, intptr_t lParam, intptr_t& result) {
    namespace M = SkinMessage;
    switch (message) {
        case M::kClose:
            OnClose();
            return false;
        case M::kEraseBackground:
            result = 1;
            return true;
        case M::kPaint:
            OnPaint();
            result = 0;
            return true;
        case M::kPrintClient:
            if (root_) {
                port_->PrintClient(wParam, lParam, *this);
            }
            result = 0;
            return true;
        case M::kGetMinMaxInfo:
            port_->ApplyTrackingLimits(lParam, minInfo_, maxInfo_);
            return false;
        case M::kSize:
            SendEvent(focus_, SkinEventType::kWindowSize, lastMousePoint_);
            if (root_) {
                root_->MarkLayoutDirty();
            }
            MarkLayoutDirty();
            return false;
        case M::kTimer:
            OnTimer(static_cast<uint32_t>(wParam));
            result = 0;
            return true;
        case M::kSetCursor:
            if (OnSetCursor(lParam)) {
                result = 1;
                return true;
            }
            return false;
        case M::kNotify:
        case M::kCommand:
            return port_->ReflectToChild(message, wParam, lParam, result);
        case M::kDestroyDeferredControls:
            DestroyDeferredControls();
            result = 0;
            return true;
        default:
            break;
    }
    if (message >= M::kFirstControlColor && message <= M::kLastControlColor) {
        return port_->ReflectToChild(message, wParam, lParam, result);
    }
    if (HandleMouseMessage(message, wParam, lParam) || HandleKeyMessage(message, wParam, lParam)) {
        result = 0;
        return false;  // handled for the controls; the window's default processing still runs
    }
    return false;
}

bool CSkinManagerUI::HandleMouseMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    namespace M = SkinMessage;
    switch (message) {
        case M::kMouseHover:
            OnMouseHover(PointFromLParam(lParam));
            return true;
        case M::kMouseLeave:
            OnMouseLeave();
            return true;
        case M::kMouseMove:
            OnMouseMove(PointFromLParam(lParam), wParam);
            return true;
        case M::kLeftButtonDown:
            OnButtonDown(SkinEventType::kButtonDown, PointFromLParam(lParam), wParam);
            return true;
        case M::kLeftButtonDoubleClick:
            OnButtonDown(SkinEventType::kDoubleClick, PointFromLParam(lParam), wParam);
            return true;
        case M::kRightButtonDown:
            OnButtonDown(SkinEventType::kRightButtonDown, PointFromLParam(lParam), wParam);
            return true;
        case M::kLeftButtonUp:
            OnButtonUp(PointFromLParam(lParam), wParam);
            return true;
        case M::kContextMenu:
            OnContextMenu(lParam);
            return true;
        case M::kMouseWheel:
            OnMouseWheel(wParam, lParam);
            return true;
        default:
            return false;
    }
}

bool CSkinManagerUI::HandleKeyMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    namespace M = SkinMessage;
    const auto keyChar = static_cast<uint16_t>(wParam);
    switch (message) {
        case M::kChar:
            SendEvent(focus_, SkinEventType::kChar, lastMousePoint_, wParam, lParam, keyChar);
            return true;
        case M::kKeyDown:
            SendEvent(focus_, SkinEventType::kKeyDown, lastMousePoint_, wParam, lParam, keyChar);
            key_ = focus_;
            return true;
        case M::kKeyUp:
            if (CControlUI* released = key_) {
                key_ = nullptr;
                SendEvent(released, SkinEventType::kKeyUp, lastMousePoint_, wParam, lParam, keyChar);
            }
            return true;
        default:
            return false;
    }
}

void CSkinManagerUI::OnClose() {
    if (CControlUI* hovered = hover_) {
        hover_ = nullptr;
        SendEvent(hovered, SkinEventType::kMouseLeave, lastMousePoint_);
    }
    if (CControlUI* pressed = click_) {
        click_ = nullptr;
        SendEvent(pressed, SkinEventType::kButtonUp, lastMousePoint_);
    }
    SetFocus(nullptr);
    port_->GiveFocusToOwner();
}

void CSkinManagerUI::OnTimer(uint32_t windowTimerId) {
    if (const SkinTimerTable::Record* record = timers_.FindLive(windowTimerId)) {
        SendEvent(record->control, SkinEventType::kTimer, lastMousePoint_, record->id);
    }
}

void CSkinManagerUI::OnMouseHover(const SkinPoint& point) {
    mouseTracking_ = false;
    CControlUI* control = SearchControls(point);
    if (control == nullptr) {
        return;
    }
    SendEvent(control, SkinEventType::kMouseHover, point);
    // The event may have changed or removed the control.
    if (Owns(control) && control == SearchControls(point) && !control->ToolTip().empty()) {
        port_->ShowTooltip(control->ToolTip(), control->ToolTipWidth(), control->ItemRect());
    }
}

void CSkinManagerUI::OnMouseLeave() {
    port_->HideTooltip();
    // The pointer left the window: whatever was hot is so no longer. A pointer that leaves right after
    // a hover (which disarmed the tracking) leaves a hot control behind too.
    if (mouseTracking_ || hover_ != nullptr) {
        mouseTracking_ = true;  // the move below must not ask for tracking again
        OnMouseMove(SkinPoint{-1, -1}, 0);
    }
    mouseTracking_ = false;
}

void CSkinManagerUI::OnMouseMove(const SkinPoint& point, uintptr_t keyState) {
    if (!mouseTracking_) {
        const int32_t delay = port_->TooltipInitialDelay();
        port_->TrackMouse(delay >= 0 ? static_cast<uint32_t>(delay) : kDefaultHoverMs);
        mouseTracking_ = true;
    }
    lastMousePoint_ = point;
    CControlUI* now = SearchControls(point);
    if (now != nullptr && !Owns(now)) {
        now = nullptr;
    }
    if (now != hover_) {
        CControlUI* old = hover_;
        hover_ = now;
        if (old != nullptr) {
            SendEvent(old, SkinEventType::kMouseLeave, point, keyState);
            port_->HideTooltip();
        }
        if (now != nullptr && hover_ == now) {
            SendEvent(now, SkinEventType::kMouseEnter, point, keyState);
        }
    }
    CControlUI* target = click_ != nullptr ? click_ : hover_;
    SendEvent(target, SkinEventType::kMouseMove, point, keyState);
}

void CSkinManagerUI::OnButtonDown(int32_t eventType, const SkinPoint& point, uintptr_t keyState) {
    port_->TakeKeyboardFocus();
    lastMousePoint_ = point;
    CControlUI* control = SearchControls(point);
    if (!Owns(control)) {
        return;
    }
    const bool right = eventType == SkinEventType::kRightButtonDown;
    // A right press takes the mouse only when no left press holds it; the context menu that follows
    // the release gives it back.
    if (!right || click_ == nullptr) {
        click_ = control;
    }
    if (eventType != SkinEventType::kDoubleClick) {
        control->SetFocus();
    }
    SetCapture();
    SendEvent(control, eventType, point, keyState, 0, 0, static_cast<uint16_t>(keyState));
}

void CSkinManagerUI::OnButtonUp(const SkinPoint& point, uintptr_t keyState) {
    lastMousePoint_ = point;
    if (click_ == nullptr) {
        return;
    }
    ReleaseCapture();
    CControlUI* released = click_;
    click_ = nullptr;
    SendEvent(released, SkinEventType::kButtonUp, point, keyState, 0, 0, static_cast<uint16_t>(keyState));
}

void CSkinManagerUI::OnContextMenu(intptr_t lParam) {
    const SkinPoint screen = PointFromLParam(lParam);
    const bool fromKeyboard = static_cast<uint16_t>(screen.x) == kKeyboardContextMenu &&
                              static_cast<uint16_t>(screen.y) == kKeyboardContextMenu;
    if (!fromKeyboard) {
        lastMousePoint_ = port_->ScreenToClient(screen);
    }
    if (click_ == nullptr) {
        return;
    }
    ReleaseCapture();
    CControlUI* target = click_;
    click_ = nullptr;
    SendEvent(target, SkinEventType::kContextMenu, lastMousePoint_, 0, lParam);
}

void CSkinManagerUI::OnMouseWheel(uintptr_t wParam, intptr_t lParam) {
    const SkinPoint point = port_->ScreenToClient(PointFromLParam(lParam));
    const uintptr_t direction = WheelDelta(wParam) > 0 ? kScrollLineUp : kScrollLineDown;
    SendEvent(SearchControls(point), SkinEventType::kScrollWheel, point, direction, lParam);
    // Whatever scrolled under the pointer gets its hot state from the pointer again.
    OnMouseMove(lastMousePoint_, 0);
}

bool CSkinManagerUI::OnSetCursor(intptr_t lParam) {
    if (static_cast<uint16_t>(static_cast<uint32_t>(lParam) & 0xFFFF) != kHitClient) {
        return false;
    }
    if (mouseCapture_) {
        return true;
    }
    const SkinPoint point = port_->CursorPosition();
    CControlUI* control = SearchControls(point);
    if (!Owns(control) || (control->ControlFlags() & SkinControlFlags::kSetCursor) == 0) {
        return false;
    }
    SendEvent(control, SkinEventType::kSetCursor, point);
    return true;
}

// Painting

void CSkinManagerUI::OnPaint() {
    if (port_->UpdateRect().IsEmpty()) {
        return;
    }
    if (!root_) {
        port_->ValidateAll();
        return;
    }
    const bool layered = windowObject_ != nullptr && windowObject_->TransparentBackground();
    LayOutIfDue();
    if (focusNeeded_) {
        focusNeeded_ = false;
        CControlUI* pending = pendingFocus_;
        pendingFocus_ = nullptr;
        if (pending != nullptr && pending->IsVisible() && pending->IsEnabled()) {
            SetFocus(pending);
        } else {
            MoveTabFocus(true);
        }
    }
    if (!root_) {
        port_->ValidateAll();  // a listener of "windowinit" took the tree away
        return;
    }
    port_->PaintUpdate(layered, *this);
    if (updateNeeded_) {
        port_->InvalidateAll();
    }
}

void CSkinManagerUI::LayOutIfDue() {
    if (!updateNeeded_) {
        return;
    }
    port_->DropOffscreen();
    updateNeeded_ = false;
    const SkinRect client = port_->ClientRect();
    if (client.IsEmpty()) {
        return;
    }
    if (root_->NeedsUpdate()) {
        root_->Place(client, true);
    } else {
        for (CControlUI* control : ControlsOf(*root_, SkinSearchFlags::kVisible)) {
            if (control->NeedsUpdate()) {
                control->Place(control->ItemRect(), true);
            }
        }
    }
    if (firstLayout_) {
        firstLayout_ = false;
        RaiseNotify(root_.get(), SkinNotifyType::kWindowInit, 0, 0, false);
    }
}

void CSkinManagerUI::PaintClient(SkinCanvas& canvas, const SkinRect& paintRect) {
    if (root_) {
        root_->Paint(canvas, paintRect);
    }
    for (CControlUI* control : std::vector<CControlUI*>(postPaintControls_)) {
        if (std::find(postPaintControls_.begin(), postPaintControls_.end(), control) !=
            postPaintControls_.end()) {
            control->PaintOverlay(canvas, paintRect);
        }
    }
    if (showUpdateRect_) {
        canvas.DrawRect(paintRect, 1, kUpdateOutline);
    }
}

// Before dispatch

bool CSkinManagerUI::HandlePreTranslate(uint32_t message, uintptr_t wParam, intptr_t lParam,
                                        intptr_t& result) {
    const std::vector<IMessageFilterUI*> filters = preMessageFilters_;
    for (IMessageFilterUI* filter : filters) {
        bool handled = false;
        const intptr_t answer = filter->HandleWindowMessage(message, wParam, lParam, handled);
        if (handled) {
            result = answer;
            return true;
        }
    }
    switch (message) {
        case SkinMessage::kKeyDown:
            if (wParam != SkinKey::kTab) {
                return false;
            }
            // Rich edit boxes of this engine take no Tab characters, so Tab always moves the focus.
            MoveTabFocus(port_ == nullptr || !port_->ShiftDown());
            return true;
        case SkinMessage::kSysChar:
            return ActivateShortcut(static_cast<wchar_t>(wParam));
        case SkinMessage::kSysKeyDown:
            SendEvent(focus_, SkinEventType::kSysKey, lastMousePoint_, wParam, lParam,
                      static_cast<uint16_t>(wParam));
            return false;
        default:
            return false;
    }
}

bool CSkinManagerUI::ActivateShortcut(wchar_t key) {
    if (!root_) {
        return false;
    }
    wchar_t wanted = AsciiUpper(key);
    if (wanted == 0) {
        return false;
    }
    CControlUI* control = root_->SearchControls(
        ControlWithShortcut, &wanted,
        SkinSearchFlags::kEnabled | SkinSearchFlags::kMeFirst | SkinSearchFlags::kTopFirst);
    if (control == nullptr) {
        return false;  // Alt with any other key keeps its system meaning
    }
    control->SetFocus();
    control->TryActivate();
    return true;
}

bool CSkinManagerUI::TranslateAccelerators(const SkinWindowMessage& message) {
    const std::vector<ITranslateAccelerator*> accelerators = accelerators_;
    for (ITranslateAccelerator* accelerator : accelerators) {
        if (accelerator->TranslateAccelerator(message) != 0) {
            return true;
        }
    }
    return false;
}

bool CSkinManagerUI::PreTranslate(const SkinWindowMessage& message, const ISkinWindowTree& windows) {
    // A manager may go while a message is offered (its window closed): the list is looked at afresh.
    const std::vector<CSkinManagerUI*> managers = ManagerList();
    auto stillThere = [](CSkinManagerUI* m) {
        return std::find(ManagerList().begin(), ManagerList().end(), m) != ManagerList().end();
    };
    intptr_t result = 0;
    if (!windows.IsChildWindow(message.window)) {
        for (CSkinManagerUI* manager : managers) {
            if (stillThere(manager) && manager->port_ != nullptr &&
                manager->port_->WindowId() == message.window) {
                return manager->TranslateAccelerators(message) ||
                       manager->HandlePreTranslate(message.message, message.wParam, message.lParam, result);
            }
        }
        return false;
    }
    for (auto it = managers.rbegin(); it != managers.rend(); ++it) {
        CSkinManagerUI* manager = *it;
        if (!stillThere(manager) || manager->port_ == nullptr ||
            !windows.IsAncestor(manager->port_->WindowId(), message.window)) {
            continue;
        }
        if (manager->TranslateAccelerators(message) ||
            manager->HandlePreTranslate(message.message, message.wParam, message.lParam, result)) {
            return true;
        }
    }
    return false;
}

}  // namespace SkinUI
