// Bytes, lines and statements of an RDS file, read through one block buffer.

#include "core/io/rds_reader.h"

#include "core/base/errors.h"
#include "core/base/message_sink.h"
#include "core/base/numbers.h"
#include "core/io/rds_strings.h"
#include "core/io/read_watch.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <limits>
#include <sys/stat.h>

namespace kalvo {

namespace {

constexpr const char* kNotRdsMessage = "RayDreamStudio形式のファイルではありません";

// A line is never held beyond this; the rest of a longer one is read and dropped. It leaves
// room for a polygon of millions of corners while keeping binary junk from filling memory.
constexpr std::size_t kMaxLineLength = std::size_t(64) << 20;

// Only the tag and the value are used; further fields are dropped unread.
constexpr int kStatementFields = 2;

// Lines hold no control bytes (those end lines), so blanks are the only thing to trim.
std::string_view TrimSpaces(std::string_view text)
{
    std::size_t first = 0;
    while (first < text.size() && text[first] == ' ')
        ++first;
    std::size_t last = text.size();
    while (last > first && text[last - 1] == ' ')
        --last;
    return text.substr(first, last - first);
}

// The byte count announced by a "$" value (hexadecimal), or 0 when the value is no count. A
// count beyond any file reads as "the rest of the file".
std::int64_t RawByteCount(std::string_view value)
{
    if (value.size() < 2 || value.front() != '$')
        return 0;
    const char* first = value.data() + 1;
    const char* last = value.data() + value.size();
    std::uint64_t count = 0;
    const auto result = std::from_chars(first, last, count, 16);
    if (result.ec == std::errc::result_out_of_range)
        return std::numeric_limits<std::int64_t>::max();
    if (result.ec != std::errc() || result.ptr != last)
        return 0;
    if (count > std::uint64_t(std::numeric_limits<std::int64_t>::max()))
        return std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(count);
}

// The tag and value of a trimmed line, as SplitFields at blanks gives them. Most lines hold no
// quote and at most one run of blanks, which memchr settles without looking at every byte.
int SplitStatement(std::string_view line, std::string_view (&fields)[kStatementFields])
{
    if (line.empty())
        return 0;
    if (!std::memchr(line.data(), '"', line.size())) {
        const std::size_t blank = line.find(' ');
        fields[0] = line.substr(0, blank);
        if (blank == std::string_view::npos)
            return 1;
        const std::string_view value = TrimSpaces(line.substr(blank));
        if (!std::memchr(value.data(), ' ', value.size())) {
            fields[1] = value;
            return 2;
        }
    }
    return SplitFields(line, ' ', fields, kStatementFields);
}

// The first byte below 32 (a line end) in [begin, end), or end. Eight bytes at a time: lines are
// long compared with their ends.
const unsigned char* FindControlByte(const unsigned char* begin, const unsigned char* end)
{
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
    const unsigned char* p = begin;
    for (; end - p >= 8; p += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, p, 8);
        // Sets a high bit for some byte below 32 (the exact byte is found below).
        if (((word - kOnes * 32) & ~word & kHighBits) != 0)
            break;
    }
    while (p < end && *p >= 32)
        ++p;
    return p;
}

} // namespace

TRDSobject::TRDSobject(TMessageSink* sink) : sink_(sink), buffer_(new unsigned char[kBlockSize]) {}

TRDSobject::~TRDSobject()
{
    if (file_)
        std::fclose(file_);
}

void TRDSobject::OpenFile(const std::string& name)
{
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    fileName_ = name;
    file_ = std::fopen(name.c_str(), "rb");
    if (!file_)
        throw TReadError(SystemErrorText(name, errno));
    struct stat info
    {
    };
    if (fstat(fileno(file_), &info) != 0)
        ThrowReadFailure();
    fileSize_ = S_ISREG(info.st_mode) ? static_cast<std::int64_t>(info.st_size)
                                      : std::numeric_limits<std::int64_t>::max();
    AtEnd = false;
    CrLfMode = true;
    SignatureFound = false;
    signatureFailed_ = false;
    blockStart_ = nextBlock_ = 0;
    bufferIndex_ = bytesInBuffer_ = 0;
    pushedBack_ = -1;
    lineNumber_ = statementLine_ = 1;
}

void TRDSobject::ThrowReadFailure() const
{
    throw TReadError(SystemErrorText(fileName_, errno ? errno : EIO));
}

bool TRDSobject::LoadNextBlock()
{
    blockStart_ = nextBlock_;
    bufferIndex_ = 0;
    bytesInBuffer_ = 0;
    if (!file_) {
        AtEnd = true;
        return false;
    }
    const std::size_t count = std::fread(buffer_.get(), 1, kBlockSize, file_);
    if (count < std::size_t(kBlockSize) && std::ferror(file_))
        ThrowReadFailure();
    bytesInBuffer_ = static_cast<int>(count);
    nextBlock_ += static_cast<std::int64_t>(count);
    if (watch_)
        watch_->Reached(nextBlock_);
    if (count == 0) {
        AtEnd = true;
        return false;
    }
    return true;
}

int TRDSobject::ReadByte()
{
    if (pushedBack_ >= 0) {
        const int byte = pushedBack_;
        pushedBack_ = -1;
        return byte;
    }
    if (bufferIndex_ >= bytesInBuffer_ && !LoadNextBlock())
        return -1;
    return buffer_[bufferIndex_++];
}

std::int64_t TRDSobject::CurrentPosition() const
{
    // A byte given back has been read from the buffer but not yet delivered.
    return blockStart_ + bufferIndex_ - (pushedBack_ >= 0 ? 1 : 0);
}

