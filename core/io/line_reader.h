#pragma once

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvo {

class TReadWatch;

// Splits text into lines while reading it in large chunks, so that a file of any size costs one
// buffer. The buffer starts small and grows up to the chunk size while the file fills it, so a
// small file costs little. Lines end at LF; one CR before the LF (or before the end of the text) is
// dropped. Readers of line-based formats create one per file.
class TLineReader
{
public:
    // Fills up to size bytes of buffer and returns how many; 0 means the end of the text.
    // Throws (TReadError) when reading fails.
    using TSource = std::function<std::size_t(char* buffer, std::size_t size)>;

    static constexpr std::size_t kChunkSize = std::size_t(1) << 20;
    static constexpr std::size_t kFirstChunkSize = std::size_t(1) << 14;

    explicit TLineReader(TSource source, std::size_t chunkSize = kChunkSize);
    // Reads from an open file; path names it in error messages. watch, when given, hears of
    // every chunk read and may stop the reading (it must outlive the reader).
    static TLineReader FromFile(std::FILE* file, const std::string& path,
                                TReadWatch* watch = nullptr);
    // Reads from bytes that outlive the reader.
    static TLineReader FromBytes(std::string_view bytes);

    // The next line, valid until the next call; false at the end of the text. A line longer
    // than the chunk size is cut there and the rest of it, up to its line end, is skipped.
    bool Next(std::string_view& line)
    {
        // The common case, kept inline: a whole line waiting in the buffer.
        if (!skipping_) {
            const char* start = buffer_.data() + begin_;
            if (const void* lf = std::memchr(start, '\n', end_ - begin_)) {
                const char* stop = static_cast<const char*>(lf);
                begin_ += static_cast<std::size_t>(stop - start) + 1;
                if (stop != start && stop[-1] == '\r')
                    --stop;
                line = std::string_view(start, static_cast<std::size_t>(stop - start));
                return true;
            }
        }
        return NextAfterRefill(line);
    }

    // How many lines were cut at the chunk size so far.
    std::size_t CutLines() const { return cutLines_; }

private:
    bool NextAfterRefill(std::string_view& line);
    bool Refill();
    void Grow();

    TSource source_;
    std::size_t chunkSize_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0; // first byte not yet handed out
    std::size_t end_ = 0;   // one past the last byte read
    bool atEnd_ = false;
    bool skipping_ = false; // inside the rest of a line that was cut
    std::size_t cutLines_ = 0;
};

} // namespace kalvo
