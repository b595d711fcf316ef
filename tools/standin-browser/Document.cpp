#include "Document.h"

#include <shlwapi.h>

#include <algorithm>

#include "Browser.h"

namespace standin {

struct Cursor {
    int x, y, left, right, lineHeight;
    void NewLine(bool force = false) {
        if (x > left || force) {
            y += lineHeight > 0 ? lineHeight : 18;
        }
        x = left;
        lineHeight = 0;
    }
};

namespace {

bool IsBlock(const Node& node) {
    static const std::wstring kBlocks =
        L" P DIV H1 H2 H3 UL OL LI TABLE TR FORM CENTER BODY HR PRE FRAMESET "
        L"SECTION DL DT DD BLOCKQUOTE HEADER FOOTER NAV ";
    return kBlocks.find(L" " + node.tag + L" ") != std::wstring::npos;
}

// What is not drawn: the head and its parts, and image maps (their areas are found through images).
bool IsHidden(const Node& node) {
    static const std::wstring kHidden = L" HEAD TITLE SCRIPT STYLE META LINK MAP AREA BASE ";
    return kHidden.find(L" " + node.tag + L" ") != std::wstring::npos;
}

int NumberAttribute(const Node& node, const wchar_t* name, int fallback) {
    const std::wstring* value = node.Attribute(name);
    const int number = value != nullptr ? _wtoi(value->c_str()) : 0;
    return number > 0 ? std::min(number, 4000) : fallback;
}

COLORREF ColorOf(FontRole role) {
    return role == kLink ? RGB(0, 0, 204) : role == kTitle ? RGB(90, 40, 0) : RGB(20, 20, 20);
}

// The image map area of `image` under page point (x, y), if any: rectangles only.
Node* AreaAt(const Dom& dom, const Node& image, int x, int y) {
    const std::wstring* map = image.Attribute(L"usemap");
    if (map == nullptr || map->empty()) {
        return nullptr;
    }
    const std::wstring name = (*map)[0] == L'#' ? map->substr(1) : *map;
    for (const auto& node : dom.nodes) {
        const std::wstring* coords = node->Attribute(L"coords");
        if (!node->Is(L"AREA") || coords == nullptr || node->parent == nullptr ||
            node->parent->Attribute(L"name") == nullptr || *node->parent->Attribute(L"name") != name) {
            continue;
        }
        int c[4] = {};
        if (swscanf(coords->c_str(), L"%d,%d,%d,%d", &c[0], &c[1], &c[2], &c[3]) == 4 &&
            x - image.left >= c[0] && x - image.left < c[2] && y - image.top >= c[1] &&
            y - image.top < c[3]) {
            return node.get();
        }
    }
    return nullptr;
}

}  // namespace

// The interface methods, reaching their object through the face they are called on.
struct Document::Faces {
    static Document* Of(void* face) { return static_cast<Document*>(reinterpret_cast<Face*>(face)->self); }

    static HRESULT STDMETHODCALLTYPE All(IHTMLDocument2* self, IHTMLElementCollection** out) {
        return GiveFace(Of(self)->all_, out);
    }
    static HRESULT STDMETHODCALLTYPE Body(IHTMLDocument2* self, IHTMLElement** out) {
        return (*out = Element::Give(*Of(self), Of(self)->dom_->Body())) != nullptr ? S_OK : E_FAIL;
    }
    static HRESULT STDMETHODCALLTYPE ElementFromPoint(IHTMLDocument2* self, LONG x, LONG y,
                                                      IHTMLElement** out) {
        *out = Element::Give(*Of(self), Of(self)->ElementAt(x, y));
        return S_OK;
    }
    static HRESULT STDMETHODCALLTYPE Frames(IHTMLDocument2* self, IHTMLFramesCollection2** out) {
        return GiveFace(Of(self)->window_, out);
    }
    static HRESULT STDMETHODCALLTYPE ParentWindow(IHTMLDocument2* self, IHTMLWindow2** out) {
        return GiveFace(Of(self)->window_, out);
    }
    static HRESULT STDMETHODCALLTYPE PutOnMouseOver(IHTMLDocument2* self, VARIANT handler) {
        Of(self)->onMouseOver_ =
            Ref<IDispatch>::Retain(V_VT(&handler) == VT_DISPATCH ? V_DISPATCH(&handler) : nullptr);
        return S_OK;
    }

