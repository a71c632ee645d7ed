#include "gui/qt_platform.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>

namespace kalvo {

namespace {

QMessageBox::Icon IconOf(TMsgKind kind)
{
    switch (kind) {
    case TMsgKind::Information:
        return QMessageBox::Information;
    case TMsgKind::Error:
        return QMessageBox::Critical;
    case TMsgKind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QString CaptionOf(TMsgKind kind)
{
    switch (kind) {
    case TMsgKind::Information:
        return QStringLiteral("情報");
    case TMsgKind::Error:
        return QStringLiteral("エラー");
    case TMsgKind::Confirmation:
        return QStringLiteral("確認");
    }
    return QString();
}

QMessageBox::ButtonRole RoleOf(TAnswer answer)
{
    switch (answer) {
    case TAnswer::Ok:
        return QMessageBox::AcceptRole;
    case TAnswer::Cancel:
        return QMessageBox::RejectRole;
    case TAnswer::Yes:
        return QMessageBox::YesRole;
    case TAnswer::No:
        return QMessageBox::NoRole;
    }
    return QMessageBox::AcceptRole;
}

std::vector<TMsgButton> StandardButtons(TButtons buttons)
{
    // Texts from Qt's own (translated) standard buttons.
    auto text = [](QMessageBox::StandardButton button) {
        QMessageBox box;
        return box.addButton(button)->text();
    };
    const TMsgButton ok{text(QMessageBox::Ok), TAnswer::Ok};
    const TMsgButton cancel{text(QMessageBox::Cancel), TAnswer::Cancel};
    const TMsgButton yes{text(QMessageBox::Yes), TAnswer::Yes};
    const TMsgButton no{text(QMessageBox::No), TAnswer::No};
    switch (buttons) {
    case TButtons::Ok:
        return {ok};
    case TButtons::OkCancel:
        return {ok, cancel};
    case TButtons::YesNo:
        return {yes, no};
    case TButtons::YesNoCancel:
        return {yes, no, cancel};
    }
    return {ok};
}

// The window a message belongs to: the child window or top-level window holding the keyboard
// focus (a preview or template window inside the main window, a tool window), else the active
// window.
QWidget* OwnerOfMessage()
{
    for (QWidget* widget = QApplication::focusWidget(); widget; widget = widget->parentWidget()) {
        if (qobject_cast<QMdiSubWindow*>(widget) || widget->isWindow())
            return widget;
    }
    return QApplication::activeWindow();
}

// A message box that opens centred on the window it belongs to, rather than on the top-level
// window holding that one.
class TCentredMessageBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;
    QRect Over; // screen rectangle of the owner window; empty: Qt's own placement

protected:
    void showEvent(QShowEvent* event) override
    {
        // The box takes its final size here; place it after that.
        QMessageBox::showEvent(event);
        if (!Over.isEmpty())
            move(Over.center() - rect().center());
    }
};

QString Suffix(QString defaultExt)
{
    if (defaultExt.startsWith(QLatin1String("*")))
        defaultExt.remove(0, 1);
    if (defaultExt.startsWith(QLatin1Char('.')))
        defaultExt.remove(0, 1);
    if (defaultExt.contains(QLatin1Char('*')) || defaultExt.contains(QLatin1Char('?')))
        return QString();
    return defaultExt;
}

bool RunFileDialog(TFileDialog& request, bool save)
{
    QFileDialog dialog(QApplication::activeWindow(), request.Title, request.InitialDir);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The windows ask about overwriting themselves, with their own text.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = QtNameFilters(request.Filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        if (request.FilterIndex >= 1 && request.FilterIndex <= filters.size())
            dialog.selectNameFilter(filters[request.FilterIndex - 1]);
    }
    dialog.setDefaultSuffix(Suffix(request.DefaultExt));
    if (!request.FileName.isEmpty())
        dialog.selectFile(request.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    request.FileName = dialog.selectedFiles().constFirst();
    const qsizetype index = filters.indexOf(dialog.selectedNameFilter());
    if (index >= 0)
        request.FilterIndex = int(index) + 1;
    return true;
}

int KeyIndex(TKey key) { return static_cast<int>(key); }

int ButtonIndex(TMouseButton button) { return static_cast<int>(button); }

} // namespace

QStringList QtNameFilters(const QString& filter)
{
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i];
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt takes the patterns from the last parentheses of the text; most stored descriptions
        // already end with them.
        if (description.endsWith(QLatin1Char('(') + patterns + QLatin1Char(')')))
            result << description;
        else
            result << description + QLatin1String(" (") + patterns + QLatin1Char(')');
    }
    return result;
}

bool ReadCursorFile(const QString& fileName, QCursor& cursor)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    auto u16 = [&bytes](int at) {
        return int(static_cast<unsigned char>(bytes[at])) |
               (int(static_cast<unsigned char>(bytes[at + 1])) << 8);
    };
    // Header: reserved 0, type 2 (cursor), image count; then the first directory entry, whose
    // "planes" and "bit count" fields hold the hotspot. Qt reads the picture but not the hotspot.
    if (bytes.size() < 22 || u16(0) != 0 || u16(2) != 2 || u16(4) < 1)
        return false;
    QPixmap pixmap;
    if (!pixmap.loadFromData(bytes, "CUR") && !pixmap.loadFromData(bytes))
        return false;
    cursor = QCursor(pixmap, u16(10), u16(12));
    return true;
}

