#include "gui/tool_window.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace kalvo {

TfrmTool::TfrmTool(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmTool"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(1);
    for (int i = 0; i < 5; ++i) {
        Buttons[i] = new QToolButton(this);
        Buttons[i]->setCheckable(true);
        Buttons[i]->setAutoExclusive(true);
        Buttons[i]->setFixedSize(25, 25);
        layout->addWidget(Buttons[i]);
    }
    layout->addStretch();
    resize(29, height());
}

} // namespace kalvo
