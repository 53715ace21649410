// The command line's line reader against the plainest splitter, over reads cut at every size
// and a line bound small enough to be passed often: the same lines, the same too-long ones.
#include "cli/LineReader.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

class Chunks final : public cli::ByteSource
{
public:
    Chunks(std::string_view text, std::vector<std::size_t> sizes) : text_(text), sizes_(std::move(sizes)) {}

    std::ptrdiff_t read(char *buffer, std::size_t size, int &) override
    {
        const std::size_t chunk = sizes_[turn_++ % sizes_.size()];
        const std::size_t n = std::min({size, chunk, text_.size()});
        std::copy_n(text_.data(), n, buffer);
        text_.remove_prefix(n);
        return static_cast<std::ptrdiff_t>(n);
    }

private:
    std::string_view text_;
    std::vector<std::size_t> sizes_;
    std::size_t turn_ = 0;
};

// "L:" and the line, or "T" for one over the bound.
std::vector<std::string> expected(std::string_view text, std::size_t bound)
{
    std::vector<std::string> lines;
    bool first = true;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (first && line.starts_with("\xEF\xBB\xBF"))
            line.remove_prefix(3);
        first = false;
        lines.push_back(line.size() > bound ? std::string("T") : "L:" + std::string(line));
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 3)
        return 0;
    const std::size_t bound = 1 + data[0] % 64;
    const std::vector<std::size_t> sizes{1 + data[1] % 17u, 1 + data[2] % 5u, 1 + (data[1] ^ data[2]) % 200u};
    const std::string_view text(reinterpret_cast<const char *>(data + 3), size - 3);
    Chunks source(text, sizes);
    cli::LineReader reader(source, bound);
    std::vector<std::string> got;
    std::string_view line;
    for (cli::LineReader::Status s; (s = reader.next(line)) != cli::LineReader::Status::End;) {
        if (s == cli::LineReader::Status::Failed)
            std::abort();
        got.push_back(s == cli::LineReader::Status::TooLong ? std::string("T") : "L:" + std::string(line));
    }
    if (got != expected(text, bound))
        std::abort();
    return 0;
}
