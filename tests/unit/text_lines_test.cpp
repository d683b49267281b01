#include <gtest/gtest.h>

#include <vector>

#include "memory_files.h"

namespace {

std::vector<std::string> ReadAll(const std::string& data, size_t buffer, size_t chunk = 1 << 20,
                                 size_t failAt = std::string::npos) {
    StringSource source(data, chunk, failAt);
    vk::LineReader reader(source, buffer);
    std::vector<std::string> lines;
    std::string line;
    while (reader.Next(line))
        lines.push_back(line);
    return lines;
}

using Lines = std::vector<std::string>;

TEST(LineReader, SplitsTextModeLines) {
    struct Case {
        const char* name;
        std::string data;
        Lines expected;
    } cases[] = {
        {"empty file has no line", "", {}},
        {"last line without newline", "a\r\nb", {"a", "b"}},
        {"newline at the end adds no line", "a\r\nb\r\n", {"a", "b"}},
        {"bare LF", "a\nb\n", {"a", "b"}},
        {"blank lines are lines", "\r\n\r\nx", {"", "", "x"}},
        {"lone CR stays inside", "a\rb\r\n", {"a\rb"}},
        {"tab kept", "a\tb", {"a\tb"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadAll(c.data, 1000), c.expected) << c.name;
        EXPECT_EQ(ReadAll(c.data, 1000, 1), c.expected) << c.name << " (byte by byte)";
    }
}

TEST(LineReader, KeepsBufferMinusOneAndDropsTheRestOfALongLine) {
    const std::string longLine(2500, 'x');
    const Lines expected = {std::string(9, 'x'), "next", "123456789"};
    EXPECT_EQ(ReadAll(longLine + "\r\nnext\r\n1234567890abc", 10), expected);
    EXPECT_EQ(ReadAll(longLine + "\r\nnext\r\n1234567890abc", 10, 7), expected);
    // A line exactly as long as the buffer keeps, CR LF behind it, stays whole.
    EXPECT_EQ(ReadAll("123456789\r\nz", 10), (Lines{"123456789", "z"}));
    // The rest of a line longer than a 4096-byte read is not a new line either.
    EXPECT_EQ(ReadAll(std::string(10000, 'y') + "\nend", 1000), (Lines{std::string(999, 'y'), "end"}));
}

TEST(LineReader, ReadFailureEndsLikeEndOfFile) {
    EXPECT_EQ(ReadAll("one\r\ntwo\r\nthree", 1000, 3, 7), (Lines{"one", "tw"}));
}

} // namespace
