// One language at a time: every text the windows show is English, or Russian, never a mix; the
// translation is complete and keeps what its texts carry; captions fit their buttons; and what
// the window writes is the same, byte for byte, whichever language it speaks.
#include "survey/AnsiText.h"
#include "survey/CountedText.h"
#include "app/HelpGuide.h"
#include "app/ui/HelpWindow.h"
#include "widgets/Language.h"
#include "widgets/Panel.h"
#include "app/ui/SpeomarkWindows.h"
#include "output/SurveyText.h"
#include "output/ui/SurveyDetailsDialog.h"
#include "stations/ui/StationBox.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"
#include "views/ui/PdfPageDialog.h"
#include "views/ui/ViewStrip.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <memory>

using Applied = Language::Applied;
Q_DECLARE_METATYPE(Language::Choice)
Q_DECLARE_METATYPE(Language::Applied)

namespace {

const QString Examples = QStringLiteral(SPEOMARK_EXAMPLES);

// Words that stay Latin in the Russian interface: the names of programs, file formats and codes,
// keys, the command that installs Survex, the Survex team roles typed into the survey details,
// and the name of the English language in its own language.
const QStringList LatinNames{"Speomark", "Lumaro", "Survex", "survex",   "Therion",     "Compass",  "cavern",
                             "PDF",      "BMP",    "EPSG",   "UTM",      "Windows",     "OK",       "Esc",
                             "Ctrl",     "Backspace", "Shift", "sudo",   "apt",    "get",      "install",     "English",  "tape",
                             "compass",  "clino",  "notes",  "pictures", "instruments", "assistant",
                             "Aven",     "aven",   "survexport", "extend", "Google",      "Earth",    "KML",
                             "GPX",      "GPS",    "DXF",    "SVG",      "JSON",        "PLT",      "CAD",
                             "espec"};

bool hasCyrillic(const QString &text)
{
    for (const QChar c : text)
        if (c.script() == QChar::Script_Cyrillic)
            return true;
    return false;
}

// Latin words (two letters or more) that are not names. File names and patterns (cave.sprj,
// *.bmp) are the caver's or the formats'.
QStringList latinWords(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("[^\\s(]*\\.[A-Za-z0-9]{2,4}\\b|\\*")));
    QStringList words;
    QRegularExpressionMatchIterator it = QRegularExpression(QStringLiteral("[A-Za-z]{2,}")).globalMatch(text);
    while (it.hasNext()) {
        const QString word = it.next().captured();
        if (!LatinNames.contains(word))
            words.append(word);
    }
    return words;
}

struct Shown
{
    QString where;
    QString text;
};

void add(QList<Shown> &found, const QObject *object, const QString &text)
{
    if (!text.trimmed().isEmpty())
        found.append(
            {QStringLiteral("%1 %2").arg(QString::fromLatin1(object->metaObject()->className()), object->objectName()),
             text});
}

// Every text a caver can see or hear in and under `root`: captions, titles, tips, accessible
// names, headers, menus, suffixes. Station data (table cells, the survey text, the entrance
// choices) are the caver's own and left out.
QList<Shown> textsOf(QWidget *root, const QList<const QWidget *> &skipped)
{
    QList<Shown> found;
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    for (QWidget *w : std::as_const(widgets)) {
        if (skipped.contains(w))
            continue;
        if (w->isWindow() || qobject_cast<QDockWidget *>(w))
            add(found, w, w->windowTitle());
        for (const QString &text :
             {w->toolTip(), w->accessibleName(), w->accessibleDescription(), w->statusTip(), w->whatsThis()})
            add(found, w, text);
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            add(found, w, button->text());
        if (auto *label = qobject_cast<QLabel *>(w))
            add(found, w, label->text());
        if (auto *group = qobject_cast<QGroupBox *>(w))
            add(found, w, group->title());
        if (auto *panel = qobject_cast<Panel *>(w))
            add(found, w, panel->caption());
        if (auto *edit = qobject_cast<QLineEdit *>(w))
            add(found, w, edit->placeholderText());
        if (auto *spin = qobject_cast<QSpinBox *>(w))
            add(found, w, spin->prefix() + spin->suffix());
        if (auto *spin = qobject_cast<QDoubleSpinBox *>(w))
            add(found, w, spin->prefix() + spin->suffix());
        if (auto *combo = qobject_cast<QComboBox *>(w))
            for (int i = 0; i < combo->count(); ++i)
                if (combo->itemData(i).toString().isEmpty()) // the dialog's own words, not a station
                    add(found, w, combo->itemText(i));
        if (auto *tabs = qobject_cast<QTabWidget *>(w))
            for (int i = 0; i < tabs->count(); ++i)
                add(found, w, tabs->tabText(i) + QLatin1Char(' ') + tabs->tabToolTip(i));
        if (auto *view = qobject_cast<QAbstractItemView *>(w); view && view->model())
            for (int i = 0; i < view->model()->columnCount(); ++i)
                add(found, w, view->model()->headerData(i, Qt::Horizontal).toString());
        if (auto *text = qobject_cast<QPlainTextEdit *>(w))
            add(found, w, text->toPlainText());
        if (auto *menu = qobject_cast<QMenu *>(w))
            add(found, w, menu->title());
    }
    for (const QAction *action : root->findChildren<QAction *>())
        for (const QString &text : {action->text(), action->toolTip(), action->statusTip(), action->whatsThis()})
            add(found, action, text);
    return found;
}

