#include "output/ui/SurveyDetailsDialog.h"

#include "survey/AnsiText.h"
#include "survey/NumberText.h"
#include "widgets/Language.h"
#include "widgets/NumberValidator.h"
#include "widgets/TextValidator.h"
#include "output/SurveyText.h"
#include "survey/StationTable.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QMenu>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidgetAction>

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

// The team's cells refuse a control character as it is typed or pasted, saying why in the dialog.
class TeamDelegate : public QStyledItemDelegate
{
public:
    TeamDelegate(QObject *parent, std::function<void(const QString &)> showRefusal)
        : QStyledItemDelegate(parent), m_showRefusal(std::move(showRefusal))
    {
    }
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *edit = qobject_cast<QLineEdit *>(editor)) {
            const SurveyDetails::TypedField field =
                index.column() == 0 ? SurveyDetails::TypedField::TeamName : SurveyDetails::TypedField::TeamRoles;
            auto *validator = new TextValidator([field](const QString &text) { return SurveyDetails::typingProblem(field, text); }, edit);
            edit->setValidator(validator);
            QObject::connect(validator, &TextValidator::refused, edit, m_showRefusal);
        }
        return editor;
    }

private:
    std::function<void(const QString &)> m_showRefusal;
};

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
    : QDialog(parent), m_given(d)
{
    const auto typed = [this](QLineEdit *edit, SurveyDetails::TypedField field) {
        auto *validator = new TextValidator([field](const QString &text) { return SurveyDetails::typingProblem(field, text); }, edit);
        edit->setValidator(validator);
        connect(validator, &TextValidator::refused, this, &SurveyDetailsDialog::showProblem);
        return edit;
    };
    const auto number = [this](const QString &caption, const QString &field, double limit, bool whole, QWidget *parent) {
        auto *edit = named(new QLineEdit(parent), caption);
        auto *validator = new NumberValidator(field, whole ? 1.0 : -limit, limit, whole, edit);
        edit->setValidator(validator);
        m_numbers.insert(edit, validator);
        connect(validator, &NumberValidator::refused, this, &SurveyDetailsDialog::showProblem);
        connect(edit, &QLineEdit::textEdited, this, &SurveyDetailsDialog::markNumbers);
        return edit;
    };
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
    caveNameEdit = typed(named(new QLineEdit(d.caveName, caveBox), tr("Cave name:")), SurveyDetails::TypedField::CaveName);
    caveForm->addRow(tr("Cave &name:"), caveNameEdit);
    dateKnownBox = named(new QCheckBox(tr("Survey &date:"), caveBox), tr("Survey date"));
    dateKnownBox->setChecked(d.date.isValid());
    // A line edit, not a date edit: that one keeps its sections when a whole date is typed over it.
    dateEdit = named(new QLineEdit((d.date.isValid() ? d.date : QDate::currentDate()).toString(Qt::ISODate), caveBox),
                     tr("Date"));
    dateEdit->setPlaceholderText(QStringLiteral("2023-07-15"));
    dateEdit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9 .\\-/]{0,12}")), dateEdit));
    calendarButton = new QToolButton(caveBox);
    calendarButton->setText(QStringLiteral("…"));
    calendarButton->setToolTip(tr("Pick the date from a calendar"));
    calendarButton->setAccessibleName(calendarButton->toolTip());
    calendarButton->setPopupMode(QToolButton::InstantPopup);
    auto *calendarMenu = new QMenu(calendarButton);
    auto *calendar = new QCalendarWidget(calendarMenu);
    // Its months and weekdays in the interface's language, whatever the desktop's number format.
    calendar->setLocale(QLocale(Language::current() == Language::Applied::Russian ? QLocale::Russian : QLocale::English));
    auto *calendarAction = new QWidgetAction(calendarMenu);
    calendarAction->setDefaultWidget(calendar);
    calendarMenu->addAction(calendarAction);
    calendarButton->setMenu(calendarMenu);
    connect(calendarMenu, &QMenu::aboutToShow, this, [this, calendar] {
        const QDate shown = typedDate(dateEdit->text());
        calendar->setSelectedDate(shown.isValid() ? shown : QDate::currentDate());
    });
    connect(calendar, &QCalendarWidget::clicked, this, [this, calendarMenu](QDate date) {
        dateEdit->setText(date.toString(Qt::ISODate));
        calendarMenu->close();
    });
    auto *dateRow = new QHBoxLayout;
    dateRow->addWidget(dateEdit, 1);
    dateRow->addWidget(calendarButton);
    caveForm->addRow(dateKnownBox, dateRow);
    sourceEdit = typed(named(new QLineEdit(d.source, caveBox), tr("Scans' source:")), SurveyDetails::TypedField::Source);
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
    teamTable->setItemDelegate(new TeamDelegate(teamTable, [this](const QString &why) { showProblem(why); }));
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
    tapeEdit = typed(named(new QLineEdit(d.tapeInstrument, instrumentBox), tr("Tape:")), SurveyDetails::TypedField::Tape);
    compassEdit =
        typed(named(new QLineEdit(d.compassInstrument, instrumentBox), tr("Compass:")), SurveyDetails::TypedField::Compass);
    clinoEdit =
        typed(named(new QLineEdit(d.clinoInstrument, instrumentBox), tr("Clinometer:")), SurveyDetails::TypedField::Clino);
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
    declinationEdit = number(tr("Declination"), tr("The declination"), 180.0, false, northBox);
    declinationEdit->setText(NumberText::fromDouble(d.declinationDeg));
    declinationEdit->setToolTip(tr("Degrees east of true north; west is negative"));
    magneticAutoButton = radio(tr("Magnetic, declination &from date and place"));
    trueButton = radio(tr("T&rue north"));
    gridButton = radio(tr("&Grid north (of the coordinate system)"));
    northGrid->addWidget(magneticButton, 0, 0);
    northGrid->addWidget(declinationEdit, 0, 1);
    northGrid->addWidget(new QLabel(tr("° east"), northBox), 0, 2);
    northGrid->addWidget(magneticAutoButton, 1, 0, 1, 3);
    northGrid->addWidget(trueButton, 2, 0, 1, 3);
    northGrid->addWidget(gridButton, 3, 0, 1, 3);
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
    const double limit = SurveyDetails::CoordinateLimit;
    eastEdit = number(tr("Easting:"), tr("The easting"), limit, false, entranceBox);
    northEdit = number(tr("Northing:"), tr("The northing"), limit, false, entranceBox);
    altitudeEdit = number(tr("Altitude:"), tr("The altitude"), limit, false, entranceBox);
    eastEdit->setText(NumberText::fromDouble(d.entranceEast));
    northEdit->setText(NumberText::fromDouble(d.entranceNorth));
    altitudeEdit->setText(NumberText::fromDouble(d.entranceAltitude));
    entranceForm->addRow(tr("&Easting, m:"), eastEdit);
    entranceForm->addRow(tr("N&orthing, m:"), northEdit);
    entranceForm->addRow(tr("&Altitude, m:"), altitudeEdit);
    epsgEdit = number(tr("Coordinate system, EPSG code:"), tr("The EPSG code"), 2147483647.0, true, entranceBox);
    epsgEdit->setText(d.epsgCode > 0 ? QString::number(d.epsgCode) : QString());
    epsgEdit->setPlaceholderText(QStringLiteral("32637"));
    epsgEdit->setToolTip(tr("A projected system in metres, such as a UTM zone (EPSG:32637 is UTM zone 37N)"));
    entranceForm->addRow(tr("Coordinate s&ystem, EPSG:"), epsgEdit);
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
    m_shown = fromControls();
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
    calendarButton->setEnabled(dateKnownBox->isChecked());
    declinationEdit->setEnabled(magneticButton->isChecked());
    const bool entrance = entranceCombo->currentIndex() > 0;
    coordinatesBox->setEnabled(entrance);
    const bool coordinates = entrance && coordinatesBox->isChecked();
    for (QLineEdit *edit : {eastEdit, northEdit, altitudeEdit, epsgEdit})
        edit->setEnabled(coordinates);
    markNumbers();
}

