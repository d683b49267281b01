// Line-by-line reading of text files into fixed-size lines, shared by every reader of
// autorun.inf and by the page scanner.
#pragma once
#include <cstddef>
#include <memory>
#include <string>

namespace vk {

// A readable byte stream. Read returns 0 at end of data and on a read failure alike, so a
// reader stops in both cases without waiting.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual size_t Read(char* buffer, size_t size) = 0;
};

// The file access that the core needs; the Win32 shell and the tests implement it.
class FileSource {
public:
    virtual ~FileSource() = default;
    // False only when no such file or folder exists.
    virtual bool Exists(const std::string& name) = 0;
    // Null when the file cannot be opened for reading.
    virtual std::unique_ptr<ByteSource> Open(const std::string& name) = 0;
    // Whether two spellings of a path that differ only in letter case name one file. Windows
    // folds letter case, so they do; a file system that keeps such names apart says when they
    // are two files.
    virtual bool SameFile(const std::string&, const std::string&) { return true; }
};

// What a reader does with a line longer than its buffer.
enum class LongLines {
    // Keep the start and skip the rest up to its newline, so the rest can never be taken for
    // the next line (the readers of autorun.inf).
    SkipRest,
    // Hand out the line in buffer-sized pieces, each a line of its own, each ending at its
    // first NUL as the C string it was read into would (the page scanner).
    Split,
    // As Split, on UTF-8 text: a piece that would end inside a multi-byte character ends
    // before it, and the character starts the next piece.
    SplitUtf8,
};

// Reads text lines as a text-mode reader with a buffer of bufferSize characters sees them:
// CR LF counts as one newline, the newline is not part of the line, and at most
// bufferSize - 1 characters of a line are kept; longer lines as `longLines` says.
class LineReader {
public:
    LineReader(ByteSource& source, size_t bufferSize, LongLines longLines = LongLines::SkipRest);
    // False when the data ended before a line began.
    bool Next(std::string& line);

private:
    bool Fill();
    int Peek();
    int Get();
    bool NextSkippingRest(std::string& line);
    bool NextPiece(std::string& line);
    void HoldCutCharacter(std::string& line);

    ByteSource& m_source;
    size_t m_keep;
    LongLines m_longLines;
    std::string m_held; // bytes handed back to be read again first
    char m_chunk[4096];
    size_t m_pos = 0;
    size_t m_len = 0;
    bool m_end = false;
};

} // namespace vk
