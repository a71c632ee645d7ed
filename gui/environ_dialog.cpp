#include "gui/environ_dialog.h"

#include "core/base/errors.h"
#include "gui/command_guard.h"
#include "gui/core_texts.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QStyle>

namespace kalvo {

namespace {

constexpr int kClientWidth = 493;
constexpr int kClientHeight = 347;

QLabel* AddLabel(QWidget* parent, const QString& text, int x, int y, int width = 0)
{
    auto* label = new QLabel(text, parent);
    if (width > 0)
        label->setGeometry(x, y, width, 18);
    else
        label->move(x, y);
    return label;
}

QLineEdit* AddEdit(QWidget* parent, const QString& name, int x, int y, int width)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(x, y, width, 22);
    return edit;
}

QCheckBox* AddCheck(QWidget* parent, const QString& name, const QString& text, int x, int y,
                    int width = 440)
{
    auto* check = new QCheckBox(text, parent);
    check->setObjectName(name);
    check->setGeometry(x, y, width, 20);
    return check;
}

TRadioGroup* AddRadios(QWidget* parent, const QString& name, const QString& caption,
                       const QStringList& items, int columns, const QRect& geometry)
{
    auto* group = new TRadioGroup(caption, items, columns, parent);
    group->setObjectName(name);
    group->setGeometry(geometry);
    return group;
}

} // namespace

