#include "disc/page_links.h"

#include <cstring>

#include "core/ascii_case.h"
#include "core/unicode_text.h"

namespace vk {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAlnum(char c) { return IsAlpha(c) || IsDigit(c); }

bool StartsWithLower(std::string_view text, size_t at, std::string_view lower) {
    if (text.size() - at < lower.size())
        return false;
    for (size_t k = 0; k < lower.size(); ++k)
        if (LowerAscii(text[at + k]) != lower[k])
            return false;
    return true;
}

size_t SkipPast(std::string_view text, size_t from, std::string_view end) {
    size_t at = text.find(end, from);
    return at == std::string_view::npos ? text.size() : at + end.size();
}

// Attributes whose value is a file the page loads or links to.
bool IsLinkAttribute(std::string_view name) {
    // Views, not C strings: this runs for every attribute of every page.
    static constexpr std::string_view kLinks[] = {"src", "href", "background", "poster", "lowsrc", "dynsrc"};
    for (std::string_view link : kLinks)
        if (name == link)
            return true;
    return false;
}

// Elements whose contents are text, never tags.
bool IsRawTextElement(std::string_view name) {
    static constexpr std::string_view kRaw[] = {"script", "style", "textarea", "title", "xmp"};
    for (std::string_view raw : kRaw)
        if (name == raw)
            return true;
    return false;
}

// Quoted names of pictures in script code and event handlers ("over.gif"): the rollover
// pictures of older pages, which the page loads when its code runs.
void PictureLiterals(std::string_view code, LinkValues& values) {
    size_t i = 0;
    while (i < code.size()) {
        const size_t open = code.find_first_of("\"'", i);
        if (open == std::string_view::npos)
            return;
        const size_t close = code.find(code[open], open + 1);
        if (close == std::string_view::npos)
            return;
        const std::string_view literal = code.substr(open + 1, close - open - 1);
        i = close + 1;
        const size_t dot = literal.rfind('.');
        if (literal.empty() || dot == std::string_view::npos ||
            literal.find_first_of(" \t\r\n<>") != std::string_view::npos)
            continue;
        const std::string ext = Lower(std::string(literal.substr(dot)));
        if (ext == ".gif" || ext == ".jpg" || ext == ".jpeg" || ext == ".png" || ext == ".bmp")
            values.push_back(literal);
    }
}

// A lower-case copy of a tag or attribute name in a small buffer, without allocating: names
// that matter are short, and a longer one keeps its first letters (it matches none of them,
// and "on..." is still seen).
class ShortName {
public:
    void Set(std::string_view name) {
        m_size = name.size() < sizeof m_text ? name.size() : sizeof m_text;
        for (size_t k = 0; k < m_size; ++k)
            m_text[k] = LowerAscii(name[k]);
        m_long = name.size() > sizeof m_text;
    }
    std::string_view View() const { return m_long ? std::string_view() : std::string_view(m_text, m_size); }
    bool StartsWithOn() const { return m_size > 2 && m_text[0] == 'o' && m_text[1] == 'n'; }

private:
    char m_text[16];
    size_t m_size = 0;
    bool m_long = false;
};

void Attribute(std::string_view tag, const ShortName& name, std::string_view value, LinkValues& values) {
    if (tag == "base")
        return; // a base address is not a file
    if (IsLinkAttribute(name.View())) {
        if (value.find('&') == std::string_view::npos)
            values.push_back(value); // nothing to decode: no copy
        else
            values.push_back(DecodeCharRefs(value));
    } else if (name.View() == "style") {
        CssLinkValues(DecodeCharRefs(value), values);
    } else if (name.StartsWithOn()) {
        PictureLiterals(DecodeCharRefs(value), values);
    }
}

// Reads the tag whose name starts at i; returns the position after it and its lower-case name.
size_t ReadTag(std::string_view text, size_t i, ShortName& tag, LinkValues& values) {
    const size_t n = text.size();
    const size_t start = i;
    while (i < n && !IsSpace(text[i]) && text[i] != '/' && text[i] != '>')
        ++i;
    tag.Set(text.substr(start, i - start));
    ShortName name;
    for (;;) {
        while (i < n && (IsSpace(text[i]) || text[i] == '/'))
            ++i;
        if (i >= n)
            return n;
        if (text[i] == '>')
            return i + 1;
        const size_t nameStart = i++;
        while (i < n && !IsSpace(text[i]) && text[i] != '/' && text[i] != '>' && text[i] != '=')
            ++i;
        name.Set(text.substr(nameStart, i - nameStart));
        while (i < n && IsSpace(text[i]))
            ++i;
        if (i >= n || text[i] != '=')
            continue;
        ++i;
        while (i < n && IsSpace(text[i]))
            ++i;
        if (i >= n)
            return n;
        std::string_view value;
        if (text[i] == '"' || text[i] == '\'') {
            const size_t close = text.find(text[i], i + 1);
            const size_t end = close == std::string_view::npos ? n : close;
            value = text.substr(i + 1, end - i - 1);
            i = end == n ? n : end + 1;
        } else {
            const size_t valueStart = i;
            while (i < n && !IsSpace(text[i]) && text[i] != '>')
                ++i;
            value = text.substr(valueStart, i - valueStart);
        }
        Attribute(tag.View(), name, value, values);
    }
}

// Where the raw contents of element `tag` that start at i end: at "</tag" followed by a blank,
// "/" or ">", or at the end of the text.
size_t RawTextEnd(std::string_view text, size_t i, std::string_view tag) {
    for (;;) {
        const size_t lt = text.find("</", i);
        if (lt == std::string_view::npos)
            return text.size();
        const size_t after = lt + 2 + tag.size();
        if (StartsWithLower(text, lt + 2, tag) &&
            (after >= text.size() || IsSpace(text[after]) || text[after] == '/' || text[after] == '>'))
            return lt;
        i = lt + 2;
    }
}

void HtmlLinkValues(std::string_view text, LinkValues& values) {
    const size_t n = text.size();
    size_t i = 0;
    ShortName tag;
    while (i < n) {
        const void* lt = std::memchr(text.data() + i, '<', n - i);
        if (!lt)
            return;
        i = static_cast<size_t>(static_cast<const char*>(lt) - text.data()) + 1;
        if (i >= n)
            return;
        const char c = text[i];
        if (c == '!') {
            if (text.compare(i, 3, "!--") == 0) {
                // "<!-->" and "<!--->" are whole (empty) comments.
                if (text.compare(i + 3, 1, ">") == 0)
                    i += 4;
                else if (text.compare(i + 3, 2, "->") == 0)
                    i += 5;
                else
                    i = SkipPast(text, i + 3, "-->");
            } else {
                i = SkipPast(text, i, ">");
            }
        } else if (c == '?' || (c == '/' && i + 1 < n && text[i + 1] != '>')) {
            i = SkipPast(text, i, ">"); // an end tag, or what browsers read as a comment
        } else if (IsAlpha(c)) {
            i = ReadTag(text, i, tag, values);
            const std::string_view name = tag.View();
            if (name == "plaintext")
                return;
            if (IsRawTextElement(name)) {
                const size_t end = RawTextEnd(text, i, name);
                if (name == "style")
                    CssLinkValues(text.substr(i, end - i), values);
                else if (name == "script")
                    PictureLiterals(text.substr(i, end - i), values);
                i = end;
            }
        }
    }
}

// A CSS string that starts at i (a quote); returns the position after it.
size_t CssString(std::string_view css, size_t i, std::string* value) {
    const char quote = css[i++];
    const size_t start = i;
    while (i < css.size() && css[i] != quote && css[i] != '\n') {
        if (css[i] == '\\')
            ++i;
        ++i;
    }
    const size_t end = i < css.size() ? i : css.size();
    if (value)
        value->assign(css.substr(start, end - start));
    return end < css.size() ? end + 1 : end;
}

std::string_view TrimSpaces(std::string_view text) {
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IsIdentChar(char c) { return IsAlnum(c) || c == '-' || c == '_' || static_cast<unsigned char>(c) >= 0x80; }

} // namespace

void CssLinkValues(std::string_view css, LinkValues& values) {
    const size_t n = css.size();
    size_t i = 0;
    std::string value;
    while (i < n) {
        const size_t at = css.find_first_of("/\"'uU@", i);
        if (at == std::string_view::npos)
            return;
        i = at;
        const char c = css[i];
        if (c == '/') {
            i = css.compare(i, 2, "/*") == 0 ? SkipPast(css, i + 2, "*/") : i + 1;
        } else if (c == '"' || c == '\'') {
            i = CssString(css, i, nullptr);
        } else if (c == '@') {
            if (!StartsWithLower(css, i, "@import")) {
                ++i;
                continue;
            }
            i += 7;
            while (i < n && IsSpace(css[i]))
                ++i;
            if (i < n && (css[i] == '"' || css[i] == '\'')) {
                i = CssString(css, i, &value);
                values.push_back(value);
            }
        } else if (StartsWithLower(css, i, "url(") && (i == 0 || !IsIdentChar(css[i - 1]))) {
            i += 4;
            while (i < n && IsSpace(css[i]))
                ++i;
            if (i < n && (css[i] == '"' || css[i] == '\'')) {
                i = CssString(css, i, &value);
                values.push_back(value);
            } else {
                const size_t close = css.find(')', i);
                const size_t end = close == std::string_view::npos ? n : close;
                values.push_back(TrimSpaces(css.substr(i, end - i)));
                i = end;
            }
        } else {
            ++i;
        }
    }
}

void DocumentLinkValues(std::string_view text, DocKind kind, LinkValues& values) {
    if (kind == DocKind::Css)
        CssLinkValues(text, values);
    else
        HtmlLinkValues(text, values);
}

std::string DecodeCharRefs(std::string_view value) {
    if (value.find('&') == std::string_view::npos)
        return std::string(value);
    static const struct {
        std::string_view name;
        char32_t code;
    } kNames[] = {{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}, {"nbsp", 0xA0}};
    std::string out;
    size_t i = 0;
    while (i < value.size()) {
        if (value[i] != '&') {
            out += value[i++];
            continue;
        }
        size_t j = i + 1;
        if (j < value.size() && value[j] == '#') {
            ++j;
            const bool hex = j < value.size() && (value[j] == 'x' || value[j] == 'X');
            if (hex)
                ++j;
            const size_t digits = j;
            uint32_t code = 0;
            for (; j < value.size(); ++j) {
                const char d = LowerAscii(value[j]);
                int v = IsDigit(d) ? d - '0' : (hex && d >= 'a' && d <= 'f') ? d - 'a' + 10 : -1;
                if (v < 0)
                    break;
                code = code > 0x10FFFF ? code : code * (hex ? 16 : 10) + static_cast<uint32_t>(v);
            }
            if (j == digits) {
                out += value[i++];
                continue;
            }
            if (j < value.size() && value[j] == ';')
                ++j;
            if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
                code = 0xFFFD;
            AppendUtf8(out, static_cast<char32_t>(code));
            i = j;
            continue;
        }
        bool matched = false;
        for (const auto& entity : kNames) {
            if (value.compare(j, entity.name.size(), entity.name) != 0)
                continue;
            const size_t end = j + entity.name.size();
            const bool semicolon = end < value.size() && value[end] == ';';
            // Without its ";" only a name of the old four counts, and in an attribute not
            // before a letter, digit or "=" (so "?a=1&lt=2" keeps its text).
            const bool old = entity.name != "apos" && entity.name != "nbsp";
            if (!semicolon && (!old || (end < value.size() && (IsAlnum(value[end]) || value[end] == '='))))
                continue;
            AppendUtf8(out, entity.code);
            i = end + (semicolon ? 1 : 0);
            matched = true;
            break;
        }
        if (!matched)
            out += value[i++];
    }
    return out;
}

} // namespace vk