TQtPlatform::TQtPlatform() { qApp->installEventFilter(this); }

TQtPlatform::~TQtPlatform()
{
    if (overridePushed_)
        QGuiApplication::restoreOverrideCursor();
}

TAnswer TQtPlatform::MessageBox(TMsgKind kind, const QString& text, TButtons buttons)
{
    return MessageBox(kind, text, StandardButtons(buttons));
}

TAnswer TQtPlatform::MessageBox(TMsgKind kind, const QString& text,
                                const std::vector<TMsgButton>& buttons)
{
    TCentredMessageBox box(IconOf(kind), CaptionOf(kind), text, QMessageBox::NoButton,
                           QApplication::activeWindow());
    if (QWidget* owner = OwnerOfMessage())
        box.Over = owner->isWindow() ? owner->frameGeometry()
                                     : QRect(owner->mapToGlobal(QPoint(0, 0)), owner->size());
    std::vector<std::pair<QAbstractButton*, TAnswer>> added;
    for (const TMsgButton& button : buttons) {
        QPushButton* pushButton = box.addButton(button.Text, RoleOf(button.Answer));
        if (added.empty())
            box.setDefaultButton(pushButton);
        added.emplace_back(pushButton, button.Answer);
    }
    box.exec();
    for (const auto& [pushButton, answer] : added)
        if (box.clickedButton() == pushButton)
            return answer;
    // Closed without a button: the box's way out.
    for (const auto& [pushButton, answer] : added)
        if (answer == TAnswer::Cancel)
            return answer;
    for (const auto& [pushButton, answer] : added)
        if (answer == TAnswer::No)
            return answer;
    return added.empty() ? TAnswer::Ok : added.front().second;
}

bool TQtPlatform::OpenFileDialog(TFileDialog& dialog) { return RunFileDialog(dialog, false); }

bool TQtPlatform::SaveFileDialog(TFileDialog& dialog) { return RunFileDialog(dialog, true); }

bool TQtPlatform::ColourDialog(TColour& colour)
{
    const QColor chosen = QColorDialog::getColor(ToQColor(colour), QApplication::activeWindow(),
                                                 QString(), QColorDialog::DontUseNativeDialog);
    if (!chosen.isValid())
        return false;
    colour = FromQColor(chosen);
    return true;
}

bool TQtPlatform::StartProgram(const QString& commandLine)
{
    QStringList arguments = QProcess::splitCommand(commandLine);
    if (arguments.isEmpty())
        return false;
    const QString program = arguments.takeFirst();
    return QProcess::startDetached(program, arguments);
}

bool TQtPlatform::StartProcess(const QString& program, const QStringList& arguments)
{
    return !program.isEmpty() && QProcess::startDetached(program, arguments);
}

bool TQtPlatform::ClipboardHasImage()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && data->hasImage();
}