// The program's windows in one language, with a project open, every secondary window made and
// a few messages asked for.
struct Windows
{
    explicit Windows(Applied language)
    {
        Language::apply(language);
        windows = std::make_unique<SpeomarkWindows>();
        dialogs = installScriptedDialogs(window());
        window().show(); // styled as on the screen
        if (!QTest::qWaitForWindowExposed(&window()))
            qFatal("the window was never shown");
        window().openProject(QDir(Examples).filePath(QStringLiteral("uchebnaya.sprj")));
        while (window().imageLoader().isBusy())
            window().imageLoader().waitForFinished();
    }
    ~Windows() { window().document().setModified(false); }
    MainWindow &window() { return windows->mainWindow; }

    std::unique_ptr<SpeomarkWindows> windows;
    ScriptedDialogs *dialogs = nullptr;
};

} // namespace

class LanguagesTest : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { Language::apply(Applied::English); }

    void aChoiceGivesALanguage_data();
    void aChoiceGivesALanguage();
    void theChoiceIsRemembered();
    void theLanguageMenuKeepsTheChoiceForTheNextStart();
    void countsTakeTheLanguagesForms_data();
    void countsTakeTheLanguagesForms();
    void theTranslationIsCompleteAndKeepsWhatItsTextsCarry();
    void everyWindowSpeaksOneLanguage_data();
    void everyWindowSpeaksOneLanguage();
    void eachLanguageHasItsGuide();
    void guidesNameEveryCommandWithItsKeys_data();
    void guidesNameEveryCommandWithItsKeys();
    void captionsFitTheirButtons_data();
    void captionsFitTheirButtons();
    void filesAreTheSameInEitherLanguage();
};

void LanguagesTest::aChoiceGivesALanguage_data()
{
    QTest::addColumn<Language::Choice>("choice");
    QTest::addColumn<QStringList>("desktop");
    QTest::addColumn<Language::Applied>("language");
    using C = Language::Choice;
    QTest::newRow("system, Russian desktop") << C::System << QStringList{"ru-RU", "ru"} << Applied::Russian;
    QTest::newRow("system, plain ru") << C::System << QStringList{"ru"} << Applied::Russian;
    QTest::newRow("system, Russian second") << C::System << QStringList{"en-GB", "ru-RU"} << Applied::English;
    QTest::newRow("system, Ukrainian") << C::System << QStringList{"uk-UA", "ru"} << Applied::English;
    QTest::newRow("system, German") << C::System << QStringList{"de-DE"} << Applied::English;
    QTest::newRow("system, nothing said") << C::System << QStringList() << Applied::English;
    QTest::newRow("English on a Russian desktop") << C::English << QStringList{"ru-RU"} << Applied::English;
    QTest::newRow("Russian on a German desktop") << C::Russian << QStringList{"de-DE"} << Applied::Russian;
}

