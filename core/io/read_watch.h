#pragma once

#include <cstdint>
#include <exception>
#include <functional>

namespace kalvo {

// Thrown out of a read that its caller asked to stop. Not a failure: the caller drops what the
// read made and tells the user nothing.
class TReadCancelled : public std::exception
{
public:
    const char* what() const noexcept override { return "read cancelled"; }
};

// How far a read has come through its file, told to whoever started it, who may stop it there.
// Readers report their byte position as they take in blocks of the file; a reader that goes
// through the file more than once (a scan, then the load) declares its passes first, so the
// fraction grows steadily from 0 to 1 across all of them. ReadModelFile makes one per read and
// hands it to the reader; readers without one (the command line, tests) report nothing.
class TReadWatch
{
public:
    // Told the fraction of the read done (0 to 1); returns false to stop the read.
    using TCallback = std::function<bool(double fraction)>;

    // Positions are reported to callback at most every kReportBytes: a report costs a call.
    static constexpr std::int64_t kReportBytes = 256 * 1024;

    TReadWatch(TCallback callback, std::int64_t fileSize);

    // The read goes through the file passes times in all (1 unless said). Call before the
    // first report.
    void SetPasses(int passes);
    // Starts the next pass at position 0.
    void NextPass();

    // The read has come position bytes into the file in the current pass. Throws TReadCancelled
    // when the caller asks to stop.
    void Reached(std::int64_t position)
    {
        if (position >= nextReport_)
            Report(position);
    }
    // The same for a pass that counts something else than bytes (faces built, say): done of
    // total, reported at most as often as positions are.
    void ReachedCount(std::int64_t done, std::int64_t total)
    {
        Reached(total > 0 ? static_cast<std::int64_t>(static_cast<double>(done) / total * fileSize_)
                          : fileSize_);
    }
    // Asks the caller whether to go on, at the fraction reached so far; never throws (for
    // library callbacks that must not). Once false, stays false.
    bool Continue();
    // Throws TReadCancelled when the caller asked to stop at any time before.
    void ThrowIfCancelled() const;
    bool Cancelled() const { return cancelled_; }

private:
    void Report(std::int64_t position);

    TCallback callback_;
    std::int64_t fileSize_;
    int passes_ = 1;
    int pass_ = 0;
    std::int64_t nextReport_ = 0;
    double fraction_ = 0.0;
    bool cancelled_ = false;
};

} // namespace kalvo