    static HRESULT STDMETHODCALLTYPE Length(IHTMLElementCollection* self, LONG* out) {
        *out = static_cast<LONG>(Of(self)->dom_->elements.size());
        return S_OK;
    }
    static HRESULT STDMETHODCALLTYPE Item(IHTMLElementCollection* self, VARIANT name, VARIANT,
                                          IDispatch** out) {
        *out = nullptr;
        VARIANT index;
        VariantInit(&index);
        if (FAILED(VariantChangeType(&index, &name, 0, VT_I4))) {
            return E_INVALIDARG;
        }
        const std::vector<Node*>& elements = Of(self)->dom_->elements;
        if (V_I4(&index) < 0 || static_cast<size_t>(V_I4(&index)) >= elements.size()) {
            return S_OK;  // no such element: no object, as the real collection answers
        }
        *out = reinterpret_cast<IDispatch*>(
            Element::Give(*Of(self), elements[static_cast<size_t>(V_I4(&index))]));
        return S_OK;
    }

    static std::vector<Node*> FrameNodes(Document& document) {
        std::vector<Node*> frames;
        for (const auto& node : document.dom_->nodes) {
            if (node->frame != nullptr) {
                frames.push_back(node.get());
            }
        }
        return frames;
    }
    static HRESULT STDMETHODCALLTYPE FrameCount(IHTMLWindow2* self, LONG* out) {
        *out = static_cast<LONG>(FrameNodes(*Of(self)).size());
        return S_OK;
    }
    static HRESULT STDMETHODCALLTYPE Frame(IHTMLWindow2* self, VARIANT* position, VARIANT* out) {
        VARIANT index;
        VariantInit(&index);
        VariantInit(out);
        if (position == nullptr || FAILED(VariantChangeType(&index, position, 0, VT_I4))) {
            return E_INVALIDARG;
        }
        const std::vector<Node*> frames = FrameNodes(*Of(self));
        if (V_I4(&index) < 0 || static_cast<size_t>(V_I4(&index)) >= frames.size()) {
            return E_INVALIDARG;
        }
        Document* inner = frames[static_cast<size_t>(V_I4(&index))]->frame->CurrentDocument();
        if (inner == nullptr) {
            return S_OK;  // a frame that holds no page yet
        }
        V_VT(out) = VT_DISPATCH;
        return GiveFace(inner->window_, reinterpret_cast<IHTMLWindow2**>(&V_DISPATCH(out)));
    }
    static HRESULT STDMETHODCALLTYPE WindowDocument(IHTMLWindow2* self, IHTMLDocument2** out) {
        return GiveFace(Of(self)->document_, out);
    }
    // Scripts do not run here; they are accepted and recorded.
    static HRESULT STDMETHODCALLTYPE ExecScript(IHTMLWindow2*, BSTR code, BSTR, VARIANT* result) {
        Log(L"script " + std::wstring(code != nullptr ? code : L""));
        if (result != nullptr) {
            VariantInit(result);
        }
        return S_OK;
    }
};

Document* Document::Create(std::unique_ptr<Dom> dom) {
    return new Document(std::move(dom));
}

Document::Document(std::unique_ptr<Dom> dom) : dom_(std::move(dom)) {
    static const IHTMLDocument2Vtbl documentTable = [] {
        auto table = MakeTable<IHTMLDocument2Vtbl>();
        table.get_all = &Faces::All;
        table.get_body = &Faces::Body;
        table.elementFromPoint = &Faces::ElementFromPoint;
        table.get_activeElement = &Faces::Body;  // nothing takes the focus inside a page
        table.get_frames = &Faces::Frames;
        table.get_parentWindow = &Faces::ParentWindow;
        table.put_onmouseover = &Faces::PutOnMouseOver;
        return table;
    }();
    static const IHTMLElementCollectionVtbl allTable = [] {
        auto table = MakeTable<IHTMLElementCollectionVtbl>();
        table.get_length = &Faces::Length;
        table.item = &Faces::Item;
        return table;
    }();
    static const IHTMLWindow2Vtbl windowTable = [] {
        auto table = MakeTable<IHTMLWindow2Vtbl>();
        table.get_length = &Faces::FrameCount;
        table.item = &Faces::Frame;
        table.get_document = &Faces::WindowDocument;
        table.execScript = &Faces::ExecScript;
        return table;
    }();
    document_ = {&documentTable, this};
    all_ = {&allTable, this};
    window_ = {&windowTable, this};
}

Document::~Document() {
    for (auto& picture : pictures_) {
        IPicture_Release(picture.second);
    }
}

Face* Document::Find(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IHTMLDocument ||
        iid == IID_IHTMLDocument2) {
        return &document_;
    }
    if (iid == IID_IHTMLElementCollection) {
        return &all_;
    }
    if (iid == IID_IHTMLWindow2 || iid == IID_IHTMLFramesCollection2) {
        return &window_;
    }
    return nullptr;
}