TfrmEnviron::TfrmEnviron(TPlatform& platform, TSettings& settings, std::filesystem::path iniPath,
                         QWidget* parent)
    : QDialog(parent), platform_(platform), settings_(settings), iniPath_(std::move(iniPath))
{
    setObjectName(QStringLiteral("frmEnviron"));
    setWindowTitle(tr("環境設定"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint);
    setFixedSize(kClientWidth, kClientHeight);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(4, 4, kClientWidth - 8, 300);
    BuildColourPage();
    BuildTemplatePage();
    BuildViewsPage();
    BuildOtherPage();
    BuildResponsePage();
    BuildOperationPage();

    Button2 = new QPushButton(QStringLiteral("OK"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(kClientWidth - 176, 312, 80, 26);
    Button2->setDefault(true);
    Button3 = new QPushButton(QStringLiteral("CANCEL"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setGeometry(kClientWidth - 88, 312, 80, 26);
    Button3->setAutoDefault(false);

    ConnectControls();
    LoadSettings();
}

void TfrmEnviron::BuildColourPage()
{
    auto* page = new QWidget;
    PageControl1->addTab(page, tr("表示色"));

    auto addColour = [this](QWidget* parent, const QString& name, const QString& text, int x, int y,
                            int labelWidth, TColour TSettings::*member) {
        AddLabel(parent, text, x, y + 1, labelWidth);
        auto* panel = new TColourPanel(parent);
        panel->setObjectName(name);
        panel->setGeometry(x + labelWidth + 4, y, 36, 20);
        colours_.emplace_back(panel, member);
        return panel;
    };

    auto* preview = new QGroupBox(tr("プレビューウインドウの色設定"), page);
    preview->setGeometry(8, 6, 228, 104);
    pnlBackCol = addColour(preview, "pnlBackCol", tr("背景色"), 10, 24, 80, &TSettings::BackColor);
    pnlObjcol =
        addColour(preview, "pnlObjcol", tr("メッシュの色"), 10, 50, 80, &TSettings::ObjectColor);
    pnlSelCol = addColour(preview, "pnlSelCol", tr("選択色"), 10, 76, 80, &TSettings::SelectColor);
    pnlAxisXcol = addColour(preview, "pnlAxisXcol", tr("X軸"), 138, 24, 36, &TSettings::AxisXColor);
    pnlAxisYcol =
        addColour(preview, "pnlAxisYcol", tr("Ｙ軸"), 138, 50, 36, &TSettings::AxisYColor);
    pnlAxisZcol =
        addColour(preview, "pnlAxisZcol", tr("Ｚ軸"), 138, 76, 36, &TSettings::AxisZColor);

    auto* views = new QGroupBox(tr("3面図"), page);
    views->setGeometry(8, 116, 228, 104);
    pnlNonEditCol =
        addColour(views, "pnlNonEditCol", tr("奥の線"), 10, 24, 130, &TSettings::UnEditableEdge);
    pnlEditCol = addColour(views, "pnlEditCol", tr("作業面を横切る線"), 10, 50, 130,
                           &TSettings::EditableEdge);
    pnlSelectEdge =
        addColour(views, "pnlSelectEdge", tr("手前の線"), 10, 76, 130, &TSettings::SelectEdge);

    auto* templ = new QGroupBox(tr("テンプレートウインドウの色設定"), page);
    templ->setGeometry(244, 6, 228, 130);
    pnlTempCol = addColour(templ, "pnlTempCol", tr("背景色"), 10, 24, 130, &TSettings::TempColor);
    pnlMeshCol =
        addColour(templ, "pnlMeshCol", tr("UVメッシュ色"), 10, 50, 130, &TSettings::MeshColor);
    pnlEditMeshCol = addColour(templ, "pnlEditMeshCol", tr("編集用UVメッシュ"), 10, 76, 130,
                               &TSettings::EditMeshColor);
    pnlTempSelCol =
        addColour(templ, "pnlTempSelCol", tr("選択色"), 10, 102, 130, &TSettings::TempSelColor);

    cbxTexShade =
        AddCheck(page, "cbxTexShade", tr("テクスチャプレビュー時のシェーディング"), 8, 228, 464);
    checks_.emplace_back(cbxTexShade, &TSettings::TextureShade);
}

void TfrmEnviron::BuildTemplatePage()
{
    auto* page = new QWidget;
    PageControl1->addTab(page, tr("テンプレート"));
    AddLabel(page, tr("起動ペイントソフト"), 12, 14);
    edtPaint = AddEdit(page, "edtPaint", 12, 34, 360);
    edtPaint->setToolTip(
        tr("テンプレートウインドウから起動するプログラムのコマンドライン。\n"
           "%f を含めると、テンプレートを画像ファイルに書き出してその名前で置き換え、"
           "プログラムがファイルを保存するたびにテンプレートへ読み込みます。"));
    texts_.emplace_back(edtPaint, &TSettings::PaintSoft);
    Button1 = new QPushButton(tr("参照..."), page);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(380, 32, 80, 26);
    Button1->setAutoDefault(false);

    AddLabel(page, tr("初期サイズ"), 12, 74);
    edtX = AddEdit(page, "edtX", 12, 94, 64);
    AddLabel(page, QStringLiteral("X"), 84, 97);
    edtY = AddEdit(page, "edtY", 100, 94, 64);
    texts_.emplace_back(edtX, &TSettings::Xsize);
    texts_.emplace_back(edtY, &TSettings::Ysize);
}

void TfrmEnviron::BuildViewsPage()
{
    auto* page = new QWidget;
    PageControl1->addTab(page, tr("３面図"));
    auto* group = new QGroupBox(tr("ショートカット"), page);
    group->setGeometry(8, 6, 300, 170);
    auto addKey = [this, group](const char* name, const QString& text, int row,
                                std::string TSettings::*member) {
        AddLabel(group, text, 12, 26 + 28 * row, 160);
        QLineEdit* edit = AddEdit(group, name, 176, 24 + 28 * row, 48);
        texts_.emplace_back(edit, member);
        return edit;
    };
    edtTop = addKey("edtTop", tr("Topビュー"), 0, &TSettings::TopView);
    edtSide = addKey("edtSide", tr("Sideビュー"), 1, &TSettings::SideView);
    edtPers = addKey("edtPers", tr("パースビュー"), 2, &TSettings::PersView);
    edtFace = addKey("edtFace", tr("Faceビュー"), 3, &TSettings::FaceView);
    edtChange = addKey("edtChange", tr("最大<->標準切り替え"), 4, &TSettings::Change);
}

void TfrmEnviron::BuildOtherPage()
{
    auto* page = new QWidget;
    PageControl1->addTab(page, tr("その他"));
    rgpFileOpen =
        AddRadios(page, "rgpFileOpen", tr("ファイル ダイアログボックス"),
                  {tr("最後に開いたディレクトリを記録する"), tr("常に以下のディレクトリを開く")}, 2,
                  QRect(8, 6, 464, 52));
    radios_.emplace_back(rgpFileOpen, &TSettings::LockOrUnLock);
    edtDir = AddEdit(page, "edtDir", 8, 64, 464);
    texts_.emplace_back(edtDir, &TSettings::LockDir);
    edtOpenDir = AddEdit(page, "edtOpenDir", 8, 90, 464);
    edtOpenDir->hide();
    texts_.emplace_back(edtOpenDir, &TSettings::OpenDir);
    cbxNewWindow = AddCheck(page, "cbxNewWindow", tr("新規ウインドウを最大化して開く"), 8, 120);
    cbxAutoMenu = AddCheck(page, "cbxAutoMenu", tr("メニューを自動的に開く"), 8, 146);
    cbxBound =
        AddCheck(page, "cbxBound", tr("選択オブジェクトをバウンディングＢＯＸで囲む"), 8, 172);
    checks_.emplace_back(cbxNewWindow, &TSettings::NewWindowMaxim);
    checks_.emplace_back(cbxAutoMenu, &TSettings::AutoMenu);
    checks_.emplace_back(cbxBound, &TSettings::BoundingBox);

    // In both languages, so that whoever cannot read the current one still finds it; it takes
    // effect when the program next starts, as windows take their texts when they are built.
    rgpLanguage = AddRadios(page, "rgpLanguage", tr("言語 / Language"),
                            {tr("日本語"), tr("English"), tr("システムの言語 / System")}, 3,
                            QRect(8, 198, 464, 48));
    radios_.emplace_back(rgpLanguage, &TSettings::Language);
    AddLabel(page, tr("次回の起動から / From the next start"), 8, 250, 464)
        ->setObjectName(QStringLiteral("lblLanguageNote"));
}

void TfrmEnviron::BuildResponsePage()
{
    auto* page = new QWidget;
    PageControl1->addTab(page, tr("レスポンス"));
    cbxUsePreview = AddCheck(page, "cbxUsePreview", tr("プレビュー機能を使用する"), 8, 4, 300);
    checks_.emplace_back(cbxUsePreview, &TSettings::UsePreview);

    const QStringList methods = {tr("逐次表示"), tr("一括表示")};
    rgpFrame = AddRadios(page, "rgpFrame", tr("陰影付き稜線"), methods, 1, QRect(8, 26, 150, 64));
    rgpFlatFrame =
        AddRadios(page, "rgpFlatFrame", tr("隠面消去＋稜線"), methods, 1, QRect(164, 26, 150, 64));
    rgpFlat = AddRadios(page, "rgpFlat", tr("隠面消去"), methods, 1, QRect(320, 26, 150, 64));
    // A small picture beside each drawing method, as decoration.
    const QStyle::StandardPixmap pictures[] = {QStyle::SP_FileDialogDetailedView,
                                               QStyle::SP_DesktopIcon, QStyle::SP_ComputerIcon};
    TRadioGroup* groups[] = {rgpFrame, rgpFlatFrame, rgpFlat};
    for (int i = 0; i < 3; ++i) {
        auto* icon = new QLabel(groups[i]);
        icon->setPixmap(style()->standardIcon(pictures[i]).pixmap(24, 24));
        icon->setGeometry(116, 26, 24, 24);
    }
    radios_.emplace_back(rgpFrame, &TSettings::FrameMode);
    radios_.emplace_back(rgpFlatFrame, &TSettings::FlatFrameMode);
    radios_.emplace_back(rgpFlat, &TSettings::FlatMode);

    AddLabel(page, tr("逐次表示（ディスプレーと同色、メモリー消費小、低速） "), 8, 94, 464);
    AddLabel(page, tr(" 一括表示（２５６色固定、メモリー消費大、高速,、レスポンス悪）"), 8, 112,
             464);

    rgpViewMove = AddRadios(page, "rgpViewMove", tr("視線変更時の表示モード"),
                            {tr("稜線プレビューに変更（レスポンス良）"),
                             tr("陰影付き稜線プレビューに変更（レスポンス中）"),
                             tr("表示モードの変更をしない")},
                            1, QRect(8, 134, 464, 92));
    radios_.emplace_back(rgpViewMove, &TSettings::ViewMoveMode);

    // Kept for the file, never shown: the texture preview has no alternatives to offer.
    cbxUseTexture =
        AddCheck(page, "cbxUseTexture", tr("テクスチャプレビュー機能を使用する"), 8, 230);
    cbxUseTexture->hide();
    checks_.emplace_back(cbxUseTexture, &TSettings::UseTexturePreview);
    rgpTextureStock =
        AddRadios(page, "rgpTextureStock", tr("テクスチャ情報の保持方式"),
                  {tr("２５６色固定ビットマップ（自動減色、メモリー消費小）"),
                   tr("可変色ビットマップ（高品質プレビュー、メモリー消費大、低速）")},
                  1, QRect(8, 200, 464, 64));
    rgpTextureStock->hide();
    radios_.emplace_back(rgpTextureStock, &TSettings::TexStock);
}

void TfrmEnviron::BuildOperationPage()
{
    auto* page = new QWidget;
    PageControl1->addTab(page, tr("操作"));
    AddLabel(page, tr("パースビューの操作"), 8, 8);
    rgpZoom =
        AddRadios(page, "rgpZoom", QStringLiteral("Zoom In/Out"),
                  {tr("上方向に右ドラッグでズームイン"), tr("下方向に右ドラッグでズームイン")}, 1,
                  QRect(8, 30, 464, 70));
    rgpView = AddRadios(
        page, "rgpView", QStringLiteral("View control"),
        {tr("左ドラッグ方向と逆方向に視点を移動"), tr("左ドラッグ方向と同じ方向に視点を移動")}, 1,
        QRect(8, 108, 464, 70));
    radios_.emplace_back(rgpZoom, &TSettings::Zoom);
    radios_.emplace_back(rgpView, &TSettings::View);
}

void TfrmEnviron::ConnectControls()
{
    for (const auto& [panel, member] : colours_) {
        TColourPanel* clicked = panel;
        connect(panel, &TColourPanel::Clicked, this, [this, clicked] { pnlBackColClick(clicked); });
    }
    for (const auto& [check, member] : checks_) {
        QCheckBox* box = check;
        bool TSettings::*field = member;
        connect(check, &QCheckBox::toggled, this, [this, box, field] {
            if (!showing_)
                settings_.*field = box->isChecked();
        });
    }
    for (const auto& [edit, member] : texts_) {
        QLineEdit* field = edit;
        std::string TSettings::*text = member;
        connect(edit, &QLineEdit::textChanged, this, [this, field, text] {
            if (field == edtX || field == edtY)
                edtXChange(field);
            // The check may have put "640" there meanwhile.
            if (!showing_)
                settings_.*text = field->text().toStdString();
            if (field == edtDir)
                edtDirChange();
        });
    }
    for (const auto& [group, member] : radios_) {
        TRadioGroup* radios = group;
        int TSettings::*index = member;
        connect(group, &TRadioGroup::Click, this, [this, radios, index] {
            if (!showing_)
                settings_.*index = radios->ItemIndex();
            if (radios == rgpFileOpen)
                rgpFileOpenClick();
        });
    }
    connect(cbxUsePreview, &QCheckBox::toggled, this, &TfrmEnviron::cbxUsePreviewClick);
    connect(cbxUseTexture, &QCheckBox::toggled, this, &TfrmEnviron::cbxUsePreviewClick);
    connect(Button1, &QPushButton::clicked, this, &TfrmEnviron::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TfrmEnviron::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TfrmEnviron::Button3Click);
}

void TfrmEnviron::ShowSettings()
{
    showing_ = true;
    for (const auto& [panel, member] : colours_)
        panel->SetColour(settings_.*member);
    for (const auto& [check, member] : checks_)
        check->setChecked(settings_.*member);
    for (const auto& [edit, member] : texts_)
        edit->setText(QString::fromStdString(settings_.*member));
    for (const auto& [group, member] : radios_)
        group->SetItemIndex(settings_.*member);
    showing_ = false;
    // A control already in its state runs no handler; the rules must hold all the same.
    cbxUsePreviewClick();
    edtDir->setEnabled(rgpFileOpen->ItemIndex() == 1);
    // The check of a template size may have replaced a text while the controls were filled.
    settings_.Xsize = edtX->text().toStdString();
    settings_.Ysize = edtY->text().toStdString();
}

void TfrmEnviron::LoadSettings()
{
    TPlatformSink sink(platform_);
    try {
        settings_ = LoadSettingsFile(iniPath_, &sink);
    } catch (const TReadError& error) {
        platform_.MessageBox(TMsgKind::Error, CoreText(error.what()), TButtons::Ok);
    }
    ShowSettings();
}

void TfrmEnviron::SaveSettings()
{
    // Runs as every way of closing the dialog ends: a failure must not take the program down.
    RunCommand(&platform_, [this] {
        try {
            SaveSettingsFile(settings_, iniPath_);
        } catch (const TWriteError& error) {
            platform_.MessageBox(TMsgKind::Error, CoreText(error.what()), TButtons::Ok);
        }
    });
}

void TfrmEnviron::pnlBackColClick(TColourPanel* panel)
{
    TColour colour = panel->Colour();
    if (!platform_.ColourDialog(colour))
        return;
    panel->SetColour(colour);
    for (const auto& [candidate, member] : colours_)
        if (candidate == panel)
            settings_.*member = colour;
}

void TfrmEnviron::Button1Click()
{
    TFileDialog dialog;
    dialog.Filter = tr("アプリケーション(*.exe)|*.exe");
    dialog.FilterIndex = 1;
    if (platform_.OpenFileDialog(dialog))
        edtPaint->setText(dialog.FileName);
}

void TfrmEnviron::edtXChange(QLineEdit* field)
{
    const QString text = field->text();
    int value = 0;
    if (text.isEmpty() || TemplateSize(text.toStdString(), value))
        return;
    platform_.MessageBox(TMsgKind::Error,
                         text + QString::fromUtf8(kNotANumber.data(), kNotANumber.size()),
                         TButtons::Ok);
    field->setText(QStringLiteral("640"));
}

void TfrmEnviron::cbxUsePreviewClick()
{
    const bool enabled = cbxUsePreview->isChecked();
    for (QWidget* control : std::initializer_list<QWidget*>{rgpFrame, rgpFlatFrame, rgpFlat,
                                                            rgpViewMove, cbxUseTexture})
        control->setEnabled(enabled);
    rgpTextureStock->setEnabled(enabled && cbxUseTexture->isChecked());
}

void TfrmEnviron::rgpFileOpenClick()
{
    if (rgpFileOpen->ItemIndex() == 1) {
        edtDir->setEnabled(true);
        edtOpenDir->setText(edtDir->text());
    } else if (rgpFileOpen->ItemIndex() == 0) {
        edtDir->setEnabled(false);
    }
}

void TfrmEnviron::edtDirChange()
{
    if (rgpFileOpen->ItemIndex() == 1)
        edtOpenDir->setText(edtDir->text());
}

void TfrmEnviron::Button2Click()
{
    SaveSettings();
    accept();
}

void TfrmEnviron::Button3Click()
{
    LoadSettings();
    reject();
}

void TfrmEnviron::done(int result)
{
    SaveSettings();
    QDialog::done(result);
}

void TfrmEnviron::showEvent(QShowEvent* event)
{
    // Another window may have remembered a new open folder since the dialog was last shown.
    ShowSettings();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

void TfrmEnviron::keyPressEvent(QKeyEvent* event)
{
    // Esc presses the cancel button, which drops the edits.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        Button3->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace kalvo
