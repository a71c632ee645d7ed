#include "gui/qt_platform.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace kalvo {

class QtPlatformTest : public QObject
{
    Q_OBJECT

private:
    // Runs action on the next modal message box once it is open; a box nobody expected is
    // rejected after a while so the test fails instead of hanging.
    static void OnMessageBox(std::function<void(QMessageBox&)> action)
    {
        // The pending timer owns the poll; the poll itself holds only a weak reference, so it is
        // freed once it stops rescheduling.
        auto poll = std::make_shared<std::function<void(int)>>();
        *poll = [action, self = std::weak_ptr(poll)](int tries) {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box != nullptr && box->isVisible()) {
                action(*box);
                return;
            }
            if (tries < 200)
                QTimer::singleShot(10, [poll = self.lock(), tries] { (*poll)(tries + 1); });
        };
        QTimer::singleShot(0, [poll] { (*poll)(0); });
    }

    static QAbstractButton* ButtonWithText(QMessageBox& box, const QString& text)
    {
        for (QAbstractButton* button : box.buttons())
            if (button->text() == text)
                return button;
        return nullptr;
    }

private slots:
    void ownButtonsAnswerWhatTheyStandFor()
    {
        TQtPlatform platform;
        QString shownText;
        int buttonCount = 0;
        OnMessageBox([&](QMessageBox& box) {
            shownText = box.text();
            buttonCount = int(box.buttons().size());
            if (QAbstractButton* no = ButtonWithText(box, QStringLiteral("いいえ(&N)")))
                no->click();
            else
                box.buttons().constLast()->click(); // "OK": the test then fails
        });
        const TAnswer answer = platform.MessageBox(
            TMsgKind::Information, QStringLiteral("破棄しますか？"),
            {{QStringLiteral("いいえ(&N)"), TAnswer::No}, {QStringLiteral("OK"), TAnswer::Ok}});
        QCOMPARE(answer, TAnswer::No);
        QCOMPARE(shownText, QStringLiteral("破棄しますか？"));
        QCOMPARE(buttonCount, 2);
    }

    void messageBoxOpensCentredOnTheWindowWithTheFocus()
    {
        TQtPlatform platform;
        QWidget frame;
        frame.setGeometry(0, 0, 700, 500);
        auto* area = new QMdiArea(&frame);
        area->setGeometry(0, 0, 700, 500);
        auto* field = new QLineEdit;
        QMdiSubWindow* child = area->addSubWindow(field);
        child->setGeometry(380, 240, 300, 200);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        field->setFocus();
        QPoint boxCentre;
        OnMessageBox([&](QMessageBox& box) {
            boxCentre = box.geometry().center();
            box.accept();
        });
        platform.MessageBox(TMsgKind::Information, QStringLiteral("!"), TButtons::Ok);
        const QPoint childCentre = child->mapToGlobal(child->rect().center());
        QVERIFY2((boxCentre - childCentre).manhattanLength() < 40,
                 qPrintable(QString("%1,%2").arg(boxCentre.x()).arg(boxCentre.y())));
    }

    void closingAQuestionWithoutAButtonAnswersNo()
    {
        TQtPlatform platform;
        OnMessageBox([](QMessageBox& box) { box.reject(); });
        QCOMPARE(platform.MessageBox(TMsgKind::Confirmation, QStringLiteral("?"), TButtons::YesNo),
                 TAnswer::No);
        OnMessageBox([](QMessageBox& box) { box.reject(); });
        QCOMPARE(
            platform.MessageBox(TMsgKind::Information, QStringLiteral("?"), TButtons::OkCancel),
            TAnswer::Cancel);
    }

    void standardButtonsComeInOrderWithTheFirstAsDefault()
    {
        TQtPlatform platform;
        int buttonCount = 0;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        OnMessageBox([&](QMessageBox& box) {
            buttonCount = int(box.buttons().size());
            icon = box.icon();
            box.defaultButton()->click();
        });
        QCOMPARE(platform.MessageBox(TMsgKind::Error, QStringLiteral("x"), TButtons::YesNoCancel),
                 TAnswer::Yes);
        QCOMPARE(buttonCount, 3);
        QCOMPARE(icon, QMessageBox::Critical);
    }

    void aKeyPressedAndReleasedBetweenTwoQueriesCountsOnce()
    {
        TQtPlatform platform;
        QLineEdit target;
        target.show();
        QVERIFY(!platform.IsKeyDown(TKey::Space));
        QTest::keyPress(&target, Qt::Key_Space);
        QTest::keyRelease(&target, Qt::Key_Space);
        QVERIFY(platform.IsKeyDown(TKey::Space));
        QVERIFY(!platform.IsKeyDown(TKey::Space));

        QTest::keyPress(&target, Qt::Key_Space);
        QVERIFY(platform.IsKeyDown(TKey::Space));
        QVERIFY(platform.IsKeyDown(TKey::Space)); // still held
        QTest::keyRelease(&target, Qt::Key_Space);
        QVERIFY(!platform.IsKeyDown(TKey::Space));
    }

    void aClickBetweenTwoQueriesCountsAsDown()
    {
        TQtPlatform platform;
        QPushButton target(QStringLiteral("x"));
        target.show();
        QTest::mouseClick(&target, Qt::RightButton);
        QVERIFY(platform.IsButtonDown(TMouseButton::Right));
        QVERIFY(!platform.IsButtonDown(TMouseButton::Right));
        QVERIFY(!platform.IsButtonDown(TMouseButton::Left));
    }

    void applicationCursorOverridesUntilDefault()
    {
        TQtPlatform platform;
        platform.SetAppCursor(kCursorCross);
        QVERIFY(QGuiApplication::overrideCursor() != nullptr);
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
        platform.SetAppCursor(kCursorHand); // an empty slot: the arrow
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::ArrowCursor);
        platform.SetAppCursor(kCursorDefault);
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
        QCOMPARE(platform.AppCursor(), kCursorDefault);
    }

    void missingProgramIsReported()
    {
        TQtPlatform platform;
        QVERIFY(!platform.StartProgram(QStringLiteral("/nonexistent/paint-program --x")));
        QVERIFY(!platform.StartProgram(QString()));
    }

    void clipboardImageRoundTrips()
    {
        TQtPlatform platform;
        QImage image(4, 3, QImage::Format_RGB32);
        image.fill(Qt::red);
        platform.SetClipboardImage(image);
        QVERIFY(platform.ClipboardHasImage());
        QCOMPARE(platform.ClipboardImage().size(), QSize(4, 3));
        QCOMPARE(platform.ClipboardImage().pixelColor(1, 1), QColor(Qt::red));
    }
};

} // namespace kalvo

QTEST_MAIN(kalvo::QtPlatformTest)
#include "qt_platform_test.moc"
