#include "core/settings/settings.h"
#include "gui/environ_dialog.h"
#include "gui/qt_platform.h"
#include "tests/gui/support/scripted_platform.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace kalvo {

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class EnvironDialogTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString iniPath_;
    std::unique_ptr<test::TScriptedPlatform> platform_;
    std::unique_ptr<TSettings> settings_;

    // A dialog on the current INI file, as the program creates it at start.
    std::unique_ptr<TfrmEnviron> Create()
    {
        settings_ = std::make_unique<TSettings>();
        return std::make_unique<TfrmEnviron>(*platform_, *settings_,
                                             std::filesystem::path(iniPath_.toStdString()));
    }

private slots:
    void init()
    {
        QVERIFY(dir_.isValid());
        iniPath_ = dir_.filePath(QStringLiteral("kalvo3d.ini"));
        QFile::remove(iniPath_);
        platform_ = std::make_unique<test::TScriptedPlatform>();
    }

    void defaultsShowAndClosingWritesAllKeys()
    {
        auto dialog = Create();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("環境設定"));
        QCOMPARE(dialog->size(), QSize(493, 347));
        QCOMPARE(dialog->PageControl1->count(), 6);
        QCOMPARE(dialog->PageControl1->tabText(5), QStringLiteral("操作"));
        QCOMPARE(dialog->pnlBackCol->Colour(), TColour(12632256));
        QCOMPARE(dialog->pnlNonEditCol->Colour(), TColour(8421504));
        QCOMPARE(dialog->edtPaint->text(), QStringLiteral("pbrush.exe"));
        QCOMPARE(dialog->edtX->text(), QStringLiteral("640"));
        QCOMPARE(dialog->edtChange->text(), QStringLiteral("W"));
        QVERIFY(dialog->cbxBound->isChecked());
        QVERIFY(!dialog->cbxTexShade->isChecked());
        QCOMPARE(dialog->rgpViewMove->ItemIndex(), 0);
        QVERIFY(dialog->rgpViewMove->Item(0)->isChecked());
        QCOMPARE(dialog->rgpFileOpen->ItemIndex(), 0);
        QVERIFY(!dialog->edtDir->isEnabled());
        QVERIFY(dialog->rgpTextureStock->isEnabled());
        QVERIFY(!QFile::exists(iniPath_)); // loading never writes

        dialog->show();
        dialog->close(); // the title bar's close, not a button
        QVERIFY(!dialog->isVisible());
        const QByteArray written = ReadAll(iniPath_);
        QCOMPARE(written,
                 ReadAll(QStringLiteral(KALVO_TEST_DATA_DIR "/golden/settings_defaults.ini")));
        QCOMPARE(written.count("\r\n["), 6);
        QCOMPARE(written.count('='), 38);
        QVERIFY(platform_->Messages.empty());
    }

    void typingANonNumberIntoASizeResetsItTo640()
    {
        auto dialog = Create();
        dialog->show();
        dialog->edtY->clear();
        QTest::keyClicks(dialog->edtY, QStringLiteral("12a"));
        QCOMPARE(platform_->Messages.size(), std::size_t(1));
        QCOMPARE(platform_->Messages[0].Text, QStringLiteral("12aは数値ではありません"));
        QCOMPARE(platform_->Messages[0].Kind, TMsgKind::Error);
        QCOMPARE(platform_->Messages[0].Standard, TButtons::Ok);
        QCOMPARE(dialog->edtY->text(), QStringLiteral("640"));
        QCOMPARE(settings_->Ysize, std::string("640"));

        // Clearing the field is allowed.
        dialog->edtX->clear();
        QCOMPARE(platform_->Messages.size(), std::size_t(1));
        QCOMPARE(settings_->Xsize, std::string());
    }

    void aSizeInTheFileThatIsNotANumberIsReportedAtStart()
    {
        WriteAll(iniPath_, "[Template]\r\nXsize=abc\r\n");
        auto dialog = Create();
        QCOMPARE(platform_->Messages.size(), std::size_t(1));
        QCOMPARE(platform_->Messages[0].Text, QStringLiteral("abcは数値ではありません"));
        QCOMPARE(dialog->edtX->text(), QStringLiteral("640"));
        QCOMPARE(settings_->Xsize, std::string("640"));
    }

    void uncheckingPreviewDisablesTheResponseGroupsAndCancelRestores()
    {
        auto dialog = Create();
        dialog->show();
        dialog->PageControl1->setCurrentIndex(4);
        QTest::mouseClick(dialog->cbxUsePreview, Qt::LeftButton);
        QVERIFY(!dialog->cbxUsePreview->isChecked());
        for (QWidget* control : std::initializer_list<QWidget*>{
                 dialog->rgpFrame, dialog->rgpFlatFrame, dialog->rgpFlat, dialog->rgpViewMove,
                 dialog->cbxUseTexture, dialog->rgpTextureStock})
            QVERIFY(!control->isEnabled());
        QVERIFY(!settings_->UsePreview);
        QTest::mouseClick(dialog->rgpFlat->Item(1), Qt::LeftButton); // disabled: no effect
        QCOMPARE(settings_->FlatMode, 0);

        QTest::mouseClick(dialog->Button3, Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QVERIFY(dialog->cbxUsePreview->isChecked());
        QVERIFY(dialog->rgpFrame->isEnabled());
        QVERIFY(dialog->rgpTextureStock->isEnabled());
        QVERIFY(settings_->UsePreview);
        QVERIFY(ReadAll(iniPath_).contains("UsePreview=1\r\n"));
    }

    void escapeDropsTheEditsLikeCancel()
    {
        auto dialog = Create();
        dialog->show();
        dialog->edtTop->setText(QStringLiteral("Q"));
        QCOMPARE(settings_->TopView, std::string("Q"));
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->edtTop->text(), QStringLiteral("E"));
        QCOMPARE(settings_->TopView, std::string("E"));
    }

    void textureStockFollowsTheHiddenTextureCheckBox()
    {
        auto dialog = Create();
        dialog->cbxUseTexture->setChecked(false);
        QVERIFY(dialog->cbxUsePreview->isChecked());
        QVERIFY(!dialog->rgpTextureStock->isEnabled());
        QVERIFY(dialog->rgpViewMove->isEnabled());
        dialog->cbxUseTexture->setChecked(true);
        QVERIFY(dialog->rgpTextureStock->isEnabled());
    }

    void aChangedViewColourSurvivesARestart()
    {
        {
            auto dialog = Create();
            dialog->show();
            platform_->ColourAnswers.push_back(TColour(0x00FF00));
            QTest::mouseClick(dialog->pnlNonEditCol, Qt::LeftButton);
            QCOMPARE(platform_->ColourDialogs.size(), std::size_t(1));
            QCOMPARE(platform_->ColourDialogs[0], TColour(8421504)); // preset to the panel's
            QCOMPARE(dialog->pnlNonEditCol->Colour(), TColour(0x00FF00));
            QCOMPARE(settings_->UnEditableEdge, TColour(0x00FF00));

            // A cancelled colour dialog changes nothing.
            QTest::mouseClick(dialog->pnlSelectEdge, Qt::LeftButton);
            QCOMPARE(dialog->pnlSelectEdge->Colour(), TColour(16711680));
            QTest::mouseClick(dialog->Button2, Qt::LeftButton);
            QVERIFY(!dialog->isVisible());
        }
        auto restarted = Create();
        QCOMPARE(restarted->pnlNonEditCol->Colour(), TColour(0x00FF00));
        QCOMPARE(settings_->UnEditableEdge, TColour(0x00FF00));
        QVERIFY(ReadAll(iniPath_).contains("UnEditableEdge=65280\r\n"));
    }

    void browseButtonPutsTheChosenProgramIntoThePaintField()
    {
        auto dialog = Create();
        dialog->show();
        platform_->FileAnswers.push_back(
            test::TScriptedPlatform::FileAnswer{QStringLiteral("/opt/paint/bin/paint.exe"), 0});
        QTest::mouseClick(dialog->Button1, Qt::LeftButton);
        QCOMPARE(platform_->FileDialogs.size(), std::size_t(1));
        QCOMPARE(platform_->FileDialogs[0].Filter, QStringLiteral("アプリケーション(*.exe)|*.exe"));
        QCOMPARE(dialog->edtPaint->text(), QStringLiteral("/opt/paint/bin/paint.exe"));
        QCOMPARE(settings_->PaintSoft, std::string("/opt/paint/bin/paint.exe"));

        // Cancelled: the field keeps its text.
        QTest::mouseClick(dialog->Button1, Qt::LeftButton);
        QCOMPARE(dialog->edtPaint->text(), QStringLiteral("/opt/paint/bin/paint.exe"));
    }

    void lockedFolderBecomesTheOpenFolderUntilTheNextFileIsOpened()
    {
        auto dialog = Create();
        dialog->show();
        dialog->PageControl1->setCurrentIndex(3);
        QTest::mouseClick(dialog->rgpFileOpen->Item(1), Qt::LeftButton);
        QCOMPARE(settings_->LockOrUnLock, 1);
        QVERIFY(dialog->edtDir->isEnabled());
        QTest::keyClicks(dialog->edtDir, QStringLiteral("/models/"));
        QCOMPARE(settings_->LockDir, std::string("/models/"));
        QCOMPARE(settings_->OpenDir, std::string("/models/"));

        // Back to "remember the last folder": the folder stays until a file is opened.
        QTest::mouseClick(dialog->rgpFileOpen->Item(0), Qt::LeftButton);
        QVERIFY(!dialog->edtDir->isEnabled());
        QCOMPARE(settings_->OpenDir, std::string("/models/"));
        QTest::mouseClick(dialog->Button2, Qt::LeftButton);

        // Another window remembers the folder of an opened file; the dialog shows it next time.
        settings_->OpenDir = "/elsewhere/";
        dialog->show();
        QCOMPARE(dialog->edtOpenDir->text(), QStringLiteral("/elsewhere/"));
        QTest::mouseClick(dialog->Button3, Qt::LeftButton);
        QCOMPARE(settings_->OpenDir, std::string("/models/")); // the file's value came back
    }

    void radioIndicesOutsideTheItemsChooseTheLastOrNone()
    {
        WriteAll(iniPath_, "[Performance]\r\nViewMoveMode=7\r\nFrameMode=-2\r\n");
        auto dialog = Create();
        QCOMPARE(dialog->rgpViewMove->ItemIndex(), 2);
        QVERIFY(dialog->rgpViewMove->Item(2)->isChecked());
        QCOMPARE(dialog->rgpFrame->ItemIndex(), -1);
        QVERIFY(!dialog->rgpFrame->Item(0)->isChecked());
        QVERIFY(!dialog->rgpFrame->Item(1)->isChecked());
        dialog->SaveSettings();
        QVERIFY(ReadAll(iniPath_).contains("FrameMode=-1\r\n"));
        QVERIFY(ReadAll(iniPath_).contains("ViewMoveMode=2\r\n"));
    }

    void qtFiltersKeepTheStoredPatterns()
    {
        QCOMPARE(
            QtNameFilters(QStringLiteral("Kalvo/3D (*.k3d)|*.k3d|六角大王 (*.rok)|*.rok")),
            QStringList({QStringLiteral("Kalvo/3D (*.k3d)"), QStringLiteral("六角大王 (*.rok)")}));
        QCOMPARE(QtNameFilters(QStringLiteral("Pictures|*.bmp;*.dib")),
                 QStringList({QStringLiteral("Pictures (*.bmp *.dib)")}));
        QCOMPARE(QtNameFilters(QStringLiteral("アプリケーション(*.exe)|*.exe")),
                 QStringList({QStringLiteral("アプリケーション(*.exe)")}));
    }

    void cursorFilesKeepTheirHotspot()
    {
        QCursor cursor;
        QVERIFY(ReadCursorFile(QStringLiteral(KALVO_SOURCE_DIR "/data/Pen.cur"), cursor));
        QCOMPARE(cursor.hotSpot(), QPoint(0, 31));
        QCOMPARE(cursor.pixmap().size(), QSize(32, 32));
        QVERIFY(!ReadCursorFile(QStringLiteral(KALVO_SOURCE_DIR "/data/Kalvo3D.txt"), cursor));
        QVERIFY(!ReadCursorFile(dir_.filePath(QStringLiteral("missing.cur")), cursor));
    }
};

} // namespace kalvo

QTEST_MAIN(kalvo::EnvironDialogTest)
#include "environ_dialog_test.moc"
