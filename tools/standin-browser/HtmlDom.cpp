#include "HtmlDom.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>

#include "Browser.h"

namespace standin {
namespace {

bool IsVoid(const std::wstring& tag) {
    return std::wstring(L" META IMG BR AREA LINK INPUT HR BASE FRAME PARAM COL EMBED ")
               .find(L" " + tag + L" ") != std::wstring::npos;
}

std::wstring Upper(std::wstring text) {
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(std::towupper(c));
    }
    return text;
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    return text;
}

std::wstring DecodeEntities(const std::wstring& text) {
    static const std::pair<const wchar_t*, wchar_t> kNamed[] = {
        {L"amp", L'&'}, {L"lt", L'<'}, {L"gt", L'>'}, {L"quot", L'"'}, {L"nbsp", L' '}, {L"apos", L'\''}};
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        const size_t end = text[i] == L'&' ? text.find(L';', i) : std::wstring::npos;
        const std::wstring name =
            end != std::wstring::npos && end - i <= 10 ? text.substr(i + 1, end - i - 1) : L"";
        wchar_t c = 0;
        for (const auto& named : kNamed) {
            c = name == named.first ? named.second : c;
        }
        if (name.size() > 1 && name[0] == L'#') {
            const bool hex = name[1] == L'x' || name[1] == L'X';
            const unsigned long code = std::wcstoul(name.c_str() + (hex ? 2 : 1), nullptr, hex ? 16 : 10);
            c = code > 0 && code < 0xFFFF ? static_cast<wchar_t>(code) : L'?';
        }
        out += c != 0 ? c : text[i];
        i = c != 0 ? end : i;
    }
    return out;
}

class Parser {
  public:
    Parser(const std::wstring& html, Dom& dom) : s_(html), dom_(dom) {}

    void Run() {
        open_.push_back(dom_.Root());
        while (i_ < s_.size()) {
            if (s_[i_] == L'<') {
                Markup();
            } else {
                const size_t next = s_.find(L'<', i_);
                const size_t end = next == std::wstring::npos ? s_.size() : next;
                Text(s_.substr(i_, end - i_));
                i_ = end;
            }
        }
    }

  private:
    void Markup() {
        if (s_.compare(i_, 4, L"<!--") == 0) {
            const size_t end = s_.find(L"-->", i_ + 4);
            i_ = end == std::wstring::npos ? s_.size() : end + 3;
            return;
        }
        if (i_ + 1 < s_.size() && (s_[i_ + 1] == L'!' || s_[i_ + 1] == L'?')) {
            Skip(L'>');
            return;
        }
        const bool closing = i_ + 1 < s_.size() && s_[i_ + 1] == L'/';
        size_t p = i_ + (closing ? 2 : 1);
        const size_t nameStart = p;
        while (p < s_.size() && (std::iswalnum(s_[p]) || s_[p] == L'-')) {
            ++p;
        }
        if (p == nameStart) {
            Text(L"<");
            ++i_;
            return;
        }
        const std::wstring tag = Upper(s_.substr(nameStart, p - nameStart));
        i_ = p;
        if (closing) {
            Skip(L'>');
            Close(tag);
            return;
        }
        Node* node = Add(tag);
        bool selfClosed = Attributes(*node);
        if (tag == L"SCRIPT" || tag == L"STYLE" || tag == L"TITLE") {
            const std::wstring endTag = L"</" + Lower(tag);
            size_t end = i_;
            while (end < s_.size() && Lower(s_.substr(end, endTag.size())) != endTag) {
                end = s_.find(L'<', end + 1);
                end = end == std::wstring::npos ? s_.size() : end;
            }
            if (tag == L"TITLE") {
                dom_.title = Collapse(DecodeEntities(s_.substr(i_, end - i_)));
            }
            i_ = end;
            Skip(L'>');
            selfClosed = true;
        }
        if (!selfClosed && !IsVoid(tag)) {
            open_.push_back(node);
        }
    }

