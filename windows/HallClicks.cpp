#include "windows/HallClicks.h"

namespace hall {
namespace {

struct NamedAction {
    const wchar_t* name;
    ClickAction action;
};

constexpr NamedAction kLauncherClicks[] = {
    {L"homebtn", ClickAction::OpenGameSite},   {L"chargebtn", ClickAction::OpenPaymentPage},
    {L"cusbtn", ClickAction::OpenServicePage}, {L"servicebtn", ClickAction::OpenServicePage},
    {L"bbsbtn", ClickAction::OpenForum},       {L"minibtn", ClickAction::Minimise},
    {L"closebtn", ClickAction::ConfirmQuit},   {L"clearbtn", ClickAction::ClearCache},
};

constexpr NamedAction kGameClicks[] = {
    {L"minbtn", ClickAction::Minimise},           {L"closebtn", ClickAction::ConfirmQuit},
    {L"maxbtn", ClickAction::ToggleMaximise},     {L"clearcachebtn", ClickAction::ClearCache},
    {L"refreshbtn", ClickAction::ReloadPage},     {L"charge", ClickAction::OpenPaymentPage},
    {L"chargebtn", ClickAction::OpenPaymentPage},
};

template <size_t N>
ClickAction Find(const NamedAction (&table)[N], const std::wstring& name) {
    for (const NamedAction& entry : table) {
        if (name == entry.name) {
            return entry.action;
        }
    }
    return ClickAction::None;
}

}  // namespace

bool IsClickNotification(const std::wstring& type) {
    return type == L"click";
}

ClickAction LauncherClickAction(const std::wstring& controlName) {
    return Find(kLauncherClicks, controlName);
}

ClickAction GameClickAction(const std::wstring& controlName) {
    return Find(kGameClicks, controlName);
}

}  // namespace hall
