// Reads the values of a page or a stylesheet that name files a browser loads, as a browser
// tokenises them: attributes of tags (never text, comments, or the contents of scripts and
// styles as tags), url() and @import in style attributes, <style> blocks and stylesheets.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace vk {

enum class DocKind { Html, Css };

// A document's link values in order, their bytes side by side: a page has hundreds of them,
// and one buffer for all of them needs no memory of its own for each.
class LinkValues {
public:
    void push_back(std::string_view value) {
        m_text.append(value);
        m_ends.push_back(m_text.size());
    }
    size_t size() const { return m_ends.size(); }
    bool empty() const { return m_ends.empty(); }
    std::string_view operator[](size_t k) const {
        const size_t start = k == 0 ? 0 : m_ends[k - 1];
        return std::string_view(m_text).substr(start, m_ends[k] - start);
    }
    // Empties it and keeps its memory.
    void clear() {
        m_text.clear();
        m_ends.clear();
    }

private:
    std::string m_text;
    std::vector<size_t> m_ends;
};

// Appends the link values of text in document order. HTML attribute values have their
// character references decoded; nothing else is resolved.
void DocumentLinkValues(std::string_view text, DocKind kind, LinkValues& values);

// The url() and @import values of a stylesheet, in order.
void CssLinkValues(std::string_view css, LinkValues& values);

// Decodes HTML character references (&amp; &#47; &#x2F; and the few names links hold).
std::string DecodeCharRefs(std::string_view value);

} // namespace vk