void TRDSobject::SeekTo(std::int64_t offset, std::int64_t lineNumber)
{
    offset = std::clamp<std::int64_t>(offset, 0, fileSize_);
    AtEnd = false;
    pushedBack_ = -1;
    lineNumber_ = lineNumber;
    if (offset >= blockStart_ && offset < blockStart_ + bytesInBuffer_) {
        bufferIndex_ = static_cast<int>(offset - blockStart_);
        return;
    }
    const std::int64_t start = offset - offset % kBlockSize;
    if (!file_ || fseeko(file_, static_cast<off_t>(start), SEEK_SET) != 0) {
        if (file_)
            ThrowReadFailure();
        AtEnd = true;
        return;
    }
    blockStart_ = nextBlock_ = start;
    bufferIndex_ = bytesInBuffer_ = 0;
    const int within = static_cast<int>(offset - start);
    if (within == 0 || !LoadNextBlock())
        return;
    if (within > bytesInBuffer_)
        AtEnd = true;
    bufferIndex_ = std::min(within, bytesInBuffer_);
}

void TRDSobject::SkipBytes(std::int64_t count)
{
    if (count <= 0)
        return;
    if (pushedBack_ >= 0) {
        pushedBack_ = -1;
        if (--count == 0)
            return;
    }
    if (count < bytesInBuffer_ - bufferIndex_) {
        bufferIndex_ += static_cast<int>(count);
        return;
    }
    const std::int64_t here = CurrentPosition();
    const std::int64_t target =
        count > fileSize_ - here ? fileSize_ : here + count; // no overflow on huge counts
    SeekTo(target, lineNumber_);
    if (target >= fileSize_)
        AtEnd = true;
}

bool TRDSobject::FindSignature()
{
    int matched = 0;
    for (;;) {
        const int byte = ReadByte();
        if (byte < 0)
            return false;
        if (byte == '\n')
            ++lineNumber_;
        if (byte == '3')
            matched = 1;
        else if (byte == 'D' && matched == 1)
            matched = 2;
        else if (byte == 'C' && matched == 2)
            break;
        else
            matched = 0;
    }
    // The end of the signature line tells how lines end. Files from other systems end them in
    // LF or CR alone; both read like CR LF.
    for (;;) {
        const int byte = ReadByte();
        if (byte < 0)
            return true; // the signature is there but its line never ends
        if (byte == '\r' || byte == '\n') {
            CrLfMode = false;
            EndOfLine(byte);
            SignatureFound = true;
            return true;
        }
    }
}

void TRDSobject::EndOfLine(int terminator)
{
    if (terminator == '\n') {
        ++lineNumber_;
    } else if (terminator == '\r') {
        ++lineNumber_;
        const int next = ReadByte();
        if (next == '\n')
            CrLfMode = true;
        else if (next >= 0)
            pushedBack_ = next;
    }
}

std::string_view TRDSobject::ReadLine()
{
    line_.clear();
    if (!SignatureFound) {
        if (!signatureFailed_ && FindSignature()) {
            line_ = "3DC {";
            return line_;
        }
        if (!signatureFailed_) {
            signatureFailed_ = true;
            if (sink_)
                sink_->Show(TMsgKind::Error, kNotRdsMessage, TButtons::Ok);
        }
        AtEnd = true;
        return {};
    }
    if (pushedBack_ >= 0) {
        const int byte = pushedBack_;
        pushedBack_ = -1;
        if (byte < 32) {
            EndOfLine(byte);
            return line_;
        }
        line_.push_back(static_cast<char>(byte));
    }
    for (;;) {
        if (bufferIndex_ >= bytesInBuffer_ && !LoadNextBlock())
            return line_;
        const unsigned char* begin = buffer_.get() + bufferIndex_;
        const unsigned char* end = buffer_.get() + bytesInBuffer_;
        const unsigned char* stop = FindControlByte(begin, end);
        const std::size_t length = static_cast<std::size_t>(stop - begin);
        if (line_.size() < kMaxLineLength)
            line_.append(reinterpret_cast<const char*>(begin),
                         std::min(length, kMaxLineLength - line_.size()));
        bufferIndex_ += static_cast<int>(length);
        if (stop < end) {
            ++bufferIndex_;
            EndOfLine(*stop);
            return line_;
        }
    }
}

TRDSstatement TRDSobject::ReadStatement()
{
    for (;;) {
        statementLine_ = lineNumber_;
        const std::string_view line = TrimSpaces(ReadLine());
        std::string_view fields[kStatementFields];
        const int count = SplitStatement(line, fields);
        if (count > 0) {
            TRDSstatement statement{fields[0], count > 1 ? fields[1] : "<nil>"};
            if (count > 1)
                SkipBytes(RawByteCount(statement.Value));
            return statement;
        }
        if (AtEnd)
            return {};
    }
}

std::string_view TRDSobject::FindStatement(std::string_view tag)
{
    // Raw data announced on the lines searched is skipped as well: read as text it could hold
    // anything, the tag searched for included.
    for (;;) {
        const TRDSstatement statement = ReadStatement();
        if (statement.Tag.empty())
            return {};
        if (statement.Tag == tag)
            return statement.Value;
        if (statement.Value == "{")
            SkipBlock();
    }
}

void TRDSobject::SkipBlock()
{
    std::int64_t depth = 1;
    for (;;) {
        const TRDSstatement statement = ReadStatement();
        if (statement.Tag.empty())
            return;
        if (statement.Tag == "}") {
            if (--depth == 0)
                return;
        } else if (statement.Value == "{") {
            ++depth;
        }
    }
}

} // namespace kalvo
