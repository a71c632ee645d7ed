#pragma once

#include <QWidget>

namespace kalvo {

// "お待ちください...": a title bar alone, on top of everything, centred on the screen. The Open
// command shows it while a file is read; it has no behaviour of its own.
class TfrmBar : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmBar(QWidget* parent = nullptr);

    // Shows the window and lets the system draw it before the caller blocks on reading.
    void ShowNow();
};

} // namespace kalvo
