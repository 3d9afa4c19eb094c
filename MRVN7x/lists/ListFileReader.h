#pragma once
// Reads a rename list file as UTF-8 text, one record at a time, without
// holding the whole file: a user who picks a large file that is not a list by
// mistake gets an error at its first line, not a memory spike.
//
// A record is what follows any white space and line breaks, up to the next
// line break. Lines end with a line feed, a carriage return, both in either
// order, or another Unicode line break; blank lines therefore yield nothing.
// A byte order mark at the start of the file is skipped.
#include <cstddef>
#include <functional>
#include <string>

namespace morvane {

// What loading a list file came to: every record kept, a file that cannot be
// read, or a stop at the 1-based record (counting the lines that hold text)
// that was refused, malformed, overlong or beyond the maximum.
struct ListLoadResult {
    enum class Status { Loaded, Unreadable, StoppedAtRecord };
    Status status = Status::Loaded;
    int record = 0; // with StoppedAtRecord

    bool loaded() const { return status == Status::Loaded; }
    bool operator==(const ListLoadResult&) const = default;
    static ListLoadResult unreadable() { return {Status::Unreadable, 0}; }
    static ListLoadResult stoppedAt(int record) { return {Status::StoppedAtRecord, record}; }
};

class ListFileReader {
public:
    // Longer records are cut here and flagged: no valid record comes near it.
    static constexpr size_t kRecordLimit = size_t(1) << 20;

    explicit ListFileReader(const std::string& path);
    ~ListFileReader();
    ListFileReader(const ListFileReader&) = delete;
    ListFileReader& operator=(const ListFileReader&) = delete;

    // False when the path names no regular file that can be opened for reading.
    bool isOpen() const { return fd_ >= 0; }

    struct Record {
        std::u16string text;
        bool malformed = false; // holds bytes that are not UTF-8
        bool overlong = false;  // longer than kRecordLimit (text is cut)
    };
    enum class Status { Record, End, ReadError };
    Status nextRecord(Record& record);

    // Hands every record of the file at path to take, which keeps it or refuses it.
    static ListLoadResult readRecords(const std::string& path, int maximumRecords,
                                      const std::function<bool(std::u16string& text)>& take);

    static bool isWhiteSpaceOrLineBreak(char16_t unit);
    static bool isLineBreak(char16_t unit);

private:
    // Reads and decodes the next chunk; false at the end of the file or on an error.
    bool fill();
    void decode(const unsigned char* bytes, size_t length, bool atEnd);

    int fd_ = -1;
    bool error_ = false;
    bool eof_ = false;
    bool startChecked_ = false;
    std::string pendingBytes_; // an incomplete sequence at the end of the last chunk
    std::u16string buffer_;    // decoded text; bytes that are not UTF-8 become lone surrogates
    size_t pos_ = 0;
};

} // namespace morvane
