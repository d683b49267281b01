#include "controls/picture_shrink.h"

#include <algorithm>

namespace vk {

// Across, a source pixel is m_to.cx units wide and a result pixel m_from.cx; down, a source row
// is m_to.cy units high and a result row m_from.cy. A result pixel then covers
// m_from.cx * m_from.cy square units, and a source pixel, being no larger, lies in at most two
// result pixels each way.

bool PictureShrink::Accepts(Size from, Size to) {
    return to.cx > 0 && to.cy > 0 && to.cx <= from.cx && to.cy <= from.cy && from.cx <= kMaxShrinkSide &&
           from.cy <= kMaxShrinkSide;
}

PictureShrink::PictureShrink(Size from, Size to, uint8_t* out, size_t outStride, int sourcePixelBytes)
    : m_from(from), m_to(to), m_pixelBytes(sourcePixelBytes), m_out(out), m_outStride(outStride), m_column(from.cx),
      m_columnShare(from.cx), m_rowSums(static_cast<size_t>(to.cx) * 3), m_resultSums(static_cast<size_t>(to.cx) * 3) {
    for (int x = 0; x < from.cx; ++x) {
        const int64_t start = static_cast<int64_t>(x) * to.cx;
        const int column = static_cast<int>(start / from.cx);
        const int64_t columnEnd = static_cast<int64_t>(column + 1) * from.cx;
        m_column[x] = column;
        m_columnShare[x] = static_cast<uint32_t>(std::min<int64_t>(to.cx, columnEnd - start));
    }
}

void PictureShrink::AddRow(const uint8_t* row) {
    if (m_sourceRow >= m_from.cy)
        return;
    // At most 255 * m_from.cx per sum: well inside 32 bits for any side the class accepts.
    std::fill(m_rowSums.begin(), m_rowSums.end(), 0u);
    const uint32_t whole = static_cast<uint32_t>(m_to.cx);
    for (int x = 0; x < m_from.cx; ++x, row += m_pixelBytes) {
        uint32_t* sum = &m_rowSums[static_cast<size_t>(m_column[x]) * 3];
        const uint32_t share = m_columnShare[x], rest = whole - share;
        for (int c = 0; c < 3; ++c)
            sum[c] += row[c] * share;
        if (rest)
            for (int c = 0; c < 3; ++c)
                sum[3 + c] += row[c] * rest;
    }
    // The same split down: the part of this row that falls in the result row being filled.
    const int64_t start = static_cast<int64_t>(m_sourceRow) * m_to.cy;
    const int64_t resultEnd = static_cast<int64_t>(m_resultRow + 1) * m_from.cy;
    const uint32_t share = static_cast<uint32_t>(std::min<int64_t>(m_to.cy, resultEnd - start));
    AddToResultRow(share);
    if (start + m_to.cy >= resultEnd) {
        FinishResultRow();
        if (share < static_cast<uint32_t>(m_to.cy))
            AddToResultRow(static_cast<uint32_t>(m_to.cy) - share);
    }
    ++m_sourceRow;
}

void PictureShrink::AddToResultRow(uint32_t weight) {
    for (size_t i = 0; i < m_resultSums.size(); ++i)
        m_resultSums[i] += static_cast<uint64_t>(m_rowSums[i]) * weight;
}

void PictureShrink::FinishResultRow() {
    if (m_resultRow >= m_to.cy)
        return;
    const uint64_t area = static_cast<uint64_t>(m_from.cx) * static_cast<uint64_t>(m_from.cy);
    uint8_t* out = m_out + m_outStride * static_cast<size_t>(m_resultRow);
    for (int x = 0; x < m_to.cx; ++x, out += 4) {
        for (int c = 0; c < 3; ++c)
            out[c] = static_cast<uint8_t>((m_resultSums[static_cast<size_t>(x) * 3 + c] + area / 2) / area);
        out[3] = 0;
    }
    std::fill(m_resultSums.begin(), m_resultSums.end(), 0u);
    ++m_resultRow;
}

} // namespace vk
