#pragma once

#include "core/settings/settings.h"
#include "gui/app_windows.h"
#include "gui/main_form.h"
#include "gui/object_window.h"
#include "gui/preview/model_window.h"
#include "gui/shell.h"
#include "tests/gui/support/scripted_platform.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <memory>

namespace kalvo::test {

// The whole program as a test drives it: every long-lived window, created as at start with a
// scripted platform and a settings file in a fresh folder. Modal dialogs never run a loop of
// their own: OnModal may act on the dialog (fill fields, press its OK button), and the answer
// comes from ModalAnswers (cancelled when empty) unless the dialog closed itself.
class TAppFixture
{
public:
    // Creates the windows and shows the main window, which opens the first preview window.
    explicit TAppFixture(const QByteArray& iniText = {})
    {
        TfrmObj::LastSelectionCount = 0;
        if (!iniText.isEmpty()) {
            QFile ini(Dir.filePath(QStringLiteral("kalvo3d.ini")));
            ini.open(QIODevice::WriteOnly);
            ini.write(iniText);
        }
        App = std::make_unique<TApplicationWindows>(Platform, IniPath().toStdString());
        Shell().ShowModal = [this](QDialog& dialog) {
            ModalDialogs.push_back(QString::fromLatin1(dialog.metaObject()->className()));
            dialog.setResult(-1);
            if (OnModal)
                OnModal(dialog);
            if (dialog.result() != -1)
                return dialog.result() == QDialog::Accepted;
            if (ModalAnswers.empty())
                return false;
            const bool answer = ModalAnswers.front();
            ModalAnswers.pop_front();
            return answer;
        };
        App->MainForm().show();
    }

    TShell& Shell() { return App->Shell(); }
    TMainForm& Main() { return App->MainForm(); }
    TSettings& Settings() { return *Shell().Settings; }
    TfrmModel& Preview() { return *Main().ActivePreview(); }
    TfrmObj& Objects() { return Preview().ObjectWindow(); }
    QString IniPath() const { return Dir.filePath(QStringLiteral("kalvo3d.ini")); }

    // Answers the next open dialog with path and filter index, then runs the Open command.
    void Open(const QString& path, int filterIndex)
    {
        Platform.FileAnswers.push_back(TScriptedPlatform::FileAnswer{path, filterIndex});
        Main().mnuOpenClick();
    }

    QTemporaryDir Dir;
    TScriptedPlatform Platform;
    std::unique_ptr<TApplicationWindows> App;
    std::function<void(QDialog&)> OnModal;
    std::deque<bool> ModalAnswers;
    std::vector<QString> ModalDialogs;
};

// A file of the source tree.
inline QString SourcePath(const QString& relative)
{
    return QDir(QStringLiteral(KALVO_TEST_DATA_DIR "/../..")).filePath(relative);
}

inline QString ReadAll(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

} // namespace kalvo::test
