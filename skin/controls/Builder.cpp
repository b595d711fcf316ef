#include "skin/controls/Builder.h"

#include <vector>

#include "skin/controls/ControlFactory.h"
#include "skin/controls/IContainerUI.h"
#include "skin/controls/IDialogBuilderCallback.h"
#include "skin/controls/ISkinControlHost.h"
#include "skin/controls/ResourceElements.h"
#include "skin/drawing/ResourceTables.h"
#include "skin/markup/AsciiText.h"
#include "skin/markup/AttributeValues.h"
#include "skin/markup/Numbers.h"
#include "skin/resources/DefaultAttributeLists.h"
#include "skin/resources/Files.h"

namespace SkinUI {

struct CSkinBuilder::Context {
    IDialogBuilderCallback* callback;
    ISkinControlHost* host;
    ISkinWindowObject* window;
    CControlUI* topParent;  // the parent of the build's top-level controls (null: none)
};

// The top-level controls of a build: the first is the result; without a parent nothing else would own
// the others, so they are dropped.
struct CSkinBuilder::TopLevel {
    std::unique_ptr<CControlUI> owned;
    CControlUI* first = nullptr;

    bool Taken() const { return first != nullptr; }
    void Note(CControlUI* control) {
        if (first == nullptr) {
            first = control;
        }
    }
    void Offer(std::unique_ptr<CControlUI> control) {
        if (first == nullptr) {
            first = control.get();
            owned = std::move(control);
        }
    }
};

namespace {

// The longest "source" of an "Include" that is read, in characters.
constexpr size_t kLongestIncludeSource = 499;

}  // namespace

bool CSkinBuilder::LoadMarkup(const std::wstring& source) {
    resourceType_.clear();
    if (!source.empty() && source[0] == L'<') {
        return markup_.ParseText(source.c_str());
    }
    return markup_.ParseSkinFile(source, SkinTextEncoding::Utf8);
}

bool CSkinBuilder::LoadResource(uint32_t resourceId, const std::wstring& resourceType) {
    resourceType_ = resourceType;
    std::vector<uint8_t> bytes;
    if (resourceType.empty() || !LoadSkinFileBytes(std::to_wstring(resourceId), resourceType, bytes)) {
        markup_.Clear();
        return false;
    }
    return markup_.ParseBytes(bytes.data(), bytes.size(), SkinTextEncoding::Utf8);
}

std::unique_ptr<CControlUI> CSkinBuilder::BuildTree(IDialogBuilderCallback* callback, ISkinControlHost* host,
                                                    ISkinWindowObject* window) {
    Context context{callback, host, window, nullptr};
    TopLevel top;
    if (!Build(nullptr, context, top)) {
        return nullptr;
    }
    return std::move(top.owned);
}

CControlUI* CSkinBuilder::BuildInto(CControlUI& parent, IDialogBuilderCallback* callback,
                                    ISkinControlHost* host, ISkinWindowObject* window) {
    Context context{callback, host, window, &parent};
    TopLevel top;
    return Build(&parent, context, top) ? top.first : nullptr;
}

bool CSkinBuilder::Build(CControlUI* parent, Context& context, TopLevel& top) {
    const CSkinMarkupNode root = markup_.Root();
    if (!root.IsValid()) {
        return false;
    }
    if (context.host != nullptr) {
        ApplyResourceElements(root, *context.host, context.window);
    }
    return BuildChildren(root, parent, context, top);
}

bool CSkinBuilder::BuildChildren(const CSkinMarkupNode& node, CControlUI* parent, Context& context,
                                 TopLevel& top) {
    for (CSkinMarkupNode child = node.FirstChild(); child.IsValid(); child = child.NextSibling()) {
        const wchar_t* name = child.Name();
        if (IsResourceElement(name)) {
            continue;
        }
        if (SameNameIgnoringCase(name, L"Include")) {
            BuildInclude(child, parent, context, top);
            continue;
        }
        if (!BuildElement(child, parent, context, top)) {
            return false;
        }
    }
    return true;
}

// One element with its subtree; false when the build must stop.
bool CSkinBuilder::BuildElement(const CSkinMarkupNode& node, CControlUI* parent, Context& context,
                                TopLevel& top) {
    std::unique_ptr<CControlUI> control = MakeControl(node.Name(), context);
    if (!control) {
        return true;  // unknown: skipped with its subtree
    }
    // Children first: a container's own attributes come after its children exist.
    if (node.HasChild() && !BuildChildren(node, control.get(), context, top)) {
        return false;
    }
    CControlUI* built = control.get();
    if (parent != nullptr) {
        auto* container = static_cast<IContainerUI*>(parent->FindInterface(L"IContainer"));
        if (container == nullptr) {
            return false;
        }
        if (!container->Add(std::move(control))) {
            return true;
        }
    } else if (top.Taken()) {
        return true;  // a second top-level control without a parent: nothing would own it
    }
    ApplyAttributes(*built, node, context);
    if (context.host != nullptr) {
        // Detached until the tree is attached; the window and the parent link stay.
        built->AttachManager(nullptr, built->Parent(), context.window, false);
    }
    if (parent == nullptr) {
        top.Offer(std::move(control));
    } else if (parent == context.topParent) {
        top.Note(built);
    }
    return true;
}

void CSkinBuilder::BuildInclude(const CSkinMarkupNode& node, CControlUI* parent, Context& context,
                                TopLevel& top) {
    wchar_t source[kLongestIncludeSource + 1];
    if (!node.AttributeValue(L"source", source, sizeof(source) / sizeof(source[0]))) {
        return;
    }
    const wchar_t* countText = node.FindAttribute(L"count");
    const int32_t count = countText != nullptr ? ParseIntegerValue(countText) : 1;
    for (int32_t i = 0; i < count; ++i) {
        if (includeDepth_ >= kDeepestInclude || *sharedIncludeBudget_ <= 0) {
            return;
        }
        --*sharedIncludeBudget_;
        CSkinBuilder included;
        included.includeDepth_ = includeDepth_ + 1;
        included.sharedIncludeBudget_ = sharedIncludeBudget_;
        const bool loaded = resourceType_.empty() ? included.LoadMarkup(source)
                                                  : included.LoadResource(ParseUInt32(source), resourceType_);
        if (!loaded) {
            return;
        }
        if (parent != nullptr) {
            if (CControlUI* first =
                    included.BuildInto(*parent, context.callback, context.host, context.window)) {
                if (parent == context.topParent) {
                    top.Note(first);
                }
            }
        } else {
            top.Offer(included.BuildTree(context.callback, context.host, context.window));
        }
    }
}

std::unique_ptr<CControlUI> CSkinBuilder::MakeControl(const wchar_t* elementName, Context& context) const {
    std::unique_ptr<CControlUI> control = CreateControlByName(elementName);
    if (control) {
        // Attached for the build, so that attributes can reach fonts and images.
        if (context.host != nullptr) {
            control->AttachManager(context.host, nullptr, context.window, false);
        }
        return control;
    }
    control = CreateExtensionControl(elementName);
    if (!control && context.callback != nullptr) {
        control = context.callback->MakeCustomControl(elementName);
    }
    return control;
}

void CSkinBuilder::ApplyAttributes(CControlUI& control, const CSkinMarkupNode& node, Context& context) const {
    if (context.host != nullptr) {
        const std::wstring* defaults = context.host->DefaultAttributeLists().Find(node.Name());
        if (defaults == nullptr) {
            defaults = context.host->Resources().Shared().defaultAttributes.Find(node.Name());
        }
        if (defaults != nullptr) {
            control.ApplyAttributeList(defaults->c_str());
        }
    }
    for (int i = 0; i < node.AttributeCount(); ++i) {
        control.ApplyAttribute(node.AttributeName(i), node.AttributeValue(i));
    }
}

}  // namespace SkinUI
