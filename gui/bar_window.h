#pragma once

#include <QWidget>

namespace kalvo {

// "お待ちください...": a title bar alone, on top of everything, centred on the screen. The Open
// and Export commands show it while a file is read or written; it has no behaviour of its own.
class TfrmBar : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmBar(QWidget* parent = nullptr);

    // Shows the window and lets the system draw it before the caller blocks on reading.
    void ShowNow();
};

// Keeps the wait window up exactly while a file is read or written, however that ends. A null
// window is allowed (no wait window).
class TWaitWindow
{
public:
    explicit TWaitWindow(TfrmBar* bar) : bar_(bar)
    {
        if (bar_)
            bar_->ShowNow();
    }
    ~TWaitWindow()
    {
        if (bar_)
            bar_->hide();
    }
    TWaitWindow(const TWaitWindow&) = delete;
    TWaitWindow& operator=(const TWaitWindow&) = delete;

private:
    TfrmBar* bar_;
};

} // namespace kalvo
