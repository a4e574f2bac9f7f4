#include "output/ui/SurveyDetailsDialog.h"

#include "app/AnsiText.h"
#include "output/SurveyText.h"
#include "stations/StationTable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// A control that reads its label's words as its accessible name.
template <typename Control>
Control *named(Control *control, const QString &caption)
{
    QString name = caption;
    name.remove(QLatin1Char('&'));
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    control->setAccessibleName(name);
    return control;
}

QDoubleSpinBox *coordinateSpin(QWidget *parent)
{
    auto *spin = new QDoubleSpinBox(parent);
    spin->setRange(-100000000.0, 100000000.0);
    spin->setDecimals(3);
    spin->setSuffix(SurveyDetailsDialog::tr(" m"));
    return spin;
}

} // namespace

QStringList SurveyDetailsDialog::entranceChoices(const StationTable &stations)
{
    QStringList names;
    for (int i = 0; i < stations.count(); ++i) {
        const QString name = AnsiText::decode(SurveyText::stationName(stations.at(i), i));
        if (!names.contains(name))
            names.append(name);
    }
    return names;
}

SurveyDetailsDialog::SurveyDetailsDialog(const SurveyDetails &d, const QStringList &stationNames, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Survey Details"));
    setObjectName(QStringLiteral("SurveyDetailsDialog"));
    // Two columns, so the dialog fits a low screen: what and who on the left, where on the right.
    auto *outer = new QVBoxLayout(this);
    auto *columns = new QHBoxLayout;
    outer->addLayout(columns);
    auto *layout = new QVBoxLayout;
    auto *right = new QVBoxLayout;
    columns->addLayout(layout, 1);
    columns->addLayout(right, 1);

    // The cave, the date and the scans.
    auto *caveBox = new QGroupBox(tr("Survey"), this);
    auto *caveForm = new QFormLayout(caveBox);
    caveNameEdit = named(new QLineEdit(d.caveName, caveBox), tr("Cave name:"));
    caveForm->addRow(tr("Cave &name:"), caveNameEdit);
    dateKnownBox = named(new QCheckBox(tr("Survey &date:"), caveBox), tr("Survey date"));
    dateKnownBox->setChecked(d.date.isValid());
    dateEdit = named(new QDateEdit(d.date.isValid() ? d.date : QDate::currentDate(), caveBox), tr("Date"));
    dateEdit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    dateEdit->setCalendarPopup(true);
    caveForm->addRow(dateKnownBox, dateEdit);
    sourceEdit = named(new QLineEdit(d.source, caveBox), tr("Scans' source:"));
    sourceEdit->setPlaceholderText(tr("where the original sheets are kept"));
    caveForm->addRow(tr("Scans' &source:"), sourceEdit);
    layout->addWidget(caveBox);

    // The team, one person a row.
    auto *teamBox = new QGroupBox(tr("Team"), this);
    auto *teamLayout = new QGridLayout(teamBox);
    teamTable = named(new QTableWidget(0, 2, teamBox), tr("Team"));
    teamTable->setHorizontalHeaderLabels({tr("Name"), tr("Roles")});
    teamTable->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    teamTable->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    teamTable->verticalHeader()->hide();
    teamTable->setMinimumHeight(90);
    for (const TeamMember &member : d.team)
        addTeamRow(member);
    auto *addButton = new QPushButton(tr("&Add person"), teamBox);
    auto *removeButton = new QPushButton(tr("&Remove person"), teamBox);
    addButton->setAccessibleName(tr("Add person"));
    removeButton->setAccessibleName(tr("Remove person"));
    auto *rolesHint = new QLabel(
        tr("Roles, separated by spaces: %1").arg(SurveyDetails::roleNames().join(QLatin1Char(' '))), teamBox);
    rolesHint->setWordWrap(true);
    teamLayout->addWidget(teamTable, 0, 0, 3, 1);
    teamLayout->addWidget(addButton, 0, 1);
    teamLayout->addWidget(removeButton, 1, 1);
    teamLayout->addWidget(rolesHint, 3, 0, 1, 2);
    layout->addWidget(teamBox);
    connect(addButton, &QPushButton::clicked, this, [this] {
        addTeamRow(TeamMember());
        teamTable->setCurrentCell(teamTable->rowCount() - 1, 0);
        teamTable->editItem(teamTable->currentItem());
    });
    connect(removeButton, &QPushButton::clicked, this, [this] {
        if (teamTable->currentRow() >= 0)
            teamTable->removeRow(teamTable->currentRow());
    });

    // The instruments.
    auto *instrumentBox = new QGroupBox(tr("Instruments"), this);
    auto *instrumentForm = new QFormLayout(instrumentBox);
    tapeEdit = named(new QLineEdit(d.tapeInstrument, instrumentBox), tr("Tape:"));
    compassEdit = named(new QLineEdit(d.compassInstrument, instrumentBox), tr("Compass:"));
    clinoEdit = named(new QLineEdit(d.clinoInstrument, instrumentBox), tr("Clinometer:"));
    instrumentForm->addRow(tr("&Tape:"), tapeEdit);
    instrumentForm->addRow(tr("&Compass:"), compassEdit);
    instrumentForm->addRow(tr("C&linometer:"), clinoEdit);
    layout->addWidget(instrumentBox);

    // Which north the plan's arrow shows.
    auto *northBox = new QGroupBox(tr("North on the plan"), this);
    auto *northGrid = new QGridLayout(northBox);
    const auto radio = [&](const QString &caption) {
        QString name = caption;
        return named(new QRadioButton(caption, northBox), name.remove(QLatin1Char('&')));
    };
    magneticButton = radio(tr("&Magnetic, declination:"));
    declinationSpin = named(new QDoubleSpinBox(northBox), tr("Declination"));
    declinationSpin->setRange(-180.0, 180.0);
    declinationSpin->setDecimals(2);
    declinationSpin->setSuffix(tr("° east"));
    declinationSpin->setValue(d.declinationDeg);
    magneticAutoButton = radio(tr("Magnetic, declination &from date and place"));
    trueButton = radio(tr("T&rue north"));
    gridButton = radio(tr("&Grid north (of the coordinate system)"));
    northGrid->addWidget(magneticButton, 0, 0);
    northGrid->addWidget(declinationSpin, 0, 1);
    northGrid->addWidget(magneticAutoButton, 1, 0, 1, 2);
    northGrid->addWidget(trueButton, 2, 0, 1, 2);
    northGrid->addWidget(gridButton, 3, 0, 1, 2);
    right->addWidget(northBox);
    (d.north == NorthReference::True       ? trueButton
     : d.north == NorthReference::Grid     ? gridButton
     : d.declinationFromDateAndPlace       ? magneticAutoButton
                                           : magneticButton)
        ->setChecked(true);

    // The entrance.
    auto *entranceBox = new QGroupBox(tr("Entrance"), this);
    auto *entranceForm = new QFormLayout(entranceBox);
    entranceCombo = named(new QComboBox(entranceBox), tr("Entrance station:"));
    entranceCombo->addItem(tr("(none)"), QString());
    QStringList choices = stationNames;
    if (!d.entrance.isEmpty() && !choices.contains(d.entrance))
        choices.append(d.entrance); // kept, so opening and closing the dialog changes nothing
    for (const QString &name : choices)
        entranceCombo->addItem(name, name);
    entranceCombo->setCurrentIndex(std::max(0, entranceCombo->findData(d.entrance)));
    entranceForm->addRow(tr("Entrance &station:"), entranceCombo);
    coordinatesBox = named(new QCheckBox(tr("Coordinates &known"), entranceBox), tr("Coordinates known"));
    coordinatesBox->setChecked(d.entranceHasCoordinates);
    entranceForm->addRow(coordinatesBox);
    eastSpin = named(coordinateSpin(entranceBox), tr("Easting:"));
    northSpin = named(coordinateSpin(entranceBox), tr("Northing:"));
    altitudeSpin = named(coordinateSpin(entranceBox), tr("Altitude:"));
    eastSpin->setValue(d.entranceEast);
    northSpin->setValue(d.entranceNorth);
    altitudeSpin->setValue(d.entranceAltitude);
    entranceForm->addRow(tr("&Easting:"), eastSpin);
    entranceForm->addRow(tr("N&orthing:"), northSpin);
    entranceForm->addRow(tr("&Altitude:"), altitudeSpin);
    epsgSpin = named(new QSpinBox(entranceBox), tr("Coordinate system, EPSG code:"));
    epsgSpin->setRange(0, 999999);
    epsgSpin->setPrefix(QStringLiteral("EPSG:"));
    epsgSpin->setValue(d.epsgCode);
    epsgSpin->setToolTip(tr("A projected system in metres, such as a UTM zone (EPSG:32637 is UTM zone 37N)"));
    entranceForm->addRow(tr("Coordinate s&ystem:"), epsgSpin);
    right->addWidget(entranceBox);
    right->addStretch(1);

    problemLabel = new QLabel(this);
    problemLabel->setWordWrap(true);
    problemLabel->setStyleSheet(QStringLiteral("color: #b00000"));
    problemLabel->setAccessibleName(tr("Problem"));
    problemLabel->hide();
    outer->addWidget(problemLabel);
    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName(tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(tr("Cancel"));
    outer->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &SurveyDetailsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SurveyDetailsDialog::reject);

    for (QAbstractButton *button : {static_cast<QAbstractButton *>(dateKnownBox), static_cast<QAbstractButton *>(coordinatesBox),
                                    static_cast<QAbstractButton *>(magneticButton), static_cast<QAbstractButton *>(magneticAutoButton),
                                    static_cast<QAbstractButton *>(trueButton), static_cast<QAbstractButton *>(gridButton)})
        connect(button, &QAbstractButton::toggled, this, &SurveyDetailsDialog::updateEnabled);
    connect(entranceCombo, &QComboBox::currentIndexChanged, this, &SurveyDetailsDialog::updateEnabled);
    updateEnabled();
}

