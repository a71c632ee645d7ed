#pragma once

#include <QWidget>

class QToolButton;

namespace kalvo {

// A tool palette of five toggle buttons. It exists for the whole run but no command shows it
// yet; its buttons keep their state for whoever reads them.
class TfrmTool : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmTool(QWidget* parent = nullptr);

    QToolButton* Buttons[5] = {};
};

} // namespace kalvo