void LanguagesTest::aChoiceGivesALanguage()
{
    QFETCH(Language::Choice, choice);
    QFETCH(QStringList, desktop);
    QFETCH(Language::Applied, language);
    QCOMPARE(Language::resolve(choice, desktop), language);
}

void LanguagesTest::theChoiceIsRemembered()
{
    for (const Language::Choice choice :
         {Language::Choice::Russian, Language::Choice::English, Language::Choice::System}) {
        Language::setChosen(choice);
        QCOMPARE(Language::chosen(), choice);
    }
    // A value from elsewhere (a newer program, a hand edit) falls back to the desktop's language.
    QSettings().setValue(QStringLiteral("language"), QStringLiteral("de"));
    QCOMPARE(Language::chosen(), Language::Choice::System);
    QSettings().remove(QStringLiteral("language"));
}

void LanguagesTest::theLanguageMenuKeepsTheChoiceForTheNextStart()
{
    Windows w(Applied::Russian);
    auto *menu = w.window().findChild<QMenu *>(QStringLiteral("languageMenu"));
    QVERIFY(menu);
    const QList<QAction *> items = menu->actions();
    QCOMPARE(items.size(), 3);
    QCOMPARE(items[1]->text(), QStringLiteral("English"));
    QCOMPARE(items[2]->text(), QStringLiteral("Русский"));
    // English takes effect at the next start, and says so in English.
    items[1]->trigger();
    QCOMPARE(Language::chosen(), Language::Choice::English);
    QCOMPARE(w.dialogs->messages(), QStringList{"Speomark will speak this language from its next start."});
    QVERIFY(items[1]->isChecked() && !items[2]->isChecked());
    // Russian again: the windows already speak it, so there is nothing to say.
    items[2]->trigger();
    QCOMPARE(Language::chosen(), Language::Choice::Russian);
    QCOMPARE(w.dialogs->messages().size(), 1);
    QSettings().remove(QStringLiteral("language"));
}

void LanguagesTest::countsTakeTheLanguagesForms_data()
{
    QTest::addColumn<Language::Applied>("language");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("text");
    QTest::newRow("en 1") << Applied::English << 1 << "1 leg";
    QTest::newRow("en 0") << Applied::English << 0 << "0 legs";
    QTest::newRow("en 21") << Applied::English << 21 << "21 legs";
    QTest::newRow("ru 1") << Applied::Russian << 1 << "1 замер";
    QTest::newRow("ru 3") << Applied::Russian << 3 << "3 замера";
    QTest::newRow("ru 11") << Applied::Russian << 11 << "11 замеров";
    QTest::newRow("ru 21") << Applied::Russian << 21 << "21 замер";
    QTest::newRow("ru 24") << Applied::Russian << 24 << "24 замера";
}

void LanguagesTest::countsTakeTheLanguagesForms()
{
    QFETCH(Language::Applied, language);
    QFETCH(int, count);
    QFETCH(QString, text);
    Language::apply(language);
    QCOMPARE(countedText("CheckReport", "%n legs", "%n leg", count), text);
}

