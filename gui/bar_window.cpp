#include "gui/bar_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QWindow>

namespace kalvo {

namespace {

// How long ShowNow waits for the window system to put the window on the screen.
constexpr int kMapWaitMs = 200;

} // namespace

TfrmBar::TfrmBar(QWidget* parent)
    : QWidget(parent,
              Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::CustomizeWindowHint)
{
    setObjectName(QStringLiteral("frmBar"));
    setWindowTitle(QStringLiteral("お待ちください..."));
    // The text stands in the window too: a window without a client area is never mapped by
    // some window systems, and a desktop without title bars would show nothing at all.
    auto* text = new QLabel(windowTitle(), this);
    text->setAlignment(Qt::AlignCenter);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(text);
    setFixedSize(260, std::max(text->sizeHint().height() + 16, 32));
}

void TfrmBar::ShowNow()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center().x() - width() / 2, area.center().y() - height() / 2);
    }
    show();
    raise();
    // Reading blocks the event loop: let the window system map the window and paint it before
    // the caller goes on.
    QElapsedTimer waited;
    waited.start();
    while (!(windowHandle() && windowHandle()->isExposed()) && waited.elapsed() < kMapWaitMs)
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace kalvo
