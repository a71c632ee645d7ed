#pragma once

#include "core/settings/settings.h"
#include "gui/platform.h"
#include "gui/settings_controls.h"

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <filesystem>
#include <utility>
#include <vector>

namespace kalvo {

// The settings dialog "環境設定". Created once at start, it reads the INI file into the
// settings it is given and keeps them and its controls in step for the whole run: every edit
// of a control goes into the settings at once, and the settings go into the controls whenever
// the dialog is shown (another window may have changed OpenDir meanwhile). Other windows read
// the settings, never the controls. The INI file is written on every close and by
// SaveSettings; "CANCEL" (or Esc) reads the file back, dropping the edits.
//
// The application creates it with the settings object every window reads, shows it modally
// from the main window's settings command, and routes "save the settings" to SaveSettings.
class TfrmEnviron : public QDialog
{
    Q_OBJECT

public:
    // settings and platform must outlive the dialog. Loads iniPath now (FormCreate); a file that
    // cannot be read is reported and leaves the defaults.
    TfrmEnviron(TPlatform& platform, TSettings& settings, std::filesystem::path iniPath,
                QWidget* parent = nullptr);

    TSettings& Settings() { return settings_; }
    const std::filesystem::path& IniPath() const { return iniPath_; }

    // Reads the INI file into the settings and the controls (missing keys: defaults).
    void LoadSettings();
    // Writes every key to the INI file; a failure is reported in an error box.
    void SaveSettings();

    // Controls, named as the program's forms name them.
    QTabWidget* PageControl1 = nullptr;
    // "表示色"
    TColourPanel* pnlBackCol = nullptr;
    TColourPanel* pnlObjcol = nullptr;
    TColourPanel* pnlSelCol = nullptr;
    TColourPanel* pnlAxisXcol = nullptr;
    TColourPanel* pnlAxisYcol = nullptr;
    TColourPanel* pnlAxisZcol = nullptr;
    TColourPanel* pnlNonEditCol = nullptr;
    TColourPanel* pnlEditCol = nullptr;
    TColourPanel* pnlSelectEdge = nullptr;
    TColourPanel* pnlTempCol = nullptr;
    TColourPanel* pnlMeshCol = nullptr;
    TColourPanel* pnlEditMeshCol = nullptr;
    TColourPanel* pnlTempSelCol = nullptr;
    QCheckBox* cbxTexShade = nullptr;
    // "テンプレート"
    QLineEdit* edtPaint = nullptr;
    QPushButton* Button1 = nullptr; // "参照..."
    QLineEdit* edtX = nullptr;
    QLineEdit* edtY = nullptr;
    // "３面図"
    QLineEdit* edtTop = nullptr;
    QLineEdit* edtSide = nullptr;
    QLineEdit* edtPers = nullptr;
    QLineEdit* edtFace = nullptr;
    QLineEdit* edtChange = nullptr;
    // "その他"
    TRadioGroup* rgpFileOpen = nullptr;
    QLineEdit* edtDir = nullptr;
    QLineEdit* edtOpenDir = nullptr; // hidden
    QCheckBox* cbxNewWindow = nullptr;
    QCheckBox* cbxAutoMenu = nullptr;
    QCheckBox* cbxBound = nullptr;
    // "レスポンス"
    QCheckBox* cbxUsePreview = nullptr;
    TRadioGroup* rgpFrame = nullptr;
    TRadioGroup* rgpFlatFrame = nullptr;
    TRadioGroup* rgpFlat = nullptr;
    TRadioGroup* rgpViewMove = nullptr;
    QCheckBox* cbxUseTexture = nullptr;     // hidden
    TRadioGroup* rgpTextureStock = nullptr; // hidden
    // "操作"
    TRadioGroup* rgpZoom = nullptr;
    TRadioGroup* rgpView = nullptr;
    // Below the pages.
    QPushButton* Button2 = nullptr; // "OK"
    QPushButton* Button3 = nullptr; // "CANCEL"

    // The event handlers, public so the windows' tests can run them as a click would.
    void pnlBackColClick(TColourPanel* panel); // a colour panel: picks its colour
    void Button1Click();                       // "参照...": picks the paint program
    void edtXChange(QLineEdit* field);         // a template size field: refuses non-integers
    void cbxUsePreviewClick();                 // enables the drawing-method groups
    void rgpFileOpenClick();                   // the open-folder rule: enables the folder field
    void edtDirChange();                       // the fixed folder becomes the open folder
    void Button2Click();                       // "OK": saves the settings and closes
    void Button3Click();                       // "CANCEL": reloads the saved settings, closes

public slots:
    // Every way of closing ends here: the settings are written each time.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildColourPage();
    void BuildTemplatePage();
    void BuildViewsPage();
    void BuildOtherPage();
    void BuildResponsePage();
    void BuildOperationPage();
    void ConnectControls();
    // Puts the settings into the controls without writing them back.
    void ShowSettings();

    TPlatform& platform_;
    TSettings& settings_;
    // Which setting each control holds.
    std::vector<std::pair<TColourPanel*, TColour TSettings::*>> colours_;
    std::vector<std::pair<QCheckBox*, bool TSettings::*>> checks_;
    std::vector<std::pair<QLineEdit*, std::string TSettings::*>> texts_;
    std::vector<std::pair<TRadioGroup*, int TSettings::*>> radios_;
    std::filesystem::path iniPath_;
    bool showing_ = false; // ShowSettings is filling the controls
};

} // namespace kalvo
