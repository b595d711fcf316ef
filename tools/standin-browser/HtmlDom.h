#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace standin {

class Browser;

// One element or text of a parsed page. Elements have an upper-case tag; text nodes an empty one.
struct Node {
    std::wstring tag;
    std::wstring text;
    std::vector<std::pair<std::wstring, std::wstring>> attributes;  // names in lower case
    Node* parent = nullptr;
    std::vector<Node*> children;

    // Where layout put the node, in page coordinates (before scrolling); empty when it has no box.
    int left = 0, top = 0, right = 0, bottom = 0;
    bool placed = false;

    // Only for frames: the browser of the frame (one reference, released with the page).
    Browser* frame = nullptr;

    const std::wstring* Attribute(const std::wstring& lowerName) const;
    bool Is(const wchar_t* upperTag) const { return tag == upperTag; }
    bool Contains(int x, int y) const { return placed && x >= left && x < right && y >= top && y < bottom; }
};

// A parsed page: the nodes in document order, its title and the address it came from.
struct Dom {
    std::vector<std::unique_ptr<Node>> nodes;  // nodes[0] is the HTML root element
    std::vector<Node*> elements;               // the elements among them, in document order
    std::wstring title;
    std::wstring address;

    Dom();
    ~Dom();
    Dom(const Dom&) = delete;
    Dom& operator=(const Dom&) = delete;

    Node* Root() const { return nodes.front().get(); }
    // The BODY element, or the root when the page has none.
    Node* Body() const;
};

// Reads the small subset of HTML the portal's pages use: elements with attributes, text, comments,
// character references. Script and style contents are skipped; unknown tags are kept as elements.
std::unique_ptr<Dom> ParseHtml(const std::wstring& html, const std::wstring& address);

// The page's bytes as text: UTF-8 unless the page declares a GB code page.
std::wstring DecodePage(const std::string& bytes);

}  // namespace standin
