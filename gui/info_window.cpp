#include "gui/info_window.h"

#include "gui/list_pictures.h"
#include "gui/platform.h"
#include "gui/shipped_files.h"

#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kalvo {

namespace {

const QString kReadMeName = QStringLiteral("Kalvo3D.txt");

// A path with blanks is quoted so that the command line splits into program and one argument.
QString Argument(const QString& path)
{
    return path.contains(QLatin1Char(' ')) ? QLatin1Char('"') + path + QLatin1Char('"') : path;
}

} // namespace

TfrmInfo::TfrmInfo(TPlatform& platform, QWidget* parent) : QDialog(parent), platform_(platform)
{
    setObjectName(QStringLiteral("frmInfo"));
    setWindowTitle(QStringLiteral("Information"));

    Image1 = new QLabel(this);
    Image1->setPixmap(ObjectIcon(0).pixmap(32, 32));
    Image2 = new QLabel(this);
    Image2->setPixmap(ObjectIcon(1).pixmap(32, 32));
    Image2->installEventFilter(this);

    auto* title = new QLabel(QStringLiteral("Kalvo/3D for Windows"), this);
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.4);
    title->setFont(bold);
    auto* beta = new QLabel(QStringLiteral("(β2 version)"), this);
    auto* version = new QLabel(QStringLiteral("version 0.03"), this);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button2 = new QPushButton(QStringLiteral("Kalvo3D.txtを読む"), this);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &TfrmInfo::Button2Click);

    auto* top = new QHBoxLayout;
    top->addWidget(Image1, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->addWidget(title);
    texts->addWidget(beta);
    texts->addWidget(version);
    top->addLayout(texts, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Button2);
    bottom->addStretch();
    bottom->addWidget(Button1);
    bottom->addWidget(Image2, 0, Qt::AlignBottom);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(12);
    layout->addLayout(bottom);
}

QString TfrmInfo::ReadMeCommandLine()
{
    const QString path =
        QDir::toNativeSeparators(ShippedFilePath(kReadMeName, TLookFirst::ProgramFolder));
#if defined(Q_OS_WIN)
    return QStringLiteral("Notepad ") + Argument(path);
#elif defined(Q_OS_MACOS)
    return QStringLiteral("open -t ") + Argument(path);
#else
    return QStringLiteral("xdg-open ") + Argument(path);
#endif
}

void TfrmInfo::Button2Click()
{
    const QString commandLine = ReadMeCommandLine();
    if (!platform_.StartProgram(commandLine))
        platform_.MessageBox(TMsgKind::Error, commandLine + QStringLiteral(" を実行できません。"),
                             TButtons::Ok);
}

bool TfrmInfo::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Image2 && event->type() == QEvent::MouseButtonPress) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kalvo