    // Reads attributes up to the end of the tag; true for "/>".
    bool Attributes(Node& node) {
        while (i_ < s_.size()) {
            while (i_ < s_.size() && std::iswspace(s_[i_])) {
                ++i_;
            }
            if (i_ >= s_.size()) {
                return false;
            }
            if (s_[i_] == L'>') {
                ++i_;
                return false;
            }
            if (s_[i_] == L'/') {
                ++i_;
                if (i_ < s_.size() && s_[i_] == L'>') {
                    ++i_;
                    return true;
                }
                continue;
            }
            const size_t nameStart = i_;
            while (i_ < s_.size() && !std::iswspace(s_[i_]) && s_[i_] != L'=' && s_[i_] != L'>' &&
                   s_[i_] != L'/') {
                ++i_;
            }
            std::wstring name = Lower(s_.substr(nameStart, i_ - nameStart));
            std::wstring value;
            while (i_ < s_.size() && std::iswspace(s_[i_])) {
                ++i_;
            }
            if (i_ < s_.size() && s_[i_] == L'=') {
                ++i_;
                while (i_ < s_.size() && std::iswspace(s_[i_])) {
                    ++i_;
                }
                if (i_ < s_.size() && (s_[i_] == L'"' || s_[i_] == L'\'')) {
                    const wchar_t quote = s_[i_++];
                    const size_t end = s_.find(quote, i_);
                    const size_t stop = end == std::wstring::npos ? s_.size() : end;
                    value = s_.substr(i_, stop - i_);
                    i_ = stop == s_.size() ? stop : stop + 1;
                } else {
                    const size_t valueStart = i_;
                    while (i_ < s_.size() && !std::iswspace(s_[i_]) && s_[i_] != L'>') {
                        ++i_;
                    }
                    value = s_.substr(valueStart, i_ - valueStart);
                }
            }
            if (!name.empty()) {
                node.attributes.emplace_back(std::move(name), DecodeEntities(value));
            }
        }
        return false;
    }

    void Skip(wchar_t until) {
        const size_t end = s_.find(until, i_);
        i_ = end == std::wstring::npos ? s_.size() : end + 1;
    }

    Node* Add(const std::wstring& tag) {
        // A new paragraph or heading ends an open paragraph, as browsers do.
        if ((tag == L"P" || tag == L"H1" || tag == L"H2" || tag == L"H3" || tag == L"DIV") &&
            open_.back()->Is(L"P")) {
            open_.pop_back();
        }
        if (tag == L"HTML") {
            return dom_.Root();  // the root exists from the start
        }
        dom_.nodes.push_back(std::make_unique<Node>());
        Node* node = dom_.nodes.back().get();
        node->tag = tag;
        node->parent = open_.back();
        open_.back()->children.push_back(node);
        return node;
    }

    void Close(const std::wstring& tag) {
        for (size_t depth = open_.size(); depth > 1; --depth) {
            if (open_[depth - 1]->tag == tag) {
                open_.resize(depth - 1);
                return;
            }
        }
    }

    void Text(const std::wstring& raw) {
        std::wstring text = Collapse(DecodeEntities(raw));
        if (text.empty() || text == L" ") {
            return;
        }
        dom_.nodes.push_back(std::make_unique<Node>());
        Node* node = dom_.nodes.back().get();
        node->text = std::move(text);
        node->parent = open_.back();
        open_.back()->children.push_back(node);
    }

    static std::wstring Collapse(const std::wstring& text) {
        std::wstring out;
        bool space = false;
        for (wchar_t c : text) {
            if (std::iswspace(c)) {
                space = true;
                continue;
            }
            if (space && !out.empty()) {
                out += L' ';
            }
            space = false;
            out += c;
        }
        return out;
    }

    const std::wstring& s_;
    Dom& dom_;
    size_t i_ = 0;
    std::vector<Node*> open_;
};

}  // namespace

const std::wstring* Node::Attribute(const std::wstring& lowerName) const {
    for (const auto& attribute : attributes) {
        if (attribute.first == lowerName) {
            return &attribute.second;
        }
    }
    return nullptr;
}

Dom::Dom() {
    nodes.push_back(std::make_unique<Node>());
    nodes.front()->tag = L"HTML";
}

Dom::~Dom() {
    for (const auto& node : nodes) {
        if (node->frame != nullptr) {
            node->frame->Release();
        }
    }
}

Node* Dom::Body() const {
    for (const auto& node : nodes) {
        if (node->Is(L"BODY") || node->Is(L"FRAMESET")) {
            return node.get();
        }
    }
    return Root();
}

std::unique_ptr<Dom> ParseHtml(const std::wstring& html, const std::wstring& address) {
    auto dom = std::make_unique<Dom>();
    dom->address = address;
    Parser(html, *dom).Run();
    for (const auto& node : dom->nodes) {
        if (!node->tag.empty()) {
            dom->elements.push_back(node.get());
        }
    }
    return dom;
}

std::wstring DecodePage(const std::string& bytes) {
    std::string head = bytes.substr(0, 2048);
    std::transform(head.begin(), head.end(), head.begin(),
                   [](char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
    const UINT codePage = head.find("charset=gb") != std::string::npos ? 936 : CP_UTF8;
    size_t start = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    const int count = MultiByteToWideChar(codePage, 0, bytes.data() + start,
                                          static_cast<int>(bytes.size() - start), nullptr, 0);
    std::wstring text(static_cast<size_t>(count), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data() + start, static_cast<int>(bytes.size() - start),
                        text.data(), count);
    return text;
}

}  // namespace standin
