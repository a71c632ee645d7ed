// How pictures travel in and out of the template window: open, paste, copy, save, and the
// paint program with its optional live link.
#include "core/settings/settings.h"
#include "gui/open_command.h"
#include "gui/shell.h"
#include "gui/template/command_line.h"
#include "gui/template/map_template_window.h"
#include "gui/template/template_pictures.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QImageReader>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTimer>

namespace kalvo {

namespace {

// "Windows Bitmap" first, then every picture format the image plugins read.
QString OpenFilter()
{
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format).toLower();
    patterns.removeDuplicates();
    return QCoreApplication::translate("kalvo::TfrmMapTemplate",
                                       "Windows Bitmap (*.bmp)|*.bmp|画像ファイル (%1)|%2")
        .arg(patterns.join(QLatin1Char(' ')), patterns.join(QLatin1Char(';')));
}

// The format to write path in: by its extension, else by the chosen filter.
const char* SaveFormat(const QString& path, int filterIndex)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png"))
        return "PNG";
    if (suffix == QLatin1String("bmp"))
        return "BMP";
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return "JPEG";
    return filterIndex == 2 ? "BMP" : filterIndex == 3 ? "JPEG" : "PNG";
}

// Writes image to path through a temporary file that replaces path only when complete, so a
// failed write never leaves half a picture where a good one was.
bool SavePictureAtomically(const QImage& image, const QString& path, const char* format,
                           QString& error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    if (!image.save(&file, format)) {
        error = file.errorString().isEmpty()
                    ? QCoreApplication::translate("kalvo::TfrmMapTemplate",
                                                  "画像を書き出せませんでした")
                    : file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

} // namespace

bool TfrmMapTemplate::PictureIntoTemplate(const TCanvas& picture)
{
    if (!Model() || picture.Width() <= 0 || picture.Height() <= 0)
        return false;
    history_.RecordWholeTemplate();
    LoadPicture(picture);
    RepaintTemplate();
    RestartPreview();
    return true;
}

void TfrmMapTemplate::btnOpenClick()
{
    if (!Model())
        return;
    if (OpenDialog.Filter.count(QLatin1Char('|')) < 3)
        OpenDialog.Filter = OpenFilter();
    OpenDialog.InitialDir = QString::fromStdString(CurrentSettings(shell_).OpenDir);
    if (!platform_.OpenFileDialog(OpenDialog))
        return;
    if (LoadPictureFile(OpenDialog.FileName))
        RememberOpenFolder(shell_, FolderOfFile(OpenDialog.FileName));
}

bool TfrmMapTemplate::LoadPictureFile(const QString& path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull()) {
        platform_.MessageBox(TMsgKind::Error,
                             tr("テクスチャー %1 を読み込めませんでした。\n%2")
                                 .arg(QDir::toNativeSeparators(path), reader.errorString()),
                             TButtons::Ok);
        return false;
    }
    TCanvas picture;
    CanvasFromImage(image, picture);
    return PictureIntoTemplate(picture);
}

void TfrmMapTemplate::btnPasteClick()
{
    if (!platform_.ClipboardHasImage())
        return;
    const QImage image = platform_.ClipboardImage();
    if (image.isNull())
        return;
    TCanvas picture;
    CanvasFromImage(image, picture);
    PictureIntoTemplate(picture);
}

void TfrmMapTemplate::btnCopyClick() { platform_.SetClipboardImage(ImageFromCanvas(Bitmap())); }

void TfrmMapTemplate::SaveTemplateClick()
{
    SaveDialog.InitialDir = QString::fromStdString(CurrentSettings(shell_).OpenDir);
    if (!platform_.SaveFileDialog(SaveDialog))
        return;
    const QString path = SaveDialog.FileName;
    if (QFileInfo::exists(path) &&
        platform_.MessageBox(
            TMsgKind::Information,
            tr("ファイル%1は既に存在します。 上書きしますか？").arg(QDir::toNativeSeparators(path)),
            TButtons::OkCancel) != TAnswer::Ok)
        return;
    QString error;
    if (!SavePictureAtomically(ImageFromCanvas(Bitmap()), path,
                               SaveFormat(path, SaveDialog.FilterIndex), error))
        platform_.MessageBox(TMsgKind::Error,
                             tr("テンプレートを %1 に保存できませんでした。\n%2")
                                 .arg(QDir::toNativeSeparators(path), error),
                             TButtons::Ok);
}

