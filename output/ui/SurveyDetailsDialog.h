#pragma once

#include "output/SurveyDetails.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QDialogButtonBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QTableWidget;
class StationTable;

// File > Survey Details: the cave's name, the survey date, the team with their roles, the
// instruments, the scans' source, which north the plan's arrow shows, and the entrance station
// with its coordinates. It starts from the details given and offers the stations' names for the
// entrance; OK is refused, with the reason shown in the dialog, while the details could not be
// written into a survey file. Every control has an accessible name (its caption or label).
class SurveyDetailsDialog : public QDialog
{
    Q_OBJECT
public:
    SurveyDetailsDialog(const SurveyDetails &details, const QStringList &stationNames, QWidget *parent = nullptr);

    // The names the entrance can be chosen from: each station's stored name (its label, or its
    // index when it has none), once, in table order.
    static QStringList entranceChoices(const StationTable &stations);

    // The details as the controls stand.
    SurveyDetails details() const;
    // Why OK is refused now; empty when it is not.
    QString problem() const;

    void accept() override;

    QLineEdit *caveNameEdit = nullptr;
    QCheckBox *dateKnownBox = nullptr;
    QDateEdit *dateEdit = nullptr;
    QTableWidget *teamTable = nullptr;
    QLineEdit *tapeEdit = nullptr;
    QLineEdit *compassEdit = nullptr;
    QLineEdit *clinoEdit = nullptr;
    QLineEdit *sourceEdit = nullptr;
    QRadioButton *magneticButton = nullptr;
    QRadioButton *magneticAutoButton = nullptr;
    QRadioButton *trueButton = nullptr;
    QRadioButton *gridButton = nullptr;
    QDoubleSpinBox *declinationSpin = nullptr;
    QComboBox *entranceCombo = nullptr;
    QCheckBox *coordinatesBox = nullptr;
    QDoubleSpinBox *eastSpin = nullptr;
    QDoubleSpinBox *northSpin = nullptr;
    QDoubleSpinBox *altitudeSpin = nullptr;
    QSpinBox *epsgSpin = nullptr;
    QLabel *problemLabel = nullptr;
    QDialogButtonBox *buttons = nullptr;

private:
    void addTeamRow(const TeamMember &member);
    void updateEnabled();
};