// Straight from the .ts: a translation that is missing, unfinished, drops a %1 or a file
// pattern, loses the spaces and line ends its text is pasted with, or leaves an English word,
// is a fault a caver would meet.
void LanguagesTest::theTranslationIsCompleteAndKeepsWhatItsTextsCarry()
{
    QFile file(QStringLiteral(SPEOMARK_TRANSLATION));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QString context, source;
    bool numerus = false;
    QStringList translations;
    QStringList faults;
    int messages = 0;
    const QRegularExpression carried(QStringLiteral("%[0-9n]|\\(\\*[^)]*\\)|;;"));
    const auto carriedBy = [&](const QString &text) {
        QStringList marks;
        for (QRegularExpressionMatchIterator it = carried.globalMatch(text); it.hasNext();)
            marks.append(it.next().captured());
        marks.sort();
        return marks;
    };
    const auto edges = [](const QString &text) {
        const qsizetype start = text.size() - QString(text).remove(QRegularExpression(QStringLiteral("^\\s+"))).size();
        const qsizetype end = text.size() - QString(text).remove(QRegularExpression(QStringLiteral("\\s+$"))).size();
        return text.left(start) + QLatin1Char('|') + text.right(end);
    };
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.isStartElement() && xml.name() == QLatin1String("message")) {
            numerus = xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
            translations.clear();
        } else if (xml.isStartElement() && xml.name() == QLatin1String("source"))
            source = xml.readElementText();
        else if (xml.isStartElement() && xml.name() == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            if (!type.isEmpty())
                faults.append(QStringLiteral("%1 \"%2\": %3").arg(context, source, type));
            if (!numerus)
                translations.append(xml.readElementText());
        } else if (xml.isStartElement() && xml.name() == QLatin1String("numerusform"))
            translations.append(xml.readElementText());
        else if (xml.isEndElement() && xml.name() == QLatin1String("message")) {
            ++messages;
            const QString where = QStringLiteral("%1 \"%2\"").arg(context, source);
            if (translations.size() != (numerus ? 3 : 1))
                faults.append(where + QStringLiteral(": %1 forms").arg(translations.size()));
            for (const QString &russian : std::as_const(translations)) {
                if (russian.isEmpty())
                    faults.append(where + QStringLiteral(": empty"));
                else if (carriedBy(russian) != carriedBy(source))
                    faults.append(where + QStringLiteral(": placeholders in \"%1\"").arg(russian));
                else if (edges(russian) != edges(source))
                    faults.append(where + QStringLiteral(": spaces or line ends in \"%1\"").arg(russian));
                else if (!latinWords(russian).isEmpty())
                    faults.append(where + QStringLiteral(": English in \"%1\"").arg(russian));
            }
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY(messages > 400);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

void LanguagesTest::everyWindowSpeaksOneLanguage_data()
{
    QTest::addColumn<Language::Applied>("language");
    QTest::newRow("English") << Applied::English;
    QTest::newRow("Russian") << Applied::Russian;
}

void LanguagesTest::everyWindowSpeaksOneLanguage()
{
    QFETCH(Language::Applied, language);
    Windows w(language);
    MainWindow &window = w.window();
    window.checks().showCheck();
    window.checks().show3d();
    SurveyDetails details;
    details.caveName = QStringLiteral("Учебная");
    new SurveyDetailsDialog(details, SurveyDetailsDialog::entranceChoices(window.document().stations()), &window);
    new PdfPageDialog(&window, QStringLiteral("/caves/sheets.pdf"), {1200, 1200, 150}, 3, 300);
    // What the window says while measuring, after an edit, and in its questions and refusals.
    window.startMeasuring(ViewSide::Plan, MainWindow::MeasureKind::Scale);
    const QString measuring = window.statusBar()->currentMessage();
    window.stopMeasuring();
    window.findChild<QLineEdit *>(QStringLiteral("EditPlanOrientationAngle"))->setText(QStringLiteral("15"));
    window.document().setGridEntries(ViewSide::Plan, QStringLiteral("10"), QStringLiteral("0"));
    window.applyScale(ViewSide::Plan); // one of the two presses takes the entries and refuses them
    window.applyScale(ViewSide::Plan);
    window.document().setModified(true);
    window.closeProject(); // asks about the changes; the script says Cancel

    SpeomarkWindows &windows = *w.windows;
    QList<Shown> found = textsOf(&window, {});
    found += textsOf(&windows.textWindow, {windows.textWindow.textBox});
    // The Russian guide is today's text, names of buttons and all (its own test below).
    found +=
        textsOf(&windows.helpWindow, language == Applied::Russian ? QList<const QWidget *>{windows.helpWindow.guideBox}
                                                                  : QList<const QWidget *>());
    found.append({QStringLiteral("status bar"), measuring});
    for (const ScriptedDialogs::Shown &said : std::as_const(w.dialogs->shown))
        found.append({QStringLiteral("message"), said.caption + QLatin1Char('\n') + said.text});
    QVERIFY(found.size() > 300);
    QVERIFY(w.dialogs->messages().size() >= 2);

    QStringList wrong;
    for (const Shown &shown : std::as_const(found)) {
        if (language == Applied::English) {
            if (hasCyrillic(shown.text) && shown.text != QStringLiteral("Русский"))
                wrong.append(shown.where + QStringLiteral(": ") + shown.text);
        } else if (const QStringList words = latinWords(shown.text); !words.isEmpty()) {
            wrong.append(shown.where + QStringLiteral(": ") + shown.text + QStringLiteral(" [") + words.join(' ')
                         + ']');
        }
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1Char('\n'))));
}