// --- The paint program ---------------------------------------------------------------------

void TfrmMapTemplate::SpeedButton1Click()
{
    const QString commandLine = QString::fromStdString(CurrentSettings(shell_).PaintSoft);
    StartPaintProgram(commandLine);
}

bool TfrmMapTemplate::StartPaintProgram(const QString& commandLine)
{
    const auto cannotStart = [this](const QString& program) {
        platform_.MessageBox(
            TMsgKind::Error,
            tr("ペイントソフト「%1」を起動できませんでした。\n"
               "環境設定の「テンプレート」にある「起動ペイントソフト」(PaintSoft) に、"
               "起動できるプログラムを指定してください。")
                .arg(program),
            TButtons::Ok);
        return false;
    };
    QStringList words;
    if (!SplitCommandLine(commandLine, words) || words.isEmpty())
        return cannotStart(commandLine);

    // With "%f" the program edits the template itself: it gets a picture file of the template,
    // which comes back into the template whenever the program saves it.
    const bool live = commandLine.contains(QLatin1String("%f"));
    if (live) {
        if (!liveDir_) {
            liveDir_ = std::make_unique<QTemporaryDir>();
            if (!liveDir_->isValid()) {
                liveDir_.reset();
                return cannotStart(words.front());
            }
            liveFile_ = liveDir_->filePath(QStringLiteral("template.png"));
        }
        QString error;
        if (!SavePictureAtomically(ImageFromCanvas(Bitmap()), liveFile_, "PNG", error)) {
            platform_.MessageBox(TMsgKind::Error,
                                 tr("テンプレートを %1 に保存できませんでした。\n%2")
                                     .arg(QDir::toNativeSeparators(liveFile_), error),
                                 TButtons::Ok);
            return false;
        }
        liveStamp_ = QFileInfo(liveFile_).lastModified();
        for (QString& word : words)
            word.replace(QLatin1String("%f"), liveFile_);
    }
    const QString program = words.takeFirst();
    if (!platform_.StartProcess(program, words))
        return cannotStart(program);
    if (live)
        WatchLiveFile();
    return true;
}

void TfrmMapTemplate::WatchLiveFile()
{
    if (!liveWatcher_) {
        liveWatcher_ = new QFileSystemWatcher(this);
        // Programs that save by replacing the file make the watch on the file lapse; the
        // folder's watch notices the new one.
        connect(liveWatcher_, &QFileSystemWatcher::fileChanged, liveReload_,
                qOverload<>(&QTimer::start));
        connect(liveWatcher_, &QFileSystemWatcher::directoryChanged, liveReload_,
                qOverload<>(&QTimer::start));
        liveWatcher_->addPath(QFileInfo(liveFile_).absolutePath());
    }
    if (!liveWatcher_->files().contains(liveFile_))
        liveWatcher_->addPath(liveFile_);
}

void TfrmMapTemplate::ReloadLiveFile()
{
    if (!liveWatcher_ || liveFile_.isEmpty() || !Model())
        return;
    const QFileInfo info(liveFile_);
    if (!info.exists())
        return;
    WatchLiveFile();
    // Our own save, or a change already taken in.
    if (info.lastModified() == liveStamp_)
        return;
    QImageReader reader(liveFile_);
    const QImage image = reader.read();
    // A program still writing the file leaves it unreadable for a moment; its last write
    // brings another change.
    if (image.isNull())
        return;
    liveStamp_ = info.lastModified();
    TCanvas picture;
    CanvasFromImage(image, picture);
    PictureIntoTemplate(picture);
}

} // namespace kalvo
