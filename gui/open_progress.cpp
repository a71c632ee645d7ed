#include "gui/open_progress.h"

#include "gui/bar_window.h"
#include "gui/cpu_state.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <cmath>

namespace kalvo {

TOpenProgress::TOpenProgress(QWidget* parent, const QString& fileName, TfrmBar* bar,
                             int showAfterMs)
    : dialog_(std::make_unique<QProgressDialog>(parent))
{
    QProgressDialog& dialog = *dialog_;
    dialog.setObjectName(QStringLiteral("dlgOpenProgress"));
    dialog.setWindowTitle(QStringLiteral("Kalvo/3D"));
    dialog.setLabelText(
        QCoreApplication::translate("kalvo::TOpenProgress", "%1 を読み込んでいます...")
            .arg(fileName));
    dialog.setCancelButtonText(QCoreApplication::translate("kalvo::TOpenProgress", "キャンセル"));
    dialog.setRange(0, kSteps);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setMinimumDuration(showAfterMs);
    if (bar && bar->isVisible()) {
        // The wait window stays on top in the middle of the screen: stand just below it.
        dialog.adjustSize();
        const QRect frame = bar->frameGeometry();
        dialog.move(frame.center().x() - dialog.width() / 2, frame.bottom() + 8);
    }
    dialog.setValue(0); // starts the dialog's clock
}

TOpenProgress::~TOpenProgress() = default;

bool TOpenProgress::Advance(double fraction)
{
    if (started_ && clock_.elapsed() < kRepaintMs)
        return !dialog_->wasCanceled();
    started_ = true;
    clock_.start();
    const int value = static_cast<int>(std::lround(std::clamp(fraction, 0.0, 1.0) * kSteps));
    // Once shown, the modal dialog lets events through here: its painting, the Cancel button.
    if (value > dialog_->value())
        dialog_->setValue(value);
    else if (dialog_->isVisible())
        QCoreApplication::processEvents();
    ClearUpperVectorState(); // the painting may leave them dirty; the read goes on
    return !dialog_->wasCanceled();
}

} // namespace kalvo
