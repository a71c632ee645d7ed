#pragma once

#include <QElapsedTimer>
#include <QString>
#include <memory>

class QProgressDialog;
class QWidget;

namespace kalvo {

class TfrmBar;

// The progress dialog of one model file being read: the file's name, the percent read and a
// Cancel button (Esc and closing the dialog cancel too). It shows only once the read looks
// like taking longer than showAfterMs, and then blocks every other window, so nothing the
// user does can reach the document while it is half read. The Open command makes one per
// file and hands Advance to the core's read as its watch.
class TOpenProgress
{
public:
    // parent: the main window (may be null); bar: the wait window, which the dialog stands
    // below so that neither hides the other (may be null).
    TOpenProgress(QWidget* parent, const QString& fileName, TfrmBar* bar, int showAfterMs);
    ~TOpenProgress();
    TOpenProgress(const TOpenProgress&) = delete;
    TOpenProgress& operator=(const TOpenProgress&) = delete;

    // The read has come to fraction (0 to 1). Repaints at most every kRepaintMs, as
    // repainting more often would cost more than the read. False once the user cancelled.
    bool Advance(double fraction);

    static constexpr int kRepaintMs = 50;
    static constexpr int kSteps = 1000; // the bar's resolution

private:
    std::unique_ptr<QProgressDialog> dialog_;
    QElapsedTimer clock_;
    bool started_ = false;
};

} // namespace kalvo
