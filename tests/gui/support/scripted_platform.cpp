#include "tests/gui/support/scripted_platform.h"

#include <chrono>

namespace kalvo::test {

TAnswer TScriptedPlatform::MessageBox(TMsgKind kind, const QString& text, TButtons buttons)
{
    Messages.push_back({kind, text, {}, buttons});
    if (!Answers.empty()) {
        const TAnswer answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    return (buttons == TButtons::YesNo || buttons == TButtons::YesNoCancel) ? TAnswer::Yes
                                                                            : TAnswer::Ok;
}

TAnswer TScriptedPlatform::MessageBox(TMsgKind kind, const QString& text,
                                      const std::vector<TMsgButton>& buttons)
{
    Messages.push_back({kind, text, buttons, TButtons::Ok});
    if (!Answers.empty()) {
        const TAnswer answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    for (const TMsgButton& button : buttons)
        if (button.Answer == TAnswer::Ok)
            return TAnswer::Ok;
    return buttons.empty() ? TAnswer::Ok : buttons.front().Answer;
}

bool TScriptedPlatform::FileDialog(TFileDialog& dialog, bool save)
{
    FileDialogs.push_back(dialog);
    FileDialogWasSave.push_back(save);
    if (FileAnswers.empty())
        return false;
    const std::optional<FileAnswer> answer = FileAnswers.front();
    FileAnswers.pop_front();
    if (!answer)
        return false;
    dialog.FileName = answer->FileName;
    if (answer->FilterIndex > 0)
        dialog.FilterIndex = answer->FilterIndex;
    return true;
}

bool TScriptedPlatform::OpenFileDialog(TFileDialog& dialog) { return FileDialog(dialog, false); }

bool TScriptedPlatform::SaveFileDialog(TFileDialog& dialog) { return FileDialog(dialog, true); }

bool TScriptedPlatform::ColourDialog(TColour& colour)
{
    ColourDialogs.push_back(colour);
    if (ColourAnswers.empty())
        return false;
    const std::optional<TColour> answer = ColourAnswers.front();
    ColourAnswers.pop_front();
    if (!answer)
        return false;
    colour = *answer;
    return true;
}

bool TScriptedPlatform::StartProgram(const QString& commandLine)
{
    StartedPrograms.push_back(commandLine);
    return ProgramsStart;
}

bool TScriptedPlatform::StartProcess(const QString& program, const QStringList& arguments)
{
    StartedProcesses.push_back(QStringList{program} + arguments);
    return ProgramsStart;
}

bool TScriptedPlatform::LoadCursorFile(int slot, const QString& fileName)
{
    LoadedCursors[slot] = fileName;
    return true;
}

QCursor TScriptedPlatform::CursorOf(int slot) const
{
    return slot == kCursorCross ? QCursor(Qt::CrossCursor) : QCursor(Qt::ArrowCursor);
}

std::int64_t TScriptedPlatform::TickCount() const
{
    if (Tick)
        return *Tick;
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace kalvo::test
