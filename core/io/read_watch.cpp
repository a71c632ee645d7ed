#include "core/io/read_watch.h"

#include <algorithm>
#include <utility>

namespace kalvo {

TReadWatch::TReadWatch(TCallback callback, std::int64_t fileSize)
    : callback_(std::move(callback)), fileSize_(std::max<std::int64_t>(fileSize, 1))
{
}

void TReadWatch::SetPasses(int passes) { passes_ = std::max(passes, 1); }

void TReadWatch::NextPass()
{
    pass_ = std::min(pass_ + 1, passes_ - 1);
    nextReport_ = 0;
}

void TReadWatch::Report(std::int64_t position)
{
    nextReport_ = position + kReportBytes;
    // A position past the size the file had when the read began (it grew meanwhile) counts as
    // the end of the pass.
    const double within = std::min(1.0, static_cast<double>(position) / fileSize_);
    fraction_ = (pass_ + within) / passes_;
    if (!Continue())
        throw TReadCancelled();
}

bool TReadWatch::Continue()
{
    if (!cancelled_ && callback_ && !callback_(fraction_))
        cancelled_ = true;
    return !cancelled_;
}

void TReadWatch::ThrowIfCancelled() const
{
    if (cancelled_)
        throw TReadCancelled();
}

} // namespace kalvo
