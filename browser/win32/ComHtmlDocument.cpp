#include "browser/win32/ComHtmlDocument.h"

#include "browser/win32/CHtmlEvents.h"
#include "browser/win32/ComHtmlElement.h"
#include "browser/win32/ComValues.h"

namespace browser {
namespace {

std::unique_ptr<HtmlElement> Wrap(ComPtr<IHTMLElement> element) {
    return element ? std::make_unique<ComHtmlElement>(std::move(element)) : nullptr;
}

// A variant holding the sink's dispatch, as the handler properties take it.
bool HandlerValue(HtmlEventSink& sink, Variant& value) {
    auto* events = dynamic_cast<CHtmlEvents*>(&sink);
    if (events == nullptr) {
        return false;
    }
    V_VT(value.Get()) = VT_DISPATCH;
    V_DISPATCH(value.Get()) = static_cast<IDispatch*>(events);
    events->AddRef();
    return true;
}

// The length of a collection of the document, or 0 when there is none or it cannot be read.
template <typename Collection>
size_t LengthOf(Collection* collection) {
    long length = 0;
    if (collection == nullptr || FAILED(collection->get_length(&length)) || length < 0) {
        return 0;
    }
    return static_cast<size_t>(length);
}

// A collection index as the collections take it: a 32-bit integer variant.
void SetIndex(Variant& value, size_t index) {
    V_VT(value.Get()) = VT_I4;
    V_I4(value.Get()) = static_cast<LONG>(index);
}

}  // namespace

IHTMLElementCollection* ComHtmlDocument::All() {
    if (!all_) {
        document_->get_all(all_.Put());
    }
    return all_.Get();
}

IHTMLFramesCollection2* ComHtmlDocument::Frames() {
    if (!frames_) {
        document_->get_frames(frames_.Put());
    }
    return frames_.Get();
}

size_t ComHtmlDocument::ElementCount() {
    return LengthOf(All());
}

std::unique_ptr<HtmlElement> ComHtmlDocument::ElementAt(size_t index) {
    if (All() == nullptr) {
        return nullptr;
    }
    Variant name, position;
    SetIndex(name, index);
    SetIndex(position, index);
    ComPtr<IDispatch> item;
    if (FAILED(all_->item(*name.Get(), *position.Get(), item.Put())) || !item) {
        return nullptr;
    }
    return Wrap(item.As<IHTMLElement>());
}

void ComHtmlDocument::ExecScript(const std::wstring& code, const std::wstring& language) {
    ComPtr<IHTMLWindow2> window;
    if (FAILED(document_->get_parentWindow(window.Put())) || !window) {
        return;
    }
    Bstr script(code);
    Bstr scriptLanguage(language);
    Variant result;
    window->execScript(script.Get(), scriptLanguage.Get(), result.Get());
}

size_t ComHtmlDocument::FrameCount() {
    return LengthOf(Frames());
}

std::unique_ptr<HtmlDocument> ComHtmlDocument::FrameDocument(size_t index) {
    if (Frames() == nullptr) {
        return nullptr;
    }
    Variant position, frame;
    SetIndex(position, index);
    if (FAILED(frames_->item(position.Get(), frame.Get())) || V_VT(frame.Get()) != VT_DISPATCH ||
        V_DISPATCH(frame.Get()) == nullptr) {
        return nullptr;
    }
    ComPtr<IHTMLWindow2> window;
    V_DISPATCH(frame.Get())->QueryInterface(IID_IHTMLWindow2, window.PutVoid());
    ComPtr<IHTMLDocument2> document;
    // A frame of another site refuses its document; it is skipped like a frame without one.
    if (!window || FAILED(window->get_document(document.Put())) || !document) {
        return nullptr;
    }
    return std::make_unique<ComHtmlDocument>(std::move(document));
}

std::unique_ptr<HtmlElement> ComHtmlDocument::ElementFromPoint(int32_t x, int32_t y) {
    ComPtr<IHTMLElement> element;
    if (FAILED(document_->elementFromPoint(x, y, element.Put()))) {
        return nullptr;
    }
    return Wrap(std::move(element));
}

std::unique_ptr<HtmlElement> ComHtmlDocument::ActiveElement() {
    ComPtr<IHTMLElement> element;
    if (FAILED(document_->get_activeElement(element.Put()))) {
        return nullptr;
    }
    return Wrap(std::move(element));
}

bool ComHtmlDocument::SetBodyScrollHandler(HtmlEventSink& sink) {
    ComPtr<IHTMLElement> body;
    if (FAILED(document_->get_body(body.Put())) || !body) {
        return false;
    }
    ComPtr<IHTMLElement2> scrollable = body.As<IHTMLElement2>();
    Variant handler;
    if (!scrollable || !HandlerValue(sink, handler)) {
        return false;
    }
    return SUCCEEDED(scrollable->put_onscroll(*handler.Get()));
}

bool ComHtmlDocument::SetMouseOverHandler(HtmlEventSink& sink) {
    Variant handler;
    if (!HandlerValue(sink, handler)) {
        return false;
    }
    return SUCCEEDED(document_->put_onmouseover(*handler.Get()));
}

}  // namespace browser
