#include "MRVN7x/lists/ListFileReader.h"

#include "platform/PathText.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unicode/utf16.h>
#include <unistd.h>

namespace morvane {
namespace {

constexpr size_t kChunkSize = size_t(1) << 20;

// How many bytes at the end of a chunk start a sequence that the chunk cuts off.
size_t incompleteTail(const unsigned char* bytes, size_t length) {
    for (size_t back = 1; back <= 3 && back <= length; ++back) {
        const unsigned char b = bytes[length - back];
        if ((b & 0xC0) == 0x80)
            continue; // a continuation byte: look further back for the lead
        const size_t needed = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        return needed > back ? back : 0;
    }
    return 0;
}

bool holdsLoneSurrogate(const std::u16string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (U16_IS_LEAD(text[i]) && i + 1 < text.size() && U16_IS_TRAIL(text[i + 1])) {
            ++i;
            continue;
        }
        if (U16_IS_SURROGATE(text[i]))
            return true;
    }
    return false;
}

} // namespace

ListFileReader::ListFileReader(const std::string& path) {
    // Non-blocking open, so that a named pipe cannot hang the load; it is then
    // refused as not being a regular file.
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0)
        return;
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd_);
        fd_ = -1;
    }
}

ListFileReader::~ListFileReader() {
    if (fd_ >= 0)
        ::close(fd_);
}

ListLoadResult ListFileReader::readRecords(const std::string& path, int maximumRecords,
                                           const std::function<bool(std::u16string& text)>& take) {
    ListFileReader reader(path);
    if (!reader.isOpen())
        return ListLoadResult::unreadable();
    Record record;
    for (int number = 1;; ++number) {
        const Status status = reader.nextRecord(record);
        if (status == Status::End)
            return {};
        if (status == Status::ReadError)
            return ListLoadResult::unreadable();
        if (number > maximumRecords || record.malformed || record.overlong || !take(record.text))
            return ListLoadResult::stoppedAt(number);
    }
}

bool ListFileReader::isLineBreak(char16_t unit) {
    return (unit >= 0x0A && unit <= 0x0D) || unit == 0x85 || unit == 0x2028 || unit == 0x2029;
}

bool ListFileReader::isWhiteSpaceOrLineBreak(char16_t unit) {
    if (unit == 0x09 || unit == 0x20 || unit == 0xA0 || isLineBreak(unit))
        return true;
    return unit == 0x1680 || (unit >= 0x2000 && unit <= 0x200A) || unit == 0x202F ||
           unit == 0x205F || unit == 0x3000;
}

void ListFileReader::decode(const unsigned char* bytes, size_t length, bool atEnd) {
    const size_t keep = atEnd ? 0 : incompleteTail(bytes, length);
    const size_t end = length - keep;
    PathText::appendFromUtf8({reinterpret_cast<const char*>(bytes), end}, buffer_);
    pendingBytes_.assign(reinterpret_cast<const char*>(bytes) + end, keep);
}

bool ListFileReader::fill() {
    if (fd_ < 0)
        return false;
    buffer_.erase(0, pos_);
    pos_ = 0;
    const size_t before = buffer_.size();
    // A chunk may end inside a sequence and decode to nothing yet: read on.
    while (buffer_.size() == before && !eof_ && !error_) {
        std::string chunk = pendingBytes_;
        const size_t offset = chunk.size();
        chunk.resize(offset + kChunkSize);
        ssize_t n;
        do {
            n = ::read(fd_, chunk.data() + offset, kChunkSize);
        } while (n < 0 && errno == EINTR);
        if (n < 0) {
            error_ = true;
            return false;
        }
        eof_ = n == 0;
        chunk.resize(offset + static_cast<size_t>(n));
        decode(reinterpret_cast<const unsigned char*>(chunk.data()), chunk.size(), eof_);
    }
    return buffer_.size() > before;
}

ListFileReader::Status ListFileReader::nextRecord(Record& record) {
    record = Record{};
    if (fd_ < 0)
        return Status::ReadError;
    // Skip white space and line breaks (and a byte order mark at the very start).
    for (;;) {
        if (!startChecked_ && pos_ < buffer_.size()) {
            startChecked_ = true;
            if (buffer_[pos_] == 0xFEFF)
                ++pos_;
        }
        while (pos_ < buffer_.size() && isWhiteSpaceOrLineBreak(buffer_[pos_]))
            ++pos_;
        if (pos_ < buffer_.size())
            break;
        if (!fill())
            return error_ ? Status::ReadError : Status::End;
    }
    // The record runs to the next line break or the end of the file.
    for (;;) {
        size_t stop = pos_;
        while (stop < buffer_.size() && !isLineBreak(buffer_[stop]))
            ++stop;
        const size_t room = kRecordLimit - record.text.size();
        if (stop - pos_ > room) {
            record.overlong = true;
            record.text.append(buffer_, pos_, room);
        } else {
            record.text.append(buffer_, pos_, stop - pos_);
        }
        pos_ = stop;
        if (pos_ < buffer_.size() || !fill())
            break;
    }
    if (error_)
        return Status::ReadError;
    record.malformed = holdsLoneSurrogate(record.text);
    return Status::Record;
}

} // namespace morvane
