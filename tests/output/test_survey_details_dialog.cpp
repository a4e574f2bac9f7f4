// The survey details dialog gives back what it was given, refuses details no survey file can hold
// with the reason in the dialog, and names every control for accessibility tools. With
// SPEOMARK_DETAILS_SCREENSHOT set to a file name it also saves a picture of itself there (the
// user guide's).
#include "app/ui/Language.h"
#include "output/ui/SurveyDetailsDialog.h"
#include "project/ProjectFile.h"
#include "support/TestFiles.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
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
        // The spin boxes' own line edits and the table's header buttons belong to their owners.
        if (!control || qobject_cast<QAbstractSpinBox *>(widget->parentWidget()) ||
            widget->parentWidget()->inherits("QHeaderView") || widget->inherits("QTableCornerButton"))
            continue;
        ++controls;
        QVERIFY2(!widget->accessibleName().isEmpty(), widget->metaObject()->className());
    }
    QVERIFY(controls >= 20);
}

QTEST_MAIN(SurveyDetailsDialogTest)
#include "test_survey_details_dialog.moc"
