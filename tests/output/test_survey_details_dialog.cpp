// The survey details dialog gives back what it was given, refuses details no survey file can hold
// with the reason in the dialog, refuses control characters and non-numbers as they are typed or
// pasted, takes typed dates, and names every control for accessibility tools. With
// SPEOMARK_DETAILS_SCREENSHOT set to a file name it also saves a picture of itself there (the
// user guide's).
#include "widgets/Language.h"
#include "output/ui/SurveyDetailsDialog.h"
#include "project/ProjectFile.h"
#include "support/TestFiles.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

namespace {

const ProjectContents &labelsProject()
{
    static const ProjectContents project =
        ProjectFile::read(TestFiles::dataPath(QStringLiteral("formats/labels-details.sprj")));
    return project;
}

} // namespace

class SurveyDetailsDialogTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { Language::apply(Language::systemLanguage()); } // as the program starts
    void givesBackWhatItWasGiven();
    void refusesWhatNoFileCanHold_data();
    void refusesWhatNoFileCanHold();
    void namesEveryControl();
    void typingIsRefusedOrMarked_data();
    void typingIsRefusedOrMarked();
};

void SurveyDetailsDialogTest::givesBackWhatItWasGiven()
{
    const SurveyDetails details = labelsProject().details();
    const QStringList choices = SurveyDetailsDialog::entranceChoices(labelsProject().stations);
    // Each stored name once, in table order; the unlabelled station by its index.
    QCOMPARE(choices, (QStringList{"Вход", "St 12", "1.5", "St_12", "вход", "Очень длинное имя", "Очень длинное эхо", "8"}));
    SurveyDetailsDialog dialog(details, choices);
    QCOMPARE(dialog.details(), details);
    QCOMPARE(SurveyDetailsDialog(SurveyDetails(), choices).details(), SurveyDetails());
    // An entrance no longer among the stations is kept rather than dropped.
    SurveyDetails gone = details;
    gone.entrance = QStringLiteral("Старый вход");
    QCOMPARE(SurveyDetailsDialog(gone, choices).details(), gone);
    // Numbers no control shows, and more digits than a field needs, come back to the last bit.
    SurveyDetails hidden = details;
    hidden.north = NorthReference::True;
    hidden.declinationDeg = 3.14159265358979312;
    hidden.entranceHasCoordinates = false;
    hidden.entranceEast = 1234.56789012345678;
    QCOMPARE(SurveyDetailsDialog(hidden, choices).details(), hidden);

    if (qEnvironmentVariableIsSet("SPEOMARK_DETAILS_SCREENSHOT")) {
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(dialog.grab().save(qEnvironmentVariable("SPEOMARK_DETAILS_SCREENSHOT")));
    }
}

void SurveyDetailsDialogTest::refusesWhatNoFileCanHold_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("problem");
    QTest::newRow("a quote in the name") << "cave" << "Пещера \"Сон\"" << "не могут хранить двойную кавычку";
    QTest::newRow("an unknown role") << "role" << "tape cook" << "«cook» — не роль";
    QTest::newRow("a declination from nowhere") << "auto" << "" << "нужны дата съёмки и координаты входа";
    QTest::newRow("fine") << "cave" << "Пещера «Сон»" << "";
}

void SurveyDetailsDialogTest::refusesWhatNoFileCanHold()
{
    QFETCH(QString, control);
    QFETCH(QString, text);
    QFETCH(QString, problem);
    SurveyDetailsDialog dialog(labelsProject().details(), SurveyDetailsDialog::entranceChoices(labelsProject().stations));
    if (control == QLatin1String("cave"))
        dialog.caveNameEdit->setText(text);
    else if (control == QLatin1String("role"))
        dialog.teamTable->item(0, 1)->setText(text);
    else
        dialog.coordinatesBox->setChecked(false), dialog.magneticAutoButton->setChecked(true);
    dialog.buttons->button(QDialogButtonBox::Ok)->click();
    QCOMPARE(dialog.result() == QDialog::Accepted, problem.isEmpty());
    QCOMPARE(dialog.problemLabel->isHidden(), problem.isEmpty());
    QVERIFY2(dialog.problemLabel->text().contains(problem), qPrintable(dialog.problemLabel->text()));
}

