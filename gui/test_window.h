#pragma once

#include <QWidget>

class QLineEdit;

namespace kalvo {

// Three numeric fields kept for experiments with the view; created at start, never shown.
class TfrmTest : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmTest(QWidget* parent = nullptr);

    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
};

} // namespace kalvo
