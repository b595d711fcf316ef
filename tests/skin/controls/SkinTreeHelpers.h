#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "skin/controls/Builder.h"
#include "skin/controls/ControlUI.h"
#include "skin/controls/IContainerUI.h"
#include "tests/support/skin/TestControlHost.h"

namespace skintest {

// Builds markup text into a tree, attaches it to the host and lays it out over `client`.
inline SkinUI::CControlUI* BuildAttached(testsupport::TestControlHost& host, const std::wstring& markup,
                                         const SkinUI::SkinRect& client = SkinUI::SkinRect{0, 0, 1000, 700}) {
    SkinUI::CSkinBuilder builder;
    EXPECT_TRUE(builder.LoadMarkup(markup)) << builder.Markup().ErrorMessage();
    SkinUI::CControlUI* root = host.Attach(builder.BuildTree(nullptr, &host, nullptr));
    EXPECT_NE(root, nullptr);
    host.Layout(client);
    return root;
}

// The child at `index` of a container (null for anything else).
inline SkinUI::CControlUI* ChildAt(SkinUI::CControlUI* container, int index) {
    if (container == nullptr) {
        return nullptr;
    }
    auto* children = static_cast<SkinUI::IContainerUI*>(container->FindInterface(L"IContainer"));
    return children != nullptr ? children->ItemAt(index) : nullptr;
}

}  // namespace skintest