QDate SurveyDetailsDialog::typedDate(const QString &text)
{
    const QString trimmed = text.trimmed();
    for (const QString &format : {QStringLiteral("yyyy-M-d"), QStringLiteral("yyyy.M.d"), QStringLiteral("yyyy/M/d"),
                                  QStringLiteral("d.M.yyyy")}) {
        const QDate date = QDate::fromString(trimmed, format);
        if (date.isValid())
            return date;
    }
    return QDate();
}

void SurveyDetailsDialog::showProblem(const QString &why)
{
    problemLabel->setText(why);
    problemLabel->setVisible(!why.isEmpty());
}

QList<QPair<QLineEdit *, NumberValidator *>> SurveyDetailsDialog::numbersInUse() const
{
    QList<QPair<QLineEdit *, NumberValidator *>> inUse;
    for (QLineEdit *edit : {declinationEdit, eastEdit, northEdit, altitudeEdit, epsgEdit}) {
        if (edit->isEnabled())
            inUse.append({edit, m_numbers.value(edit)});
    }
    return inUse;
}

// A number field in use that holds no value is outlined, and the first reason shown below.
void SurveyDetailsDialog::markNumbers()
{
    for (QLineEdit *edit : m_numbers.keys())
        edit->setStyleSheet(QString());
    QString first;
    for (const auto &[edit, validator] : numbersInUse()) {
        const QString why = validator->reason(edit->text());
        if (!why.isEmpty())
            edit->setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid #b00000; }"));
        if (first.isEmpty())
            first = why;
    }
    showProblem(first);
}

