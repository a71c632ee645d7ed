// The program in English: every window built after the English translation is installed, and
// the core's messages as they reach the user, must show no Japanese text.

#include "gui/bar_window.h"
#include "gui/environ_dialog.h"
#include "gui/info_window.h"
#include "gui/open_command.h"
#include "gui/temp_size_dialog.h"
#include "gui/translations.h"
#include "tests/gui/support/app_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <functional>

using namespace kalvo;
using namespace kalvo::test;

namespace {

// The windows to look at, one row each; a window that is added to the program gets a row here.
struct TWindowRow
{
    const char* Name;
    std::function<QWidget*(TAppFixture&)> Window;
};

const TWindowRow kWindows[] = {
    {"main", [](TAppFixture& app) -> QWidget* { return &app.Main(); }},
    {"preview", [](TAppFixture& app) -> QWidget* { return &app.Preview(); }},
    {"object", [](TAppFixture& app) -> QWidget* { return &app.Objects(); }},
    {"settings", [](TAppFixture& app) -> QWidget* { return app.Shell().Environ; }},
    {"size", [](TAppFixture& app) -> QWidget* { return app.Shell().TempSize; }},
    {"information", [](TAppFixture& app) -> QWidget* { return app.Shell().Info; }},
    {"wait", [](TAppFixture& app) -> QWidget* { return app.Shell().Bar; }},
    {"template",
     [](TAppFixture& app) -> QWidget* {
         app.Open(SourcePath(QStringLiteral("data/samples/cube.dxf")), kFilterDxf);
         TfrmObj& objects = app.Objects();
         if (objects.ItemCount() == 0)
             return nullptr;
         objects.SetItemSelected(0, true);
         app.ModalAnswers.push_back(true); // the size dialog
         objects.mnuMaptClick();
         return objects.TemplateWindowOf(*objects.ItemModel(0));
     }},
};

// Controls whose texts are Japanese on purpose in every language: the language choice names
// each language in itself, and its note says in both when the choice takes effect.
const QStringList kBilingual = {QStringLiteral("rgpLanguage"), QStringLiteral("lblLanguageNote")};

bool IsBilingual(const QWidget* widget)
{
    for (const QWidget* at = widget; at != nullptr; at = at->parentWidget())
        if (kBilingual.contains(at->objectName()))
            return true;
    return false;
}

void AddActionTexts(const QList<QAction*>& actions, const QString& where, QStringList& texts)
{
    for (const QAction* action : actions) {
        if (!action->isVisible() || action->isSeparator())
            continue;
        texts << where + QStringLiteral(" / action: ") + action->text();
        if (!action->toolTip().isEmpty())
            texts << where + QStringLiteral(" / tip: ") + action->toolTip();
        if (action->menu() != nullptr)
            AddActionTexts(action->menu()->actions(), where + " / " + action->text(), texts);
    }
}

// Whether widget shows when window does, counting the pages of tabs and other stacks as shown:
// a user reaches them with one click.
bool Reachable(const QWidget* widget, const QWidget* window)
{
    for (const QWidget* at = widget; at != nullptr && at != window; at = at->parentWidget())
        if (at->isHidden() && qobject_cast<const QStackedWidget*>(at->parentWidget()) == nullptr)
            return false;
    return true;
}

// Every text a user can see in window and its controls: titles, captions, items, headers,
// tool tips, and the menus it carries, its context menus and those it lends the main window
// included (hidden menus and controls left out).
QStringList VisibleTexts(QWidget* window)
{
    QStringList texts;
    texts << QStringLiteral("title: ") + window->windowTitle();
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* widget : widgets) {
        if (IsBilingual(widget))
            continue;
        if (auto* menu = qobject_cast<QMenu*>(widget)) {
            if (menu->menuAction()->isVisible()) {
                texts << QStringLiteral("menu: ") + menu->title();
                AddActionTexts(menu->actions(), QStringLiteral("menu ") + menu->title(), texts);
            }
            continue;
        }
        if (widget != window && !Reachable(widget, window))
            continue;
        const QString where = widget->objectName().isEmpty()
                                  ? QString::fromLatin1(widget->metaObject()->className())
                                  : widget->objectName();
        auto add = [&](const char* kind, const QString& text) {
            if (!text.trimmed().isEmpty())
                texts << where + " / " + kind + ": " + text;
        };
        add("tip", widget->toolTip());
        add("status tip", widget->statusTip());
        if (auto* label = qobject_cast<QLabel*>(widget))
            add("label", label->text());
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            add("button", button->text());
        if (auto* group = qobject_cast<QGroupBox*>(widget))
            add("group", group->title());
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            add("placeholder", edit->placeholderText());
        if (auto* tabs = qobject_cast<QTabWidget*>(widget))
            for (int i = 0; i < tabs->count(); ++i) {
                add("tab", tabs->tabText(i));
                add("tab tip", tabs->tabToolTip(i));
            }
        if (auto* combo = qobject_cast<QComboBox*>(widget))
            for (int i = 0; i < combo->count(); ++i)
                add("item", combo->itemText(i));
        if (auto* tree = qobject_cast<QTreeWidget*>(widget); tree && !tree->isHeaderHidden())
            for (int i = 0; i < tree->columnCount(); ++i)
                add("header", tree->headerItem()->text(i));
        AddActionTexts(widget->actions(), where, texts);
    }
    return texts;
}

