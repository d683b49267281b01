// Reads the values of a page or a stylesheet that name files a browser loads, as a browser
// tokenises them: attributes of tags (never text, comments, or the contents of scripts and
// styles as tags), url() and @import in style attributes, <style> blocks and stylesheets.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace vk {

enum class DocKind { Html, Css };

// Appends the link values of text in document order. HTML attribute values have their
// character references decoded; nothing else is resolved.
void DocumentLinkValues(std::string_view text, DocKind kind, std::vector<std::string>& values);

// The url() and @import values of a stylesheet, in order.
void CssLinkValues(std::string_view css, std::vector<std::string>& values);

// Decodes HTML character references (&amp; &#47; &#x2F; and the few names links hold).
std::string DecodeCharRefs(std::string_view value);

} // namespace vk
