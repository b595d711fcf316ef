#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "childproc/IpcProtocol.h"

namespace browser {

class HtmlDocument;
class HtmlElement;
class HtmlEventSink;
class PageBrowser;
class PageController;

// Run in every document after each completed navigation: script errors are swallowed, not shown.
inline constexpr wchar_t kErrorSwallowingScript[] =
    L"function fnOnError(msg,url,lineno){return true;}window.onerror=fnOnError;";
inline constexpr wchar_t kScriptLanguage[] = L"JavaScript";

// The update data the server list publishes in its META tags "Tolvanewd-md5" and "Tolvanewd-updateurl"
// (names compared exactly, the later tag winning). Nothing without a checksum: an address alone is no
// announcement.
std::optional<childproc::UpdateInfo> ReadUpdateInfo(HtmlDocument& document);

// Runs the error-swallowing script in the browser's document and, depth first, in every frame below it.
void SuppressScriptErrors(PageBrowser* browser);
void InjectErrorHandler(HtmlDocument& document);

// The element at (x, y) in client coordinates of `browser`, followed into the browsers of frames with
// each frame's own coordinates. 0 with an element; kResultPointer without an out place; kResultFail
// without a browser, a document or an element there.
int32_t ElementFromPointDeep(PageBrowser* browser, int32_t x, int32_t y,
                             std::unique_ptr<HtmlElement>* element);

// The address of the anchor or image-map area that is the element or encloses it. 0 with the address
// (which may be absent); kResultFail when no element is left; else the result of reading the address.
int32_t LinkAddressOf(std::unique_ptr<HtmlElement> element, std::optional<std::wstring>* address);

// Makes `sink` the mouse-over handler of the document and of every frame's document, recursively.
void AttachHoverSink(HtmlDocument& document, HtmlEventSink& sink, PageController& page);

}  // namespace browser