QImage TQtPlatform::ClipboardImage() { return QGuiApplication::clipboard()->image(); }

void TQtPlatform::SetClipboardImage(const QImage& image)
{
    QGuiApplication::clipboard()->setImage(image);
}

bool TQtPlatform::LoadCursorFile(int slot, const QString& fileName)
{
    QCursor cursor;
    if (!ReadCursorFile(fileName, cursor)) {
        cursors_.erase(slot);
        return false;
    }
    cursors_[slot] = cursor;
    return true;
}

QCursor TQtPlatform::CursorOf(int slot) const
{
    if (slot == kCursorCross)
        return QCursor(Qt::CrossCursor);
    const auto found = cursors_.find(slot);
    if (found != cursors_.end())
        return found->second;
    return QCursor(Qt::ArrowCursor);
}

void TQtPlatform::SetAppCursor(int slot)
{
    if (slot == appCursor_)
        return;
    appCursor_ = slot;
    if (slot == kCursorDefault) {
        if (overridePushed_)
            QGuiApplication::restoreOverrideCursor();
        overridePushed_ = false;
    } else if (overridePushed_) {
        QGuiApplication::changeOverrideCursor(CursorOf(slot));
    } else {
        QGuiApplication::setOverrideCursor(CursorOf(slot));
        overridePushed_ = true;
    }
}

int TQtPlatform::AppCursor() const { return appCursor_; }

bool TQtPlatform::IsKeyDown(TKey key)
{
    bool down = false;
    const Qt::KeyboardModifiers modifiers = QGuiApplication::queryKeyboardModifiers();
    switch (key) {
    case TKey::Space:
        down = spaceHeld_;
        break;
    case TKey::Ctrl:
        down = modifiers.testFlag(Qt::ControlModifier);
        break;
    case TKey::Shift:
        down = modifiers.testFlag(Qt::ShiftModifier);
        break;
    }
    bool& pressed = keyPressed_[KeyIndex(key)];
    down = down || pressed;
    pressed = false;
    return down;
}

bool TQtPlatform::IsButtonDown(TMouseButton button)
{
    Qt::MouseButton qtButton = Qt::LeftButton;
    if (button == TMouseButton::Right)
        qtButton = Qt::RightButton;
    else if (button == TMouseButton::Middle)
        qtButton = Qt::MiddleButton;
    bool& pressed = buttonPressed_[ButtonIndex(button)];
    const bool down = QGuiApplication::mouseButtons().testFlag(qtButton) || pressed;
    pressed = false;
    return down;
}

QPoint TQtPlatform::PointerPos() const { return QCursor::pos(); }

void TQtPlatform::SetPointerPos(const QPoint& screenPos) { QCursor::setPos(screenPos); }

std::int64_t TQtPlatform::TickCount() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start_)
        .count();
}

bool TQtPlatform::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto* keyEvent = static_cast<QKeyEvent*>(event);
        const bool press = event->type() == QEvent::KeyPress;
        if (keyEvent->isAutoRepeat())
            break;
        if (keyEvent->key() == Qt::Key_Space) {
            spaceHeld_ = press;
            keyPressed_[KeyIndex(TKey::Space)] |= press;
        } else if (keyEvent->key() == Qt::Key_Control) {
            keyPressed_[KeyIndex(TKey::Ctrl)] |= press;
        } else if (keyEvent->key() == Qt::Key_Shift) {
            keyPressed_[KeyIndex(TKey::Shift)] |= press;
        }
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* mouseEvent = static_cast<QMouseEvent*>(event);
        if (mouseEvent->button() == Qt::LeftButton)
            buttonPressed_[ButtonIndex(TMouseButton::Left)] = true;
        else if (mouseEvent->button() == Qt::RightButton)
            buttonPressed_[ButtonIndex(TMouseButton::Right)] = true;
        else if (mouseEvent->button() == Qt::MiddleButton)
            buttonPressed_[ButtonIndex(TMouseButton::Middle)] = true;
        break;
    }
    case QEvent::ApplicationDeactivate:
        // The release of a key held while the program lost the focus never arrives here.
        spaceHeld_ = false;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kalvo
