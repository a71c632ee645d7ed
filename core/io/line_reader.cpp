#include "core/io/line_reader.h"

#include "core/base/errors.h"
#include "core/io/read_watch.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace kalvo {

namespace {

std::string_view WithoutCr(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

} // namespace

TLineReader::TLineReader(TSource source, std::size_t chunkSize)
    : source_(std::move(source)), chunkSize_(std::max<std::size_t>(chunkSize, 1)),
      buffer_(std::min(chunkSize_, kFirstChunkSize))
{
}

TLineReader TLineReader::FromFile(std::FILE* file, const std::string& path, TReadWatch* watch)
{
    return TLineReader(
        [file, path, watch, total = std::int64_t(0)](char* buffer, std::size_t size) mutable {
            const std::size_t count = std::fread(buffer, 1, size, file);
            if (count == 0 && std::ferror(file))
                throw TReadError(SystemErrorText(path, errno));
            total += static_cast<std::int64_t>(count);
            if (watch)
                watch->Reached(total);
            return count;
        });
}

TLineReader TLineReader::FromBytes(std::string_view bytes)
{
    return TLineReader([bytes, offset = std::size_t(0)](char* buffer, std::size_t size) mutable {
        const std::size_t count = std::min(size, bytes.size() - offset);
        std::memcpy(buffer, bytes.data() + offset, count);
        offset += count;
        return count;
    });
}

void TLineReader::Grow()
{
    if (buffer_.size() < chunkSize_)
        buffer_.resize(std::min(2 * buffer_.size(), chunkSize_));
}

bool TLineReader::Refill()
{
    // Keep the unfinished line at the front and read behind it.
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    // A line that fills the buffer needs a larger one, up to the chunk size.
    if (end_ == buffer_.size())
        Grow();
    const std::size_t wanted = buffer_.size() - end_;
    const std::size_t count = source_(buffer_.data() + end_, wanted);
    if (count == 0)
        atEnd_ = true;
    end_ += count;
    // A text that fills every read is a big one: fewer, larger reads serve it better.
    if (count == wanted)
        Grow();
    return count > 0;
}

bool TLineReader::NextAfterRefill(std::string_view& line)
{
    for (;;) {
        const char* start = buffer_.data() + begin_;
        const void* lf = std::memchr(start, '\n', end_ - begin_);
        if (lf) {
            const char* stop = static_cast<const char*>(lf);
            line = WithoutCr(std::string_view(start, stop - start));
            begin_ += (stop - start) + 1;
            if (skipping_) {
                skipping_ = false;
                continue;
            }
            return true;
        }
        if (atEnd_) {
            if (begin_ == end_)
                return false;
            line = WithoutCr(std::string_view(start, end_ - begin_));
            begin_ = end_;
            if (skipping_) {
                skipping_ = false;
                return false;
            }
            return true;
        }
        if (begin_ == 0 && end_ == chunkSize_) {
            // A line as long as the whole buffer: hand out what fits, drop the rest of it.
            begin_ = end_;
            if (!skipping_) {
                skipping_ = true;
                ++cutLines_;
                line = std::string_view(buffer_.data(), buffer_.size());
                return true;
            }
        }
        Refill();
    }
}

} // namespace kalvo
