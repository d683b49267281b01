#include "app/text_lines.h"

namespace vk {

LineReader::LineReader(ByteSource& source, size_t bufferSize)
    : m_source(source), m_keep(bufferSize > 0 ? bufferSize - 1 : 0) {}

bool LineReader::Fill() {
    if (m_end)
        return false;
    m_pos = 0;
    m_len = m_source.Read(m_chunk, sizeof m_chunk);
    if (m_len == 0)
        m_end = true;
    return m_len > 0;
}

bool LineReader::Next(std::string& line) {
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
