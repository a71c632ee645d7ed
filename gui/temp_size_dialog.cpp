#include "gui/temp_size_dialog.h"

#include "core/base/message_sink.h"
#include "core/template/template_mapping.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <limits>

namespace kalvo {

namespace {

QSpinBox* MakeSizeField(int value, QWidget* parent)
{
    auto* field = new QSpinBox(parent);
    // The field takes any integer so that a value from the settings shows as it is; OK is
    // where sizes are checked.
    field->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    field->setValue(value);
    field->setMinimumWidth(80);
    return field;
}

} // namespace

TdlgTempSize::TdlgTempSize(TMessageSink& sink, QWidget* parent) : QDialog(parent), sink_(sink)
{
    setObjectName(QStringLiteral("dlgTempSize"));
    MachineMemory = PhysicalMemoryBytes();
    setWindowTitle(tr("ﾀﾞｲｱﾛｸﾞ"));

    Label5 = new QLabel(tr("テンプレートの大きさ"), this);
    sedX = MakeSizeField(640, this);
    sedY = MakeSizeField(480, this);
    sedX->setObjectName(QStringLiteral("sedX"));
    sedY->setObjectName(QStringLiteral("sedY"));

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(tr("Ｘサイズ"), this), 0, 0);
    fields->addWidget(sedX, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("Pixels"), this), 0, 2);
    fields->addWidget(new QLabel(tr("Ｙサイズ"), this), 1, 0);
    fields->addWidget(sedY, 1, 1);
    fields->addWidget(new QLabel(QStringLiteral("Pixels"), this), 1, 2);

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    CancelBtn = new QPushButton(tr("ｷｬﾝｾﾙ"), this);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &TdlgTempSize::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label5);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    setSizeGripEnabled(false);
}

bool TdlgTempSize::SizeAcceptable() const
{
    const int width = sedX->value(), height = sedY->value();
    return IsValidTemplateSize(width, height) &&
           FitsInMemory(TemplateBytesEstimate(width, height), MachineMemory);
}

void TdlgTempSize::OKBtnClick()
{
    const int width = sedX->value(), height = sedY->value();
    if (IsValidTemplateSize(width, height) && !SizeAcceptable()) {
        const std::uint64_t needed = TemplateBytesEstimate(width, height);
        sink_.Show(TMsgKind::Error,
                   tr("%1 x %2 のテンプレートには約 %3 のメモリが必要です。"
                      "このコンピュータのメモリ (%4) では足りません。")
                       .arg(width)
                       .arg(height)
                       .arg(QString::fromStdString(MemoryText(needed)),
                            QString::fromStdString(MemoryText(MachineMemory)))
                       .toStdString(),
                   TButtons::Ok);
        return;
    }
    if (!SizeAcceptable()) {
        sink_.Show(TMsgKind::Error,
                   tr("テンプレートの大きさは %1 から %2 ピクセルまでです。")
                       .arg(kMinTemplateSide)
                       .arg(kMaxTemplateSide)
                       .toStdString(),
                   TButtons::Ok);
        return;
    }
    accept();
}

} // namespace kalvo
