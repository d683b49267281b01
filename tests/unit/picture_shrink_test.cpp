#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "controls/picture_shrink.h"
#include "geometry_print.h"

namespace {

using fw::Size;

// A picture as rows of 4-byte pixels, made from a function of the pixel's place.
struct Picture {
    Size size;
    std::vector<uint8_t> bytes;
    template <class F>
    Picture(Size s, F colour) : size(s), bytes(static_cast<size_t>(s.cx) * s.cy * 4) {
        for (int y = 0; y < s.cy; ++y)
            for (int x = 0; x < s.cx; ++x) {
                const uint32_t c = colour(x, y);
                uint8_t* p = &bytes[(static_cast<size_t>(y) * s.cx + x) * 4];
                p[0] = c & 0xFF;
                p[1] = (c >> 8) & 0xFF;
                p[2] = (c >> 16) & 0xFF;
                p[3] = 0x77; // whatever the source holds there is not copied
            }
    }
    uint32_t At(int x, int y) const {
        const uint8_t* p = &bytes[(static_cast<size_t>(y) * size.cx + x) * 4];
        return p[0] | (p[1] << 8) | (p[2] << 16) | (p[3] << 24);
    }
};

// The result, one row of padding after each to show the stride is kept.
Picture Shrink(const Picture& from, Size to) {
    const size_t stride = static_cast<size_t>(to.cx) * 4 + 8;
    std::vector<uint8_t> out(stride * to.cy, 0xEE);
    vk::PictureShrink shrink(from.size, to, out.data(), stride);
    for (int y = 0; y < from.size.cy; ++y)
        shrink.AddRow(&from.bytes[static_cast<size_t>(y) * from.size.cx * 4]);
    Picture result(to, [](int, int) { return 0u; });
    for (int y = 0; y < to.cy; ++y) {
        std::copy_n(&out[stride * y], to.cx * 4, &result.bytes[static_cast<size_t>(y) * to.cx * 4]);
        for (size_t i = to.cx * 4; i < stride; ++i)
            EXPECT_EQ(out[stride * y + i], 0xEE) << "written past row " << y;
    }
    return result;
}

std::string Hex(uint32_t v) {
    char text[16];
    snprintf(text, sizeof text, "%08x", v);
    return text;
}

TEST(PictureShrink, EachPixelIsTheMeanOfTheAreaItCovers) {
    struct Case {
        const char* name;
        Size from, to;
        uint32_t (*colour)(int x, int y);
        std::vector<uint32_t> expected; // the result's pixels, row by row
    } cases[] = {
        {"the same size copies",
         {3, 2},
         {3, 2},
         [](int x, int y) -> uint32_t { return 0x102030u * (x + 1) + 0x010101u * y; },
         {0x102030, 0x204060, 0x306090, 0x112131, 0x214161, 0x316191}},
        {"halves average four pixels",
         {4, 2},
         {2, 1},
         [](int x, int y) -> uint32_t { return x < 2 ? (y ? 0x000064u : 0x0000C8u) : 0xFF0000u; },
         {0x000096, 0xFF0000}},
        {"three into two: the middle pixel is shared",
         {3, 1},
         {2, 1},
         [](int x, int) -> uint32_t { return x == 0   ? 0x000000u
                                             : x == 1 ? 0x0000FFu
                                                      : 0x00FF00u; },
         // 2/3 of 0 and 1/3 of 255; 1/3 of 255 and 2/3 of 255 green
         {0x000055, 0x00AA55}},
        {"three rows into two",
         {1, 3},
         {1, 2},
         [](int, int y) -> uint32_t { return y == 0   ? 0xF0F0F0u
                                             : y == 1 ? 0x000000u
                                                      : 0x303030u; },
         {0xA0A0A0, 0x202020}},
        {"one-pixel stripes turn grey",
         {8, 2},
         {2, 1},
         [](int x, int) -> uint32_t { return x % 2 ? 0xFFFFFFu : 0u; },
         {0x808080, 0x808080}}, // 127.5 rounds up
        {"a whole picture into one pixel",
         {5, 3},
         {1, 1},
         [](int x, int y) -> uint32_t { return (x == 2 && y == 1) ? 0x0000F0u : 0u; },
         {0x000010}},
    };
    for (const Case& c : cases) {
        const Picture result = Shrink(Picture(c.from, c.colour), c.to);
        ASSERT_EQ(result.bytes.size(), c.expected.size() * 4) << c.name;
        for (size_t i = 0; i < c.expected.size(); ++i)
            EXPECT_EQ(Hex(result.At(static_cast<int>(i) % c.to.cx, static_cast<int>(i) / c.to.cx)), Hex(c.expected[i]))
                << c.name << ", pixel " << i;
    }
}

// A flat picture stays that colour at any ratio: every source pixel's shares add up to one.
TEST(PictureShrink, FlatColourStaysExactAtAwkwardRatios) {
    struct Case {
        Size from, to;
    } cases[] = {{{997, 13}, {331, 7}}, {{8000, 9}, {731, 2}}, {{7, 1000}, {3, 999}}, {{65535, 1}, {1, 1}}};
    for (const Case& c : cases) {
        const Picture result = Shrink(Picture(c.from, [](int, int) { return 0xFFFFFFu; }), c.to);
        for (int y = 0; y < c.to.cy; ++y)
            for (int x = 0; x < c.to.cx; ++x)
                ASSERT_EQ(Hex(result.At(x, y)), "00ffffff") << c.from << " to " << c.to << " at " << x << "," << y;
    }
}

// Rows of 3-byte pixels (24-bit colour, as JPEG decodes) give the same result as 4-byte ones.
TEST(PictureShrink, ThreeBytePixelsAverageAlike) {
    const Picture four({7, 5}, [](int x, int y) -> uint32_t { return 0x0A1B2Cu * (x + 1) * (y + 2) & 0xFFFFFF; });
    std::vector<uint8_t> three;
    for (size_t i = 0; i < four.bytes.size(); ++i)
        if (i % 4 != 3)
            three.push_back(four.bytes[i]);
    const Size to{3, 2};
    std::vector<uint8_t> out(static_cast<size_t>(to.cx) * to.cy * 4, 0xEE);
    vk::PictureShrink shrink(four.size, to, out.data(), static_cast<size_t>(to.cx) * 4, 3);
    for (int y = 0; y < four.size.cy; ++y)
        shrink.AddRow(&three[static_cast<size_t>(y) * four.size.cx * 3]);
    EXPECT_EQ(out, Shrink(four, to).bytes);
}

TEST(PictureShrink, AcceptsOnlyASmallerOrEqualNonEmptyResult) {
    struct Case {
        Size from, to;
        bool accepted;
    } cases[] = {
        {{8000, 8000}, {731, 731}, true}, {{10, 10}, {10, 10}, true},   {{10, 10}, {11, 5}, false},
        {{10, 10}, {5, 11}, false},       {{10, 10}, {0, 5}, false},    {{10, 10}, {5, 0}, false},
        {{65535, 10}, {5, 5}, true},      {{65536, 10}, {5, 5}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vk::PictureShrink::Accepts(c.from, c.to), c.accepted) << c.from << " to " << c.to;
}

// Rows past the picture's height change nothing.
TEST(PictureShrink, ExtraRowsAreIgnored) {
    const Picture from({2, 2}, [](int, int) { return 0x404040u; });
    std::vector<uint8_t> out(4, 0xEE);
    vk::PictureShrink shrink(from.size, {1, 1}, out.data(), 4);
    shrink.AddRow(&from.bytes[0]);
    shrink.AddRow(&from.bytes[8]);
    const std::vector<uint8_t> white(8, 0xFF);
    shrink.AddRow(white.data());
    EXPECT_EQ(out, (std::vector<uint8_t>{0x40, 0x40, 0x40, 0}));
}

} // namespace
