// Averaging a picture down to a smaller size: each pixel of the result is the mean colour of
// the source area it covers, pixels cut by its edges counting in part. Fine detail (thin
// lines, one-pixel stripes) becomes its average colour, where dropping pixels would keep some
// lines whole and lose others.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/geometry.h"

namespace vk {

// The framework's geometry, in this code's own words.
using fw::Size;

// Source pixels are blue, green and red, in 3 bytes or in 4 with one unused; result pixels
// are 4 bytes, the fourth written as 0, as in a 32-bit bitmap. Source rows go in one at a
// time from the top; each finished row of the result is written into `out`, top-down,
// `outStride` bytes apart. The result is no larger than the source on either side, neither
// is empty, and no side exceeds kMaxShrinkSide.
class PictureShrink {
public:
    static constexpr int kMaxShrinkSide = 65535;
    static bool Accepts(Size from, Size to);

    PictureShrink(Size from, Size to, uint8_t* out, size_t outStride, int sourcePixelBytes = 4);
    // The next source row, from.cx pixels.
    void AddRow(const uint8_t* row);

private:
    void AddToResultRow(uint32_t weight);
    void FinishResultRow();

    Size m_from, m_to;
    int m_pixelBytes;
    uint8_t* m_out;
    size_t m_outStride;
    // Across: each source column's result column and the part of its width that falls in it
    // (the rest falls in the next), in units where a source pixel is m_to.cx wide.
    std::vector<int> m_column;
    std::vector<uint32_t> m_columnShare;
    std::vector<uint32_t> m_rowSums;    // the current source row, summed across
    std::vector<uint64_t> m_resultSums; // the result row being filled
    int m_sourceRow = 0;
    int m_resultRow = 0;
};

} // namespace vk
