#pragma once

#include <QDialog>
#include <cstdint>

class QLabel;
class QPushButton;
class QSpinBox;

namespace kalvo {

class TMessageSink;

// Asks for the pixel size of a new map template. Created once at start and kept hidden; the
// object window's template command fills the two fields from the settings, shows it modally
// and reads the fields back when it closes with OK.
//
// OK refuses sizes the template cannot have (IsValidTemplateSize) with a message and keeps the
// dialog open: a template of no pixels cannot be drawn on, and one far beyond the screen only
// exhausts memory. So are sizes whose template needs more memory than the machine has.
class TdlgTempSize : public QDialog
{
    Q_OBJECT

public:
    // sink receives the refusal message and must outlive the dialog.
    explicit TdlgTempSize(TMessageSink& sink, QWidget* parent = nullptr);

    // Whether both fields hold a size the template can have.
    bool SizeAcceptable() const;

    QLabel* Label5 = nullptr;
    QSpinBox* sedX = nullptr;
    QSpinBox* sedY = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

    // The machine's memory in bytes (0: unknown), read when the dialog is made.
    std::uint64_t MachineMemory = 0;

public slots:
    void OKBtnClick(); // "OK": closes with OK when the size is one a template can have

private:
    TMessageSink& sink_;
};

} // namespace kalvo
