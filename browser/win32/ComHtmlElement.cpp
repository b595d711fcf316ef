#include "browser/win32/ComHtmlElement.h"

#include "browser/win32/ComPageBrowser.h"
#include "browser/win32/ComValues.h"

namespace browser {
namespace {

template <typename Link>
void ReadHref(Link& link, int32_t& result, std::optional<std::wstring>& href) {
    Bstr value;
    result = static_cast<int32_t>(link.get_href(value.Put()));
    href = result == 0 ? BstrText(value.Get()) : std::nullopt;
}

}  // namespace

bool ComHtmlElement::TagName(std::wstring& name) {
    Bstr value;
    if (FAILED(element_->get_tagName(value.Put()))) {
        return false;
    }
    name = value.Text();
    return true;
}

bool ComHtmlElement::Attribute(const std::wstring& name, std::wstring& value) {
    Bstr attribute(name);
    Variant result;
    if (FAILED(element_->getAttribute(attribute.Get(), 0, result.Get()))) {
        return false;
    }
    value = VariantText(result.Get()).value_or(std::wstring());
    return true;
}

std::unique_ptr<HtmlElement> ComHtmlElement::Parent() {
    ComPtr<IHTMLElement> parent;
    if (FAILED(element_->get_parentElement(parent.Put())) || !parent) {
        return nullptr;
    }
    return std::make_unique<ComHtmlElement>(std::move(parent));
}

bool ComHtmlElement::LinkHref(int32_t& result, std::optional<std::wstring>& href) {
    if (ComPtr<IHTMLAnchorElement> anchor = element_.As<IHTMLAnchorElement>()) {
        ReadHref(*anchor.Get(), result, href);
        return true;
    }
    if (ComPtr<IHTMLAreaElement> area = element_.As<IHTMLAreaElement>()) {
        ReadHref(*area.Get(), result, href);
        return true;
    }
    return false;
}

std::unique_ptr<PageBrowser> ComHtmlElement::FrameBrowser() {
    ComPtr<IWebBrowser2> frame = element_.As<IWebBrowser2>();
    if (!frame) {
        return nullptr;
    }
    return std::make_unique<ComPageBrowser>(std::move(frame));
}

bool ComHtmlElement::BoundingTopLeft(int32_t& left, int32_t& top) {
    ComPtr<IHTMLElement2> element = element_.As<IHTMLElement2>();
    ComPtr<IHTMLRect> rect;
    if (!element || FAILED(element->getBoundingClientRect(rect.Put())) || !rect) {
        return false;
    }
    long x = 0;
    long y = 0;
    if (FAILED(rect->get_left(&x)) || FAILED(rect->get_top(&y))) {
        return false;
    }
    left = static_cast<int32_t>(x);
    top = static_cast<int32_t>(y);
    return true;
}

bool ComHtmlElement::ScrollOffsets(int32_t& left, int32_t& top) {
    ComPtr<IHTMLElement2> element = element_.As<IHTMLElement2>();
    if (!element) {
        return false;
    }
    long x = 0;
    long y = 0;
    element->get_scrollLeft(&x);
    element->get_scrollTop(&y);
    left = static_cast<int32_t>(x);
    top = static_cast<int32_t>(y);
    return true;
}

}  // namespace browser
