#include "core/text_lines.h"

namespace vk {

LineReader::LineReader(ByteSource& source, size_t bufferSize, LongLines longLines)
    : m_source(source), m_keep(bufferSize > 0 ? bufferSize - 1 : 0), m_longLines(longLines) {}

bool LineReader::Fill() {
    if (m_end)
        return false;
    m_pos = 0;
    m_len = m_source.Read(m_chunk, sizeof m_chunk);
    if (m_len == 0)
        m_end = true;
    return m_len > 0;
}

int LineReader::Peek() {
    if (!m_held.empty())
        return static_cast<unsigned char>(m_held.back());
    if (m_pos == m_len && !Fill())
        return -1;
    return static_cast<unsigned char>(m_chunk[m_pos]);
}

int LineReader::Get() {
    const int c = Peek();
    if (!m_held.empty())
        m_held.pop_back();
    else if (c >= 0)
        ++m_pos;
    return c;
}

bool LineReader::Next(std::string& line) {
    return m_longLines == LongLines::SkipRest ? NextSkippingRest(line) : NextPiece(line);
}

bool LineReader::NextPiece(std::string& line) {
    line.clear();
    int c = Get();
    if (c < 0)
        return false;
    while (c >= 0) {
        if (c == '\r' && Peek() == '\n')
            c = Get();
        if (c == '\n')
            break;
        line.push_back(static_cast<char>(c));
        if (line.size() == m_keep) {
            if (m_longLines == LongLines::SplitUtf8)
                HoldCutCharacter(line);
            break;
        }
        c = Get();
    }
    const size_t nul = line.find('\0');
    if (nul != std::string::npos)
        line.resize(nul);
    return true;
}

void LineReader::HoldCutCharacter(std::string& line) {
    // Only a lead byte (11xxxxxx) within the last three bytes can start a cut character.
    for (size_t back = 1; back <= 3 && back < line.size(); ++back) {
        const unsigned char c = static_cast<unsigned char>(line[line.size() - back]);
        if (c < 0x80)
            return;
        if (c >= 0xC0) {
            const size_t need = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
            if (need > back) {
                // Held in reverse, as Get takes from the back.
                m_held.assign(line.rbegin(), line.rbegin() + static_cast<std::ptrdiff_t>(back));
                line.resize(line.size() - back);
            }
            return;
        }
    }
}

bool LineReader::NextSkippingRest(std::string& line) {
    line.clear();
    if (m_pos == m_len && !Fill())
        return false;
    for (;;) {
        if (m_pos == m_len && !Fill())
            break;
        char c = m_chunk[m_pos++];
        if (c == '\n')
            break;
        if (line.size() < m_keep + 1) // one extra to see a CR that precedes the newline
            line.push_back(c);
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (line.size() > m_keep)
        line.resize(m_keep);
    return true;
}

} // namespace vk