SurveyDetails SurveyDetailsDialog::fromControls() const
{
    SurveyDetails d;
    d.caveName = caveNameEdit->text().trimmed();
    if (dateKnownBox->isChecked())
        d.date = typedDate(dateEdit->text());
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
    // A field that holds no number leaves the value it was given; problem() refuses OK meanwhile.
    const auto value = [](QLineEdit *edit, double given) {
        double typed = 0.0;
        return NumberText::tryToDouble(edit->text(), &typed) ? typed : given;
    };
    if (magneticButton->isChecked())
        d.declinationDeg = value(declinationEdit, m_given.declinationDeg);
    d.entrance = entranceCombo->currentData().toString();
    if (!d.entrance.isEmpty() && coordinatesBox->isChecked()) {
        d.entranceHasCoordinates = true;
        d.entranceEast = value(eastEdit, m_given.entranceEast);
        d.entranceNorth = value(northEdit, m_given.entranceNorth);
        d.entranceAltitude = value(altitudeEdit, m_given.entranceAltitude);
        bool whole = false;
        const int code = epsgEdit->text().trimmed().toInt(&whole);
        d.epsgCode = whole ? code : m_given.epsgCode;
    }
    return d;
}

SurveyDetails SurveyDetailsDialog::details() const
{
    // Unchanged controls give back what they were given, whatever the fields could not show
    // (more decimals, numbers no writer uses).
    const SurveyDetails d = fromControls();
    return d == m_shown ? m_given : d;
}

QString SurveyDetailsDialog::problem() const
{
    if (dateKnownBox->isChecked() && !typedDate(dateEdit->text()).isValid())
        return tr("The survey date is not a date: type it as 2023-07-15.");
    for (const auto &[edit, validator] : numbersInUse()) {
        const QString why = validator->reason(edit->text());
        if (!why.isEmpty())
            return why;
    }
    return details().problem();
}

void SurveyDetailsDialog::accept()
{
    const QString why = problem();
    showProblem(why);
    if (why.isEmpty())
        QDialog::accept();
}
