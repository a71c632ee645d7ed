#pragma once

#include "core/base/colour.h"
#include "core/base/message_sink.h"
#include "gui/core_texts.h"

#include <QColor>
#include <QCursor>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace kalvo {

// Cursor slots. The toolkit's own cursors have fixed negative numbers; the custom cursors the
// main window loads from files at start take the slots 5 to 11.
constexpr int kCursorDefault = 0;
constexpr int kCursorArrow = -2;
constexpr int kCursorCross = -3;
constexpr int kCursorHand = 5;         // "HAND.cur"
constexpr int kCursorView = 6;         // "VIEW.cur"
constexpr int kCursorPickup = 7;       // "PICKUP.cur"
constexpr int kCursorEdgeSelect = 9;   // "ESel.cur"
constexpr int kCursorPointSelect = 10; // "PSel.cur"
constexpr int kCursorPen = 11;         // "Pen.cur"

inline QColor ToQColor(TColour colour)
{
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}
inline TColour FromQColor(const QColor& colour)
{
    return TColour(colour.red()) | (TColour(colour.green()) << 8) | (TColour(colour.blue()) << 16);
}

enum class TKey { Space, Ctrl, Shift };
enum class TMouseButton { Left, Right, Middle };

// One button of a message box with texts of its own ("いいえ(&N)", "OK"): the text shown and
// the answer it gives.
struct TMsgButton
{
    QString Text;
    TAnswer Answer = TAnswer::Ok;
};

// A file open or save dialog as the windows describe it. Filter is the stored form,
// "description|pattern|description|pattern..."; FilterIndex counts from 1. After OK, FileName
// holds the chosen path and FilterIndex the filter that was selected.
struct TFileDialog
{
    QString Title;
    QString Filter;
    int FilterIndex = 1;
    QString InitialDir;
    QString DefaultExt; // "rds" or "*.rds"; added to a name typed without one (save dialogs)
    QString FileName;
};

// Everything the windows ask of the system besides drawing: modal message boxes and standard
// dialogs, starting other programs, the clipboard's bitmap, cursors, and the state of keys and
// mouse buttons. Windows receive one from their creator and never talk to the system for these
// themselves, so tests can answer every dialog and watch every message (the desktop program
// hands TQtPlatform to the main window; tests hand a scripted one).
class TPlatform
{
public:
    virtual ~TPlatform() = default;

    // A modal message box of the given kind; returns the button pressed. Closing the box
    // without a button gives Cancel (or No when there is no Cancel button).
    virtual TAnswer MessageBox(TMsgKind kind, const QString& text, TButtons buttons) = 0;
    // The same with buttons of its own, in the order given; the first one is the default.
    virtual TAnswer MessageBox(TMsgKind kind, const QString& text,
                               const std::vector<TMsgButton>& buttons) = 0;

    // Modal file dialogs; false when cancelled (dialog then unchanged).
    virtual bool OpenFileDialog(TFileDialog& dialog) = 0;
    virtual bool SaveFileDialog(TFileDialog& dialog) = 0;
    // The colour chooser preset to colour; false when cancelled (colour then unchanged).
    virtual bool ColourDialog(TColour& colour) = 0;

    // Starts a program from a command line (program name, then blank-separated arguments),
    // shown normally and not waited for. False when it could not be started.
    virtual bool StartProgram(const QString& commandLine) = 0;
    // The same with the words of the command line already split: no character of them is
    // taken as a separator or a quote.
    virtual bool StartProcess(const QString& program, const QStringList& arguments) = 0;

    virtual bool ClipboardHasImage() = 0;
    virtual QImage ClipboardImage() = 0; // a null image when there is none
    virtual void SetClipboardImage(const QImage& image) = 0;

    // Loads a cursor file into a slot; false (slot left empty) when it cannot be read.
    virtual bool LoadCursorFile(int slot, const QString& fileName) = 0;
    // The cursor of a slot, for a control's own cursor; an empty slot gives the arrow.
    virtual QCursor CursorOf(int slot) const = 0;
    // The application-wide cursor: while it is not kCursorDefault it overrides every
    // control's own cursor.
    virtual void SetAppCursor(int slot) = 0;
    virtual int AppCursor() const = 0;

    // Whether a key or mouse button is down now or was pressed since the previous query.
    virtual bool IsKeyDown(TKey key) = 0;
    virtual bool IsButtonDown(TMouseButton button) = 0;
    // The mouse pointer in screen coordinates.
    virtual QPoint PointerPos() const = 0;
    virtual void SetPointerPos(const QPoint& screenPos) = 0;

    // Milliseconds from an arbitrary start, never going backwards.
    virtual std::int64_t TickCount() const = 0;
};

// Lets the core's readers and writers report through the platform's message boxes.
class TPlatformSink : public TMessageSink
{
public:
    explicit TPlatformSink(TPlatform& platform) : platform_(platform) {}
    TAnswer Show(TMsgKind kind, const std::string& text, TButtons buttons) override
    {
        return platform_.MessageBox(kind, CoreText(text), buttons);
    }

private:
    TPlatform& platform_;
};

} // namespace kalvo
