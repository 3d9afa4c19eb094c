#pragma once
// Machine output of any length written through one buffer of about 1 MiB: a
// report of a million rows is never held whole in memory, and the stream
// gets a few large writes.
#include <cstdio>
#include <string>
#include <string_view>

namespace morvane::cli {

class ChunkedOutput {
public:
    static constexpr size_t kChunk = 1 << 20;

    explicit ChunkedOutput(std::FILE* out) : out_(out) { buffer_.reserve(kChunk + 4096); }
    ~ChunkedOutput() { flush(); }
    ChunkedOutput(const ChunkedOutput&) = delete;
    ChunkedOutput& operator=(const ChunkedOutput&) = delete;

    ChunkedOutput& operator+=(std::string_view text) {
        buffer_ += text;
        if (buffer_.size() >= kChunk)
            flush();
        return *this;
    }
    void flush() {
        std::fwrite(buffer_.data(), 1, buffer_.size(), out_);
        buffer_.clear();
    }

private:
    std::FILE* out_;
    std::string buffer_;
};

} // namespace morvane::cli