void SurveyDetailsDialogTest::namesEveryControl()
{
    SurveyDetailsDialog dialog(labelsProject().details(), {});
    int controls = 0;
    for (QWidget *widget : dialog.findChildren<QWidget *>()) {
        const bool control = qobject_cast<QLineEdit *>(widget) || qobject_cast<QAbstractButton *>(widget) ||
                             qobject_cast<QComboBox *>(widget) || qobject_cast<QAbstractSpinBox *>(widget) ||
                             qobject_cast<QTableWidget *>(widget);
        // The spin boxes' own line edits, the table's header buttons and the calendar's buttons
        // belong to their owners.
        bool inCalendar = false;
        for (QWidget *up = widget->parentWidget(); up; up = up->parentWidget())
            inCalendar = inCalendar || up->inherits("QCalendarWidget");
        if (!control || inCalendar || qobject_cast<QAbstractSpinBox *>(widget->parentWidget()) ||
            widget->parentWidget()->inherits("QHeaderView") || widget->inherits("QTableCornerButton"))
            continue;
        ++controls;
        QVERIFY2(!widget->accessibleName().isEmpty(), widget->metaObject()->className());
    }
    QVERIFY(controls >= 20);
}

void SurveyDetailsDialogTest::typingIsRefusedOrMarked_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("paste"); // else typed over the whole text
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("text"); // the field's text afterwards
    QTest::addColumn<QString>("problem"); // said at once when OK is taken, else when OK is pressed
    QTest::addColumn<bool>("accepted");
    QTest::newRow("0x1A pasted into the name") << "cave" << true << QString::fromLatin1("ok\x1a*units tape feet")
                                               << "Учебная пещера" << "(поле: название пещеры)" << true;
    QTest::newRow("a line break pasted into the source")
        << "source" << true << "C:\\Scans\n*fix A1 1 2 3" << "Лист 3, архив клуба" << "(поле: источник сканов)" << true;
    QTest::newRow("a letter in the easting")
        << "east" << false << "12a" << "12" << "Координата на восток: здесь допустимо только число" << true;
    QTest::newRow("the easting emptied") << "east" << false << "" << "" << "Координата на восток: это не число." << false;
    QTest::newRow("half an exponent") << "north" << false << "4.5e" << "4.5e" << "на север: это не число." << false;
    QTest::newRow("a comma") << "north" << false << "4500000,5" << "4500000,5" << "" << true;
    QTest::newRow("a point in the EPSG code") << "epsg" << false << "32637." << "32637"
                                              << "Код EPSG: здесь допустимо только целое число." << true;
    QTest::newRow("an unknown EPSG code") << "epsg" << false << "999999" << "999999" << "EPSG:999999 — не система" << false;
    // 15 July 2023 typed over the date shown (a date edit kept its year then).
    QTest::newRow("ISO date") << "date" << false << "2023-07-15" << "2023-07-15" << "" << true;
    QTest::newRow("day first") << "date" << false << "15.07.2023" << "15.07.2023" << "" << true;
    QTest::newRow("no such day") << "date" << false << "2023-02-30" << "2023-02-30" << "не дата" << false;
    QTest::newRow("letters") << "date" << false << "July 2023" << " 2023" << "не дата" << false;
}

void SurveyDetailsDialogTest::typingIsRefusedOrMarked()
{
    QFETCH(QString, control);
    QFETCH(bool, paste);
    QFETCH(QString, input);
    QFETCH(QString, text);
    QFETCH(QString, problem);
    QFETCH(bool, accepted);
    SurveyDetailsDialog dialog(labelsProject().details(), SurveyDetailsDialog::entranceChoices(labelsProject().stations));
    const QHash<QString, QLineEdit *> edits{{"cave", dialog.caveNameEdit}, {"source", dialog.sourceEdit},
                                           {"east", dialog.eastEdit},      {"north", dialog.northEdit},
                                           {"epsg", dialog.epsgEdit},      {"date", dialog.dateEdit}};
    QLineEdit *edit = edits.value(control);
    if (paste) {
        QGuiApplication::clipboard()->setText(input);
        edit->end(false);
        edit->paste();
    } else {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, input);
    }
    QCOMPARE(edit->text(), text);
    if (accepted)
        QVERIFY2(dialog.problemLabel->text().contains(problem), qPrintable(dialog.problemLabel->text()));
    dialog.buttons->button(QDialogButtonBox::Ok)->click();
    QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
    QVERIFY2(dialog.problemLabel->text().contains(accepted ? QString() : problem), qPrintable(dialog.problemLabel->text()));
    if (control == QLatin1String("date") && accepted)
        QCOMPARE(dialog.details().date, QDate(2023, 7, 15));
}

QTEST_MAIN(SurveyDetailsDialogTest)
#include "test_survey_details_dialog.moc"
