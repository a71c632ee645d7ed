#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace kalvo {

class TPlatform;

// "Information": the program's name and version, and a button that opens the user's read-me
// in the desktop's text viewer. Shown modally from the help menu.
class TfrmInfo : public QDialog
{
    Q_OBJECT

public:
    // platform starts the text viewer and must outlive the window.
    explicit TfrmInfo(TPlatform& platform, QWidget* parent = nullptr);

    // The command line that shows the read-me: Notepad on Windows, the desktop's opener
    // elsewhere. The file is looked for beside the executable, then in the current folder
    // (where the program starts when it runs from its source tree), then in the share folder
    // of an installed program.
    static QString ReadMeCommandLine();

    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

public slots:
    void Button2Click(); // "Kalvo3D.txtを読む": opens the read-me in a text viewer

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TPlatform& platform_;
};

} // namespace kalvo
