#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ComBase.h"
#include "HtmlDom.h"

namespace standin {

// Fonts the page is drawn with, by role.
enum FontRole { kText, kLink, kHeading1, kHeading2, kHeading3, kTitle, kFontCount };

// A loaded page as the HTML document interfaces show it: the document itself, its collection of all
// elements and its window (which is also its frames collection and runs scripts, that is: records them).
// It also lays the page out, paints it and finds what lies under a point.
class Document final : public ComObject {
  public:
    static Document* Create(std::unique_ptr<Dom> dom);  // one reference for the caller

    IHTMLDocument2* Interface() { return As<IHTMLDocument2>(document_); }
    Dom& Page() { return *dom_; }
    void SetPicture(Node* image, IPicture* picture);  // takes the reference

    // Places every node for a view `width` pixels wide, frames' pages inside their boxes.
    void Layout(HDC dc, const HFONT* fonts, int width);
    // Draws the page with its top-left corner at (x, y) of the device, scrolled by this page's offset.
    void Paint(HDC dc, const HFONT* fonts, int x, int y, const RECT& clip);
    // The element under a point in view coordinates of this page (frames are not entered); the body
    // when nothing else is there.
    Node* ElementAt(int x, int y);
    int ScrollTop() const { return scrollTop_; }
    int ContentHeight() const { return contentHeight_; }
    // Scrolls by `delta` pixels within the content; true when the offset changed, and then the body's
    // scroll handler has been called.
    bool ScrollBy(int delta, int viewHeight);
    // The pointer moved to (x, y) of the view: the page's mouse-over handler hears of each new element.
    void PointerAt(int x, int y);

  private:
    explicit Document(std::unique_ptr<Dom> dom);
    ~Document() override;
    Face* Find(REFIID iid) override;

    struct Faces;
    friend struct Faces;
    friend class Element;

    struct Run {
        RECT box;
        Node* node;  // the text node, image or frame; null for the title line
        FontRole font;
        std::wstring text;
    };
    void Place(Node& node, FontRole font, struct Cursor& cursor, HDC dc, const HFONT* fonts);
    void AddRun(Cursor& cursor, Node* node, FontRole font, std::wstring text, int width, int height);
    static void Invoke(IDispatch* handler);

    Face document_, all_, window_;
    std::unique_ptr<Dom> dom_;
    std::vector<Run> runs_;
    std::map<Node*, IPicture*> pictures_;
    int contentHeight_ = 0;
    int scrollTop_ = 0;
    Ref<IDispatch> onScroll_, onMouseOver_;
    const Node* hovered_ = nullptr;
};

// One element of a document, made on request; it keeps its document alive.
class Element final : public ComObject {
  public:
    static IHTMLElement* Give(Document& document, Node* node);  // a new reference, or null for no node

  private:
    Element(Document& document, Node* node);
    ~Element() override;
    Face* Find(REFIID iid) override;

    struct Faces;
    friend struct Faces;

    Face element_, element2_, anchor_, area_, rect_;
    Ref<Document> document_;
    Node* node_;
    RECT rect_box_ = {};
};

}  // namespace standin
