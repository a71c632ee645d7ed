#include "gui/test_window.h"

#include <QLineEdit>
#include <QVBoxLayout>

namespace kalvo {

TfrmTest::TfrmTest(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmTest"));
    auto* layout = new QVBoxLayout(this);
    Edit1 = new QLineEdit(QStringLiteral("0"), this);
    Edit2 = new QLineEdit(QStringLiteral("0"), this);
    Edit3 = new QLineEdit(QStringLiteral("1"), this);
    layout->addWidget(Edit1);
    layout->addWidget(Edit2);
    layout->addWidget(Edit3);
}

} // namespace kalvo
