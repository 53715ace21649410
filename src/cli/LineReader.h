#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace cli {

// Where the expressions' bytes come from. A failed read reports the system's error number
// instead of throwing, so that the results calculated so far can still be written.
class ByteSource
{
public:
    virtual ~ByteSource() = default;
    // Up to `size` bytes into `buffer`: how many were read, 0 at the end of the input, or -1
    // with the error number in `error`.
    virtual std::ptrdiff_t read(char *buffer, std::size_t size, int &error) = 0;
};

// A file descriptor, read with read(2) as it is (a terminal or a pipe gives what is there).
class DescriptorSource final : public ByteSource
{
public:
    explicit DescriptorSource(int descriptor) : descriptor_(descriptor) {}
    std::ptrdiff_t read(char *buffer, std::size_t size, int &error) override;

private:
    int descriptor_;
};

// A C++ stream; a stream that goes bad reads as an input/output error.
class StreamSource final : public ByteSource
{
public:
    explicit StreamSource(std::istream &in) : in_(in) {}
    std::ptrdiff_t read(char *buffer, std::size_t size, int &error) override;

private:
    std::istream &in_;
};

// Splits a byte source into lines at LF, a block at a time. A line is handed out without its
// line end (LF, or CR LF), and the first without a UTF-8 byte-order mark. A line longer than
// `maxLineBytes` is read on to its end but not kept. The input's last line needs no line end.
class LineReader
{
public:
    enum class Status { Line, TooLong, End, Failed };

    LineReader(ByteSource &source, std::size_t maxLineBytes);

    // The next line, valid until the next call. After End or Failed, the same again.
    Status next(std::string_view &line);
    // The error number of the failed read, after Failed.
    int error() const { return error_; }

private:
    bool fill();

    ByteSource &source_;
    std::size_t maxLineBytes_;
    std::string buffer_;
    std::size_t begin_ = 0;   // the unread bytes are [begin_, end_)
    std::size_t end_ = 0;
    std::size_t scanned_ = 0; // bytes after begin_ already known to hold no LF
    bool skipping_ = false;   // inside a line over the bound, dropping its bytes
    bool atStart_ = true;
    bool ended_ = false;
    int error_ = 0;
};

} // namespace cli
