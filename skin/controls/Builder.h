#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "skin/controls/ControlUI.h"
#include "skin/markup/Markup.h"

namespace SkinUI {

class IDialogBuilderCallback;
class ISkinControlHost;
class ISkinWindowObject;

// Turns one skin document into a control tree: the resource elements at the top ("Image", "Font",
// "Default", "MultiLanguage") go to the window's manager, the "Window" element's attributes to the
// window, and every other element becomes a control through the engine's table, the application's
// extensions or its callback. A builder serves one build.
class CSkinBuilder {
  public:
    // Includes nest at most this deep, and one build includes at most this many documents, so that a
    // skin including itself ends.
    static constexpr int kDeepestInclude = 16;
    static constexpr int kMostIncludes = 1024;

    CSkinBuilder() = default;
    CSkinBuilder(const CSkinBuilder&) = delete;
    CSkinBuilder& operator=(const CSkinBuilder&) = delete;

    // Markup text when `source` starts with "<", else the name of a UTF-8 skin file.
    bool LoadMarkup(const std::wstring& source);
    // UTF-8 markup in the module resource `resourceId` of `resourceType`; the document's includes are
    // then resources of that type too.
    bool LoadResource(uint32_t resourceId, const std::wstring& resourceType);

    // Builds the loaded document. The caller owns the result (the first control at the top level) until
    // a manager takes it; null when nothing is loaded, there is no control, or an element has a parent
    // that holds no children. With a host, each control is left detached but for `window`: attaching the
    // tree gives it the manager and initialises it.
    std::unique_ptr<CControlUI> BuildTree(IDialogBuilderCallback* callback, ISkinControlHost* host,
                                          ISkinWindowObject* window);
    // Builds the loaded document's controls into `parent`, which owns them; the first of them, or null
    // (also when `parent` holds no children).
    CControlUI* BuildInto(CControlUI& parent, IDialogBuilderCallback* callback, ISkinControlHost* host,
                          ISkinWindowObject* window);

    CSkinMarkup& Markup() { return markup_; }

  private:
    struct Context;
    struct TopLevel;

    bool Build(CControlUI* parent, Context& context, TopLevel& top);
    bool BuildChildren(const CSkinMarkupNode& node, CControlUI* parent, Context& context, TopLevel& top);
    bool BuildElement(const CSkinMarkupNode& node, CControlUI* parent, Context& context, TopLevel& top);
    void BuildInclude(const CSkinMarkupNode& node, CControlUI* parent, Context& context, TopLevel& top);
    std::unique_ptr<CControlUI> MakeControl(const wchar_t* elementName, Context& context) const;
    void ApplyAttributes(CControlUI& control, const CSkinMarkupNode& node, Context& context) const;

    CSkinMarkup markup_;
    std::wstring resourceType_;
    int includeDepth_ = 0;
    int includeBudget_ = kMostIncludes;
    int* sharedIncludeBudget_ = &includeBudget_;
};

}  // namespace SkinUI
