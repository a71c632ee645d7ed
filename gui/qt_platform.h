#pragma once

#include "gui/platform.h"

#include <QObject>
#include <chrono>
#include <map>

namespace kalvo {

// The platform services as Qt provides them. The desktop program creates one in main() after
// the QApplication and hands it to the main window. It watches the application's key and
// mouse events so that a press between two timer ticks still counts as down.
class TQtPlatform : public QObject, public TPlatform
{
    Q_OBJECT

public:
    TQtPlatform();
    ~TQtPlatform() override;

    TAnswer MessageBox(TMsgKind kind, const QString& text, TButtons buttons) override;
    TAnswer MessageBox(TMsgKind kind, const QString& text,
                       const std::vector<TMsgButton>& buttons) override;
    bool OpenFileDialog(TFileDialog& dialog) override;
    bool SaveFileDialog(TFileDialog& dialog) override;
    bool ColourDialog(TColour& colour) override;
    bool StartProgram(const QString& commandLine) override;
    bool StartProcess(const QString& program, const QStringList& arguments) override;
    bool ClipboardHasImage() override;
    QImage ClipboardImage() override;
    void SetClipboardImage(const QImage& image) override;
    bool LoadCursorFile(int slot, const QString& fileName) override;
    QCursor CursorOf(int slot) const override;
    void SetAppCursor(int slot) override;
    int AppCursor() const override;
    bool IsKeyDown(TKey key) override;
    bool IsButtonDown(TMouseButton button) override;
    QPoint PointerPos() const override;
    void SetPointerPos(const QPoint& screenPos) override;
    std::int64_t TickCount() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::map<int, QCursor> cursors_;
    int appCursor_ = kCursorDefault;
    bool overridePushed_ = false;
    bool spaceHeld_ = false;
    // Pressed since the previous query, indexed by TKey and TMouseButton.
    bool keyPressed_[3] = {};
    bool buttonPressed_[3] = {};
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// Turns a stored filter ("description|pattern|...") into Qt's name filters, one per pair.
QStringList QtNameFilters(const QString& filter);

// Reads a Windows cursor file: its picture and the hotspot stored in its header. False when the
// file is missing or not a cursor file.
bool ReadCursorFile(const QString& fileName, QCursor& cursor);

} // namespace kalvo
