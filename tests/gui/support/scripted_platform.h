#pragma once

#include "gui/platform.h"

#include <deque>
#include <map>
#include <optional>
#include <set>
#include <vector>

namespace kalvo::test {

// The platform as tests see it: every message box is recorded and answered from a queue, every
// file and colour dialog is recorded and answered from its own queue (cancelled when the queue
// is empty), programs are not started but recorded, and the clipboard, cursors, keys, mouse and
// clock are plain fields a test sets.
class TScriptedPlatform : public TPlatform
{
public:
    struct Message
    {
        TMsgKind Kind;
        QString Text;
        std::vector<TMsgButton> Buttons; // empty for a box with standard buttons
        TButtons Standard = TButtons::Ok;
    };
    struct FileAnswer
    {
        QString FileName;
        int FilterIndex = 0; // 0: keep the index the window set
    };

    TAnswer MessageBox(TMsgKind kind, const QString& text, TButtons buttons) override;
    TAnswer MessageBox(TMsgKind kind, const QString& text,
                       const std::vector<TMsgButton>& buttons) override;
    bool OpenFileDialog(TFileDialog& dialog) override;
    bool SaveFileDialog(TFileDialog& dialog) override;
    bool ColourDialog(TColour& colour) override;
    bool StartProgram(const QString& commandLine) override;
    bool StartProcess(const QString& program, const QStringList& arguments) override;
    bool ClipboardHasImage() override { return !Clipboard.isNull(); }
    QImage ClipboardImage() override { return Clipboard; }
    void SetClipboardImage(const QImage& image) override { Clipboard = image; }
    bool LoadCursorFile(int slot, const QString& fileName) override;
    QCursor CursorOf(int slot) const override;
    void SetAppCursor(int slot) override { AppCursorSlot = slot; }
    int AppCursor() const override { return AppCursorSlot; }
    bool IsKeyDown(TKey key) override { return KeysDown.count(key) != 0; }
    bool IsButtonDown(TMouseButton button) override { return ButtonsDown.count(button) != 0; }
    QPoint PointerPos() const override { return Pointer; }
    void SetPointerPos(const QPoint& screenPos) override { Pointer = screenPos; }
    std::int64_t TickCount() const override;

    // Answers, taken from the front. A message box with an empty queue answers Ok (Yes for a
    // question without Ok); dialogs with an empty queue are cancelled.
    std::deque<TAnswer> Answers;
    std::deque<std::optional<FileAnswer>> FileAnswers; // nullopt: the user cancels
    std::deque<std::optional<TColour>> ColourAnswers;
    bool ProgramsStart = true; // what StartProgram reports

    // What the windows asked for.
    std::vector<Message> Messages;
    std::vector<TFileDialog> FileDialogs; // as the window set them up
    std::vector<bool> FileDialogWasSave;
    std::vector<TColour> ColourDialogs; // the colour each colour dialog was preset to
    std::vector<QString> StartedPrograms;
    std::vector<QStringList> StartedProcesses; // program, then its arguments
    std::map<int, QString> LoadedCursors;

    QImage Clipboard;
    int AppCursorSlot = kCursorDefault;
    std::set<TKey> KeysDown;
    std::set<TMouseButton> ButtonsDown;
    QPoint Pointer;
    // A clock the test moves; the real one when unset.
    std::optional<std::int64_t> Tick;

private:
    bool FileDialog(TFileDialog& dialog, bool save);
};

} // namespace kalvo::test