void Document::SetPicture(Node* image, IPicture* picture) {
    auto& slot = pictures_[image];
    if (slot != nullptr) {
        IPicture_Release(slot);
    }
    slot = picture;
}

void Document::AddRun(Cursor& cursor, Node* node, FontRole font, std::wstring text, int width, int height) {
    if (cursor.x > cursor.left && cursor.x + width > cursor.right) {
        cursor.NewLine();
    }
    const RECT box = {cursor.x, cursor.y, cursor.x + width, cursor.y + height};
    runs_.push_back({box, node, font, std::move(text)});
    cursor.x += width;
    cursor.lineHeight = std::max(cursor.lineHeight, height);
    // Every element around the run grows to hold it.
    for (Node* owner = node; owner != nullptr; owner = owner->parent) {
        const bool first = !owner->placed;
        owner->left = first ? box.left : std::min<int>(owner->left, box.left);
        owner->top = first ? box.top : std::min<int>(owner->top, box.top);
        owner->right = first ? box.right : std::max<int>(owner->right, box.right);
        owner->bottom = first ? box.bottom : std::max<int>(owner->bottom, box.bottom);
        owner->placed = true;
    }
}

void Document::Place(Node& node, FontRole font, Cursor& cursor, HDC dc, const HFONT* fonts) {
    if (node.tag.empty()) {
        SelectObject(dc, fonts[font]);
        SIZE space = {};
        GetTextExtentPoint32W(dc, L" ", 1, &space);
        size_t start = 0;
        while (start < node.text.size()) {
            size_t end = node.text.find(L' ', start);
            end = end == std::wstring::npos ? node.text.size() : end;
            // A word wider than the line (text without spaces) is broken where the line ends.
            size_t fit = end;
            SIZE size = {};
            while (true) {
                GetTextExtentPoint32W(dc, node.text.c_str() + start, static_cast<int>(fit - start), &size);
                if (size.cx <= cursor.right - cursor.left || fit - start <= 1) {
                    break;
                }
                fit = start + (fit - start) * 3 / 4;
            }
            AddRun(cursor, &node, font, node.text.substr(start, fit - start), size.cx, size.cy);
            if (fit == end) {
                cursor.x += space.cx;
                start = end + 1;
            } else {
                start = fit;
            }
        }
        return;
    }
    if (IsHidden(node)) {
        return;
    }
    if (node.Is(L"BR")) {
        cursor.NewLine(true);
        return;
    }
    if (node.Is(L"IMG")) {
        int width = 32, height = 32;
        auto picture = pictures_.find(&node);
        if (picture != pictures_.end()) {
            OLE_XSIZE_HIMETRIC w = 0;
            OLE_YSIZE_HIMETRIC h = 0;
            IPicture_get_Width(picture->second, &w);
            IPicture_get_Height(picture->second, &h);
            width = MulDiv(w, 96, 2540), height = MulDiv(h, 96, 2540);
        }
        AddRun(cursor, &node, font, L"", NumberAttribute(node, L"width", width),
               NumberAttribute(node, L"height", height));
        return;
    }
    if (node.frame != nullptr) {
        const bool framesetFrame = node.Is(L"FRAME");
        if (framesetFrame) {
            cursor.NewLine();
        }
        const int width = NumberAttribute(node, L"width", framesetFrame ? cursor.right - cursor.left : 300);
        AddRun(cursor, &node, font, L"", width, NumberAttribute(node, L"height", framesetFrame ? 240 : 150));
        if (Document* inner = node.frame->CurrentDocument()) {
            inner->Layout(dc, fonts, width);
        }
        return;
    }
    const bool block = IsBlock(node);
    if (block) {
        cursor.NewLine();
    }
    if (node.Is(L"H1") || node.Is(L"H2") || node.Is(L"H3")) {
        font = static_cast<FontRole>(kHeading1 + (node.tag[1] - L'1'));
    } else if (node.Is(L"A") && node.Attribute(L"href") != nullptr) {
        font = kLink;
    }
    for (Node* child : node.children) {
        Place(*child, font, cursor, dc, fonts);
    }
    if (block) {
        cursor.NewLine();
        if (node.Is(L"P") || font >= kHeading1) {
            cursor.y += 8;
        }
    }
}