void LanguagesTest::eachLanguageHasItsGuide()
{
    // English: the same nineteen lines, with no Russian in them.
    const QString english = HelpGuide::englishText();
    QCOMPARE(english.split(QStringLiteral("\r\n")).size(), 19);
    QVERIFY(!hasCyrillic(english));
    for (const Applied language : {Applied::English, Applied::Russian}) {
        // Each window shows its language's guide ...
        Windows windows(language);
        HelpWindow help;
        const QString guide = language == Applied::English ? english : AnsiText::decode(HelpGuide::text1251());
        QCOMPARE(help.guideBox->toPlainText(), QString(guide).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        // ... and every caption it quotes is one the caver sees in that language (the plan's
        // grid unlocked, so its button reads "OK" and the profile's still "Change").
        windows.window().findChild<QPushButton *>(QStringLiteral("Button1"))->click();
        QStringList captions;
        for (const Shown &shown : textsOf(&windows.window(), {}))
            captions.append(QString(shown.text).remove(QLatin1Char('&')));
        QRegularExpressionMatchIterator quoted = QRegularExpression(QStringLiteral("\"([^\"]+)\"")).globalMatch(guide);
        int count = 0;
        for (; quoted.hasNext(); ++count) {
            const QString caption = quoted.next().captured(1);
            // Undo's caption goes on with what it undoes.
            const bool shown = std::any_of(captions.begin(), captions.end(), [&](const QString &text) {
                return text == caption || text == caption + QStringLiteral("...")
                    || text.startsWith(caption + QLatin1Char(' '));
            });
            QVERIFY2(shown, qPrintable(caption));
        }
        QVERIFY(count > 20);
    }
}

void LanguagesTest::guidesNameEveryCommandWithItsKeys_data()
{
    QTest::addColumn<Language::Applied>("language");
    QTest::addColumn<QString>("guidePath"); // empty: the built-in guide of that language
    QTest::newRow("built-in, English") << Applied::English << QString();
    QTest::newRow("built-in, Russian") << Applied::Russian << QString();
    QTest::newRow("docs/user-guide.md") << Applied::English << QStringLiteral(SPEOMARK_USER_GUIDE);
}

// A command given a key (or a new key) and not written into the guides leaves the caver
// without it: each command with a key is named there as its menu names it, with every key
// as the menu shows it.
void LanguagesTest::guidesNameEveryCommandWithItsKeys()
{
    QFETCH(Language::Applied, language);
    QFETCH(QString, guidePath);
    Windows windows(language);
    QString guide;
    if (guidePath.isEmpty()) {
        guide = HelpWindow().guideBox->toPlainText();
    } else {
        QFile file(guidePath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        guide = QString::fromUtf8(file.readAll());
    }
    guide = guide.simplified(); // a caption may run over a line's end
    QStringList missing;
    int commands = 0;
    for (const QAction *action : windows.window().findChildren<QAction *>()) {
        if (action->shortcuts().isEmpty() || action->text().isEmpty())
            continue; // the arrow keys' nudges and Esc are keys without a command name
        ++commands;
        const QList<QObject *> shownIn = action->associatedObjects();
        const bool inMenu = std::any_of(shownIn.begin(), shownIn.end(),
                                        [](const QObject *object) { return qobject_cast<const QMenu *>(object); });
        QString caption = action->text().remove(QLatin1Char('&'));
        if (caption.endsWith(QStringLiteral("...")))
            caption.chop(3);
        if (inMenu && !guide.contains(caption))
            missing.append(caption);
        for (const QKeySequence &keys : action->shortcuts()) {
            // A whole key: "Shift+F8" is not found inside "Ctrl+Shift+F8", nor "F1" in "F10".
            const QString key = keys.toString(QKeySequence::NativeText);
            const QRegularExpression alone(QStringLiteral("(?<![\\w+])%1(?![\\w+])")
                                               .arg(QRegularExpression::escape(key)));
            if (!guide.contains(alone))
                missing.append(caption + QStringLiteral(": ") + key);
        }
    }
    QVERIFY(commands > 30);
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char('\n'))));
}