// Hiragana, katakana (full and half width), kanji, and the full-width forms and punctuation
// that only Japanese text uses.
const QRegularExpression
    kJapanese(QStringLiteral("[\\x{3000}-\\x{30ff}\\x{3400}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));

QStringList Untranslated(const QStringList& texts)
{
    QStringList left;
    for (const QString& text : texts)
        if (text.contains(kJapanese))
            left << text;
    return left;
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TranslationTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(InstallTranslations(*qApp, TLanguage::English)); }
    void cleanupTestCase() { InstallTranslations(*qApp, TLanguage::Japanese); }

    void EveryWindowShowsEnglish()
    {
        for (const TWindowRow& row : kWindows) {
            TAppFixture app;
            QWidget* window = row.Window(app);
            QVERIFY2(window != nullptr, row.Name);
            const QStringList texts = VisibleTexts(window);
            QVERIFY2(texts.size() > 1, row.Name); // a window with nothing to read proves nothing
            const QStringList left = Untranslated(texts);
            QVERIFY2(left.isEmpty(),
                     qPrintable(QString("%1 window:\n  %2").arg(row.Name, left.join("\n  "))));
        }
    }

    void MessagesOfTheCoreShowInEnglish()
    {
        // Each broken file makes a reader of the core speak; its words, joined with the file's
        // details, must reach the message box translated.
        struct TCase
        {
            const char* Name;
            QByteArray Bytes;
            int Filter;
        };
        const TCase cases[] = {
            {"not.dxf", "hello\n", kFilterDxf},
            {"not.rok", "hello\n", kFilterRok},
            {"short.rok", "ROKU4 test\nPALC0\n1\n0\n", kFilterRok},
            {"not.rds", "hello\n", kFilterRds},
        };
        for (const TCase& test : cases) {
            TAppFixture app;
            const QString path = app.Dir.filePath(test.Name);
            WriteFile(path, test.Bytes);
            app.Open(path, test.Filter);
            QVERIFY2(!app.Platform.Messages.empty(), test.Name);
            for (const auto& message : app.Platform.Messages)
                QVERIFY2(!message.Text.contains(kJapanese),
                         qPrintable(QString("%1: %2").arg(test.Name, message.Text)));
        }

        // The settings file's own complaint, shown when the settings dialog reads it.
        TAppFixture app("[Template]\r\nXsize=12a\r\n");
        QCOMPARE(app.Platform.Messages.size(), size_t{1});
        QCOMPARE(app.Platform.Messages[0].Text, QString("12a is not a number"));
    }
};

QTEST_MAIN(TranslationTest)
#include "translation_test.moc"
