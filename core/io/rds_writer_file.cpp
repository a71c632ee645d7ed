#include "core/base/errors.h"
#include "core/io/rds_writer.h"

#include <cassert>
#include <cerrno>

namespace kalvo {

namespace {

// Output is handed to the system in pieces of about this size: large enough that the system
// calls cost nothing next to the formatting, small enough to stay in the cache.
constexpr std::size_t kFlushSize = std::size_t{1} << 20;

} // namespace

TObjwriter::TObjwriter() = default;

TObjwriter::~TObjwriter() = default;

void TObjwriter::AddObject(const TpreviewObj& object) { objects_.push_back(&object); }

void TObjwriter::WriteLines(const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        WriteLine(line);
}

void TObjwriter::OpenFile(const std::string& name)
{
    isOpen_ = true;
    buffer_.clear();
    buffer_.reserve(kFlushSize + 4096);
    file_.Open(name);
}

void TObjwriter::WriteLine(std::string_view text)
{
    buffer_.append(text);
    EndLine();
}

void TObjwriter::EndLine()
{
    buffer_.append("\r\n", 2);
    if (file_.IsOpen() && buffer_.size() >= kFlushSize)
        Flush();
}

void TObjwriter::Flush()
{
    file_.Write(buffer_);
    buffer_.clear();
}

void TObjwriter::CloseFile()
{
    assert(file_.IsOpen());
    Flush();
    file_.Commit();
}

std::string TObjwriter::TakeText()
{
    assert(!file_.IsOpen());
    std::string text;
    text.swap(buffer_);
    return text;
}

} // namespace kalvo
