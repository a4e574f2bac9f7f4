#pragma once

#include "survey/SurveyDetails.h"

#include <QDialog>
#include <QHash>

class NumberValidator;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTableWidget;
class QToolButton;
class StationTable;

// File > Survey Details: the cave's name, the survey date, the team with their roles, the
// instruments, the scans' source, which north the plan's arrow shows, and the entrance station
// with its coordinates. It starts from the details given and offers the stations' names for the
// entrance; OK is refused, with the reason shown in the dialog, while the details could not be
// written into a survey file. Text fields refuse a line break or another control character as it
// is typed or pasted, and number fields anything that cannot make a number, each saying why; a
// number field that does not hold a value is marked with the reason. The date is typed as
// 2023-07-15 (or picked from a calendar). OK without a change gives back the details given, to
// the last bit. Every control has an accessible name (its caption or label).
class SurveyDetailsDialog : public QDialog
{
    Q_OBJECT
public:
    SurveyDetailsDialog(const SurveyDetails &details, const QStringList &stationNames, QWidget *parent = nullptr);

    // The names the entrance can be chosen from: each station's stored name (its label, or its
    // index when it has none), once, in table order.
    static QStringList entranceChoices(const StationTable &stations);

    // The details as the controls stand; those given when no control has changed.
    SurveyDetails details() const;
    // Why OK is refused now; empty when it is not.
    QString problem() const;

    void accept() override;

    QLineEdit *caveNameEdit = nullptr;
    QCheckBox *dateKnownBox = nullptr;
    QLineEdit *dateEdit = nullptr;
    QToolButton *calendarButton = nullptr;
    QTableWidget *teamTable = nullptr;
    QLineEdit *tapeEdit = nullptr;
    QLineEdit *compassEdit = nullptr;
    QLineEdit *clinoEdit = nullptr;
    QLineEdit *sourceEdit = nullptr;
    QRadioButton *magneticButton = nullptr;
    QRadioButton *magneticAutoButton = nullptr;
    QRadioButton *trueButton = nullptr;
    QRadioButton *gridButton = nullptr;
    QLineEdit *declinationEdit = nullptr;
    QComboBox *entranceCombo = nullptr;
    QCheckBox *coordinatesBox = nullptr;
    QLineEdit *eastEdit = nullptr;
    QLineEdit *northEdit = nullptr;
    QLineEdit *altitudeEdit = nullptr;
    QLineEdit *epsgEdit = nullptr;
    QLabel *problemLabel = nullptr;
    QDialogButtonBox *buttons = nullptr;

    // The date typed as 2023-07-15, 2023.07.15 or 15.07.2023; invalid when the text is none.
    static QDate typedDate(const QString &text);

private:
    void addTeamRow(const TeamMember &member);
    void updateEnabled();
    void showProblem(const QString &why);
    // The number fields in use, with their checks.
    QList<QPair<QLineEdit *, NumberValidator *>> numbersInUse() const;
    void markNumbers();
    SurveyDetails fromControls() const;

    SurveyDetails m_given;
    SurveyDetails m_shown; // what the controls gave before any change
    QHash<QLineEdit *, NumberValidator *> m_numbers;
};