void Document::Layout(HDC dc, const HFONT* fonts, int width) {
    runs_.clear();
    for (const auto& node : dom_->nodes) {
        node->placed = false;
    }
    Cursor cursor = {8, 8, 8, std::max(width - 8, 40), 0};
    if (!dom_->title.empty()) {
        SelectObject(dc, fonts[kTitle]);
        SIZE size = {};
        GetTextExtentPoint32W(dc, dom_->title.c_str(), static_cast<int>(dom_->title.size()), &size);
        AddRun(cursor, nullptr, kTitle, dom_->title, size.cx, size.cy);
        cursor.NewLine();
        cursor.y += 10;
    }
    Place(*dom_->Root(), kText, cursor, dc, fonts);
    cursor.NewLine();
    contentHeight_ = cursor.y + 8;
}

void Document::Paint(HDC dc, const HFONT* fonts, int x, int y, const RECT& clip) {
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    FillRect(dc, &clip, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    y -= scrollTop_;
    for (const Run& run : runs_) {
        RECT box = run.box;
        OffsetRect(&box, x, y);
        RECT visible;
        if (!IntersectRect(&visible, &box, &clip)) {
            continue;
        }
        if (run.node == nullptr || run.node->tag.empty()) {
            SelectObject(dc, fonts[run.font]);
            SetTextColor(dc, ColorOf(run.font));
            TextOutW(dc, box.left, box.top, run.text.c_str(), static_cast<int>(run.text.size()));
        } else if (run.node->frame != nullptr) {
            FrameRect(dc, &box, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
            if (Document* inner = run.node->frame->CurrentDocument()) {
                RECT inside = box;
                InflateRect(&inside, -1, -1);
                IntersectRect(&inside, &inside, &clip);
                inner->Paint(dc, fonts, box.left, box.top, inside);
            }
        } else {
            auto picture = pictures_.find(run.node);
            if (picture != pictures_.end()) {
                OLE_XSIZE_HIMETRIC w = 0;
                OLE_YSIZE_HIMETRIC h = 0;
                IPicture_get_Width(picture->second, &w);
                IPicture_get_Height(picture->second, &h);
                IPicture_Render(picture->second, dc, box.left, box.top, box.right - box.left,
                                box.bottom - box.top, 0, h, w, -h, nullptr);
            } else {  // an image that did not load shows its place and its text
                FrameRect(dc, &box, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
                const std::wstring* alt = run.node->Attribute(L"alt");
                SelectObject(dc, fonts[run.font]);
                SetTextColor(dc, ColorOf(run.font));
                DrawTextW(dc, alt != nullptr ? alt->c_str() : L"", -1, &box,
                          DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
            }
        }
    }
    RestoreDC(dc, saved);
}

Node* Document::ElementAt(int x, int y) {
    y += scrollTop_;
    for (auto run = runs_.rbegin(); run != runs_.rend(); ++run) {
        if (run->node == nullptr || x < run->box.left || x >= run->box.right || y < run->box.top ||
            y >= run->box.bottom) {
            continue;
        }
        Node* node = run->node;
        if (node->tag.empty()) {
            return node->parent;
        }
        Node* area = node->Is(L"IMG") ? AreaAt(*dom_, *node, x, y) : nullptr;
        return area != nullptr ? area : node;
    }
    return dom_->Body();
}

bool Document::ScrollBy(int delta, int viewHeight) {
    const int top = std::max(0, std::min(scrollTop_ + delta, contentHeight_ - viewHeight));
    if (top == scrollTop_) {
        return false;
    }
    scrollTop_ = top;
    Invoke(onScroll_.Get());
    return true;
}

void Document::PointerAt(int x, int y) {
    const Node* node = ElementAt(x, y);
    if (node != hovered_) {
        hovered_ = node;
        Invoke(onMouseOver_.Get());
    }
}

void Document::Invoke(IDispatch* handler) {
    if (handler == nullptr) {
        return;
    }
    DISPPARAMS none = {};
    VARIANT result;
    VariantInit(&result);
    IDispatch_Invoke(handler, DISPID_VALUE, IID_NULL, 0, DISPATCH_METHOD, &none, &result, nullptr, nullptr);
    VariantClear(&result);
}

// Elements.

struct Element::Faces {
    static Element* Of(void* face) { return static_cast<Element*>(reinterpret_cast<Face*>(face)->self); }

    static HRESULT STDMETHODCALLTYPE TagName(IHTMLElement* self, BSTR* out) {
        return GiveText(Of(self)->node_->tag, out);
    }
    static HRESULT STDMETHODCALLTYPE GetAttribute(IHTMLElement* self, BSTR name, LONG, VARIANT* out) {
        VariantInit(out);
        std::wstring lower(name != nullptr ? name : L"");
        std::transform(lower.begin(), lower.end(), lower.begin(), [](wchar_t c) { return towlower(c); });
        const std::wstring* value = Of(self)->node_->Attribute(lower);
        if (value == nullptr) {
            V_VT(out) = VT_NULL;
            return S_OK;
        }
        V_VT(out) = VT_BSTR;
        return GiveText(*value, &V_BSTR(out));
    }
    static HRESULT STDMETHODCALLTYPE Parent(IHTMLElement* self, IHTMLElement** out) {
        *out = Element::Give(*Of(self)->document_.Get(), Of(self)->node_->parent);
        return S_OK;
    }

    // Addresses are given resolved against the page's address, as the real control gives them.
    static HRESULT Href(Element& element, BSTR* out) {
        const std::wstring* href = element.node_->Attribute(L"href");
        if (href == nullptr) {
            return GiveText(L"", out);
        }
        wchar_t resolved[2048];
        DWORD length = ARRAYSIZE(resolved);
        if (FAILED(UrlCombineW(element.document_->Page().address.c_str(), href->c_str(), resolved, &length,
                               0))) {
            return GiveText(*href, out);
        }
        return GiveText(resolved, out);
    }
    static HRESULT STDMETHODCALLTYPE AnchorHref(IHTMLAnchorElement* self, BSTR* out) {
        return Href(*Of(self), out);
    }
    static HRESULT STDMETHODCALLTYPE AreaHref(IHTMLAreaElement* self, BSTR* out) {
        return Href(*Of(self), out);
    }

    static bool IsPageElement(Element& element) {
        return element.node_ == element.document_->Page().Body() ||
               element.node_ == element.document_->Page().Root();
    }
    static HRESULT STDMETHODCALLTYPE BoundingRect(IHTMLElement2* self, IHTMLRect** out) {
        Element& element = *Of(self);
        const Node& node = *element.node_;
        const int scroll = element.document_->ScrollTop();
        element.rect_box_ =
            node.placed ? RECT{node.left, node.top - scroll, node.right, node.bottom - scroll} : RECT{};
        return GiveFace(element.rect_, out);
    }
    static HRESULT STDMETHODCALLTYPE ScrollLeft(IHTMLElement2*, LONG* out) {
        *out = 0;
        return S_OK;
    }
    static HRESULT STDMETHODCALLTYPE ScrollTop(IHTMLElement2* self, LONG* out) {
        *out = IsPageElement(*Of(self)) ? Of(self)->document_->ScrollTop() : 0;
        return S_OK;
    }
    static HRESULT STDMETHODCALLTYPE PutOnScroll(IHTMLElement2* self, VARIANT handler) {
        if (!IsPageElement(*Of(self))) {
            return S_OK;  // only the page itself scrolls here
        }
        Of(self)->document_->onScroll_ =
            Ref<IDispatch>::Retain(V_VT(&handler) == VT_DISPATCH ? V_DISPATCH(&handler) : nullptr);
        return S_OK;
    }

    static HRESULT STDMETHODCALLTYPE Left(IHTMLRect* self, LONG* out) {
        return *out = Of(self)->rect_box_.left, S_OK;
    }
    static HRESULT STDMETHODCALLTYPE Top(IHTMLRect* self, LONG* out) {
        return *out = Of(self)->rect_box_.top, S_OK;
    }
};

IHTMLElement* Element::Give(Document& document, Node* node) {
    if (node == nullptr) {
        return nullptr;
    }
    auto* element = new Element(document, node);
    return element->As<IHTMLElement>(element->element_);
}

Element::Element(Document& document, Node* node) : document_(Ref<Document>::Retain(&document)), node_(node) {
    static const IHTMLElementVtbl elementTable = [] {
        auto table = MakeTable<IHTMLElementVtbl>();
        table.get_tagName = &Faces::TagName;
        table.getAttribute = &Faces::GetAttribute;
        table.get_parentElement = &Faces::Parent;
        return table;
    }();
    static const IHTMLElement2Vtbl element2Table = [] {
        auto table = MakeTable<IHTMLElement2Vtbl>();
        table.getBoundingClientRect = &Faces::BoundingRect;
        table.get_scrollLeft = &Faces::ScrollLeft;
        table.get_scrollTop = &Faces::ScrollTop;
        table.put_onscroll = &Faces::PutOnScroll;
        return table;
    }();
    static const IHTMLAnchorElementVtbl anchorTable = [] {
        auto table = MakeTable<IHTMLAnchorElementVtbl>();
        table.get_href = &Faces::AnchorHref;
        return table;
    }();
    static const IHTMLAreaElementVtbl areaTable = [] {
        auto table = MakeTable<IHTMLAreaElementVtbl>();
        table.get_href = &Faces::AreaHref;
        return table;
    }();
    static const IHTMLRectVtbl rectTable = [] {
        auto table = MakeTable<IHTMLRectVtbl>();
        table.get_left = &Faces::Left;
        table.get_top = &Faces::Top;
        return table;
    }();
    element_ = {&elementTable, this};
    element2_ = {&element2Table, this};
    anchor_ = {&anchorTable, this};
    area_ = {&areaTable, this};
    rect_ = {&rectTable, this};
}

Element::~Element() = default;

Face* Element::Find(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IHTMLElement) {
        return &element_;
    }
    if (iid == IID_IHTMLElement2) {
        return &element2_;
    }
    if (iid == IID_IHTMLRect) {
        return &rect_;
    }
    if (iid == IID_IHTMLAnchorElement && node_->Is(L"A")) {
        return &anchor_;
    }
    if (iid == IID_IHTMLAreaElement && node_->Is(L"AREA")) {
        return &area_;
    }
    // A frame element leads to the frame's own browser, as the real control's frame elements do.
    if (iid == IID_IWebBrowser2 && node_->frame != nullptr) {
        return reinterpret_cast<Face*>(node_->frame->Interface());
    }
    return nullptr;
}

}  // namespace standin