void LanguagesTest::captionsFitTheirButtons_data() { everyWindowSpeaksOneLanguage_data(); }

// The panels place their buttons at fixed sizes, so a longer word is cut off rather than making
// room for itself.
void LanguagesTest::captionsFitTheirButtons()
{
    QFETCH(Language::Applied, language);
    Windows w(language);
    // The captions some buttons change to, besides the one they show now.
    const QMap<QString, QStringList> changing{
        {QStringLiteral("Button1"), {ViewStrip::tr("OK"), ViewStrip::tr("Change")}},
        {QStringLiteral("Button2"), {ViewStrip::tr("OK"), ViewStrip::tr("Change")}},
        {QStringLiteral("ButtonAdd"), {StationBox::tr("Add"), StationBox::tr("OK")}}};
    QStringList cut;
    for (QAbstractButton *button : w.window().findChildren<QAbstractButton *>()) {
        // The room each kind of button leaves for its caption (beside the mark for radios and checks).
        const QStyle::SubElement contents = qobject_cast<QPushButton *>(button) ? QStyle::SE_PushButtonContents
            : qobject_cast<QRadioButton *>(button)                             ? QStyle::SE_RadioButtonContents
            : qobject_cast<QCheckBox *>(button)                                ? QStyle::SE_CheckBoxContents
                                                                               : QStyle::SE_CustomBase;
        if (contents == QStyle::SE_CustomBase || button->text().isEmpty() || button->parentWidget()->layout())
            continue;
        for (const QString &text : QStringList{button->text()} + changing.value(button->objectName())) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = text;
            const QRect room = button->style()->subElementRect(contents, &option, button);
            const int needed = button->fontMetrics().horizontalAdvance(QString(text).remove(QLatin1Char('&')));
            if (needed > room.width())
                cut.append(
                    QStringLiteral("%1 \"%2\": %3 > %4").arg(button->objectName(), text).arg(needed).arg(room.width()));
        }
    }
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
}

// Survey texts in every layout, the Therion and Compass files, the project and both pictures:
// the language of the window is in none of them.
void LanguagesTest::filesAreTheSameInEitherLanguage()
{
    QTemporaryDir folder;
    const auto writeEverything = [&](Applied language, const QString &prefix) {
        Windows w(language);
        MainWindow &window = w.window();
        const QString base = folder.filePath(prefix);
        for (const SurveyFormat format :
             {SurveyFormat::LumaroLabel, SurveyFormat::LumaroFromTo, SurveyFormat::Survex}) {
            window.document().setFormat(format);
            window.viewSurveyText();
            w.dialogs->answerFile(base + QString::number(int(format)));
            window.saveSurveyTextAs();
        }
        w.dialogs->answerFile(base + QStringLiteral("-therion"),
                              ExportFormats::filter(ExportFormat::Therion));
        window.saveSurveyTextAs();
        w.dialogs->answerFile(base + QStringLiteral("-compass"),
                              ExportFormats::filter(ExportFormat::Compass));
        window.saveSurveyTextAs();
        w.dialogs->answerFile(base + QStringLiteral(".sprj"));
        window.projects().saveAs();
        w.dialogs->answerFile(base + QStringLiteral("-plan.bmp"));
        window.savePicture(ViewSide::Plan);
        w.dialogs->answerFile(base + QStringLiteral("-profile.bmp"));
        window.savePicture(ViewSide::Profile);
        QCOMPARE(w.dialogs->messages(), QStringList());
    };
    writeEverything(Applied::English, QStringLiteral("en"));
    writeEverything(Applied::Russian, QStringLiteral("ru"));

    const QStringList written = QDir(folder.path()).entryList({QStringLiteral("en*")}, QDir::Files);
    QCOMPARE(written.size(), 8);
    for (const QString &english : written) {
        const QString russian = QStringLiteral("ru") + english.mid(2);
        QVERIFY2(QFile::exists(folder.filePath(russian)), qPrintable(russian));
        QVERIFY2(TestFiles::bytes(folder.filePath(english)) == TestFiles::bytes(folder.filePath(russian)),
                 qPrintable(english));
    }
}

QTEST_MAIN(LanguagesTest)
#include "test_languages.moc"
