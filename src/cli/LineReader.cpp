#include "LineReader.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <istream>

namespace cli {

namespace {

// Large enough that a file takes few system calls, small enough to stay in the cache.
constexpr std::size_t blockBytes = 64 * 1024;

} // namespace

std::ptrdiff_t DescriptorSource::read(char *buffer, std::size_t size, int &error)
{
    for (;;) {
        const ssize_t n = ::read(descriptor_, buffer, size);
        if (n >= 0)
            return n;
        if (errno != EINTR) {
            error = errno;
            return -1;
        }
    }
}

std::ptrdiff_t StreamSource::read(char *buffer, std::size_t size, int &error)
{
    // istream::read catches what its buffer throws and sets badbit instead.
    in_.read(buffer, static_cast<std::streamsize>(size));
    const std::streamsize n = in_.gcount();
    if (n > 0)
        return n;
    if (in_.bad()) {
        error = EIO;
        return -1;
    }
    return 0;
}

LineReader::LineReader(ByteSource &source, std::size_t maxLineBytes)
    : source_(source), maxLineBytes_(maxLineBytes)
{
    buffer_.resize(blockBytes);
}

// Reads more after the unread bytes; false at the end of the input or on a failed read.
bool LineReader::fill()
{
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    // The bound, plus the CR of a CR LF, plus one byte to tell that the bound is passed (and
    // on the first line a byte-order mark).
    const std::size_t keepLimit = maxLineBytes_ + 2 + (atStart_ ? 3 : 0);
    if (end_ >= keepLimit) {
        skipping_ = true;
        end_ = 0;
        scanned_ = 0;
    }
    if (end_ == buffer_.size())
        buffer_.resize(std::min(std::max(buffer_.size() * 2, blockBytes), std::max(keepLimit, blockBytes)));
    const std::ptrdiff_t n = source_.read(buffer_.data() + end_, buffer_.size() - end_, error_);
    if (n <= 0) { // the end, or a failed read with its error number in error_
        ended_ = true;
        return false;
    }
    end_ += static_cast<std::size_t>(n);
    return true;
}

LineReader::Status LineReader::next(std::string_view &line)
{
    for (;;) {
        const char *start = buffer_.data() + begin_;
        const std::size_t unread = end_ - begin_;
        const void *lineEnd = std::memchr(start + scanned_, '\n', unread - scanned_);
        std::size_t length = 0;
        if (lineEnd != nullptr) {
            length = static_cast<std::size_t>(static_cast<const char *>(lineEnd) - start);
            begin_ += length + 1;
            scanned_ = 0;
        } else {
            scanned_ = unread;
            if (!ended_ && fill())
                continue;
            if (error_ != 0)
                return Status::Failed;
            // The end: the last line may lack its line end. (fill moved the bytes.)
            start = buffer_.data() + begin_;
            length = end_ - begin_;
            if (length == 0 && !skipping_)
                return Status::End;
            begin_ = end_;
            scanned_ = 0;
        }
        if (skipping_) {
            skipping_ = false;
            atStart_ = false;
            return Status::TooLong;
        }
        std::string_view text(start, length);
        if (!text.empty() && text.back() == '\r')
            text.remove_suffix(1);
        if (atStart_ && text.starts_with("\xEF\xBB\xBF"))
            text.remove_prefix(3);
        atStart_ = false;
        if (text.size() > maxLineBytes_)
            return Status::TooLong;
        line = text;
        return Status::Line;
    }
}

} // namespace cli
