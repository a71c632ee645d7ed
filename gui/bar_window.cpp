#include "gui/bar_window.h"

#include <QApplication>
#include <QScreen>

namespace kalvo {

TfrmBar::TfrmBar(QWidget* parent)
    : QWidget(parent,
              Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::CustomizeWindowHint)
{
    setObjectName(QStringLiteral("frmBar"));
    setWindowTitle(QStringLiteral("お待ちください..."));
    // No client area: only the title bar shows.
    setFixedSize(260, 0);
}

void TfrmBar::ShowNow()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center().x() - width() / 2, area.center().y());
    }
    show();
    raise();
    // Reading blocks the event loop; give the window system one chance to map the window.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace kalvo