void SurveyDetailsDialog::addTeamRow(const TeamMember &member)
{
    const int row = teamTable->rowCount();
    teamTable->insertRow(row);
    teamTable->setItem(row, 0, new QTableWidgetItem(member.name));
    teamTable->setItem(row, 1, new QTableWidgetItem(member.roles.join(QLatin1Char(' '))));
}

void SurveyDetailsDialog::updateEnabled()
{
    dateEdit->setEnabled(dateKnownBox->isChecked());
    declinationSpin->setEnabled(magneticButton->isChecked());
    const bool entrance = entranceCombo->currentIndex() > 0;
    coordinatesBox->setEnabled(entrance);
    const bool coordinates = entrance && coordinatesBox->isChecked();
    for (QWidget *widget : {static_cast<QWidget *>(eastSpin), static_cast<QWidget *>(northSpin),
                            static_cast<QWidget *>(altitudeSpin), static_cast<QWidget *>(epsgSpin)})
        widget->setEnabled(coordinates);
}

SurveyDetails SurveyDetailsDialog::details() const
{
    SurveyDetails d;
    d.caveName = caveNameEdit->text().trimmed();
    if (dateKnownBox->isChecked())
        d.date = dateEdit->date();
    for (int row = 0; row < teamTable->rowCount(); ++row) {
        const auto text = [&](int column) {
            const QTableWidgetItem *item = teamTable->item(row, column);
            return item ? item->text().simplified() : QString();
        };
        TeamMember member{text(0), text(1).toLower().split(QLatin1Char(' '), Qt::SkipEmptyParts)};
        if (!member.name.isEmpty() || !member.roles.isEmpty())
            d.team.append(member);
    }
    d.tapeInstrument = tapeEdit->text().trimmed();
    d.compassInstrument = compassEdit->text().trimmed();
    d.clinoInstrument = clinoEdit->text().trimmed();
    d.source = sourceEdit->text().trimmed();
    d.north = trueButton->isChecked() ? NorthReference::True
              : gridButton->isChecked() ? NorthReference::Grid
                                        : NorthReference::Magnetic;
    d.declinationFromDateAndPlace = magneticAutoButton->isChecked();
    if (magneticButton->isChecked())
        d.declinationDeg = declinationSpin->value();
    d.entrance = entranceCombo->currentData().toString();
    if (!d.entrance.isEmpty() && coordinatesBox->isChecked()) {
        d.entranceHasCoordinates = true;
        d.entranceEast = eastSpin->value();
        d.entranceNorth = northSpin->value();
        d.entranceAltitude = altitudeSpin->value();
        d.epsgCode = epsgSpin->value();
    }
    return d;
}

QString SurveyDetailsDialog::problem() const
{
    return details().problem();
}

void SurveyDetailsDialog::accept()
{
    const QString why = problem();
    problemLabel->setText(why);
    problemLabel->setVisible(!why.isEmpty());
    if (why.isEmpty())
        QDialog::accept();
}
