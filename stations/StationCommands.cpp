// Placing stations on both views, Add, branches, the display check boxes and the profile mode.
#include "app/TSpeomarkForm.h"

#include "app/AnsiText.h"
#include "app/CommandError.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

// A position from the mouse, in source pixels or metres, worked out in extended precision from
// the integer displayed position and only then stored in the 32-bit field.
float sourcePixels(int displayed, double zoom)
{
    return float(static_cast<long double>(displayed) / zoom);
}

float metres(int displayed, double metresPerPixel, double zoom)
{
    return float(static_cast<long double>(displayed) * metresPerPixel / zoom);
}

void writePlanPoint(Station &station, int X, int Y, double zoom, double metresPerPixel)
{
    station.PlanX = sourcePixels(X, zoom);
    station.PlanY = sourcePixels(Y, zoom);
    station.PlanXMetres = metres(X, metresPerPixel, zoom);
    station.PlanYMetres = metres(Y, metresPerPixel, zoom);
}

void writeProfilePoint(Station &station, int X, int Y, double zoom, double metresPerPixel)
{
    station.ProfileX = sourcePixels(X, zoom);
    station.ProfileY = sourcePixels(Y, zoom);
    station.ProfileYMetres = metres(Y, metresPerPixel, zoom);
}

} // namespace

// In Move mode a click moves the selected station; in Add mode it places the pending one.
void TSpeomarkForm::PlacePlanPoint(int X, int Y)
{
    if (MoveMode == 1) {
        if (CurrentStation >= 0 && CurrentStation < StationCount)
            writePlanPoint(Stations[CurrentStation], X, Y, PlanZoom, PlanMetresPerPixel);
        return;
    }
    if (!hasPendingEntry())
        return; // a full table (possible only from a project) has no pending station
    writePlanPoint(Stations[StationCount], X, Y, PlanZoom, PlanMetresPerPixel);
    PlanPointPlaced = 1;
    if (ProfileExtended == 0 || ProfilePointPlaced == 1)
        ButtonAdd->setEnabled(true);
}

void TSpeomarkForm::PlaceProfilePoint(int X, int Y)
{
    if (MoveMode == 1) {
        if (CurrentStation >= 0 && CurrentStation < StationCount)
            writeProfilePoint(Stations[CurrentStation], X, Y, ProfileZoom, ProfileMetresPerPixel);
        return;
    }
    if (!hasPendingEntry())
        return;
    writeProfilePoint(Stations[StationCount], X, Y, ProfileZoom, ProfileMetresPerPixel);
    ProfilePointPlaced = 1;
    if (PlanPointPlaced == 1)
        ButtonAdd->setEnabled(true);
}

// The label and comment boxes refuse characters outside the code page as they are typed; text
// put there by other means is checked here so nothing is stored as a substitute character.
void TSpeomarkForm::checkStationTexts() const
{
    for (const QLineEdit *box : {Edit6, Edit7}) {
        const QString refused = AnsiText::unencodableCharacters(box->text());
        if (!refused.isEmpty())
            throw CommandError(QStringLiteral("The characters \"%1\" cannot be stored in a station's label or comment.")
                                   .arg(refused));
    }
}

void TSpeomarkForm::ButtonAddClick()
{
    if (MoveMode == 1) {
        if (CurrentStation < 0 || CurrentStation >= StationCount)
            return;
        checkStationTexts();
        setLabelText(Stations[CurrentStation], Edit6->text());
        setCommentText(Stations[CurrentStation], Edit7->text());
        Modified = 1;
        DrawPlanView();
        DrawProfileView();
        return;
    }

    const QString tooMany = QStringLiteral("Too many stations. To continue save this and open new project.");
    if (!hasPendingEntry()) {
        // A project may fill the whole table; then there is no pending station to add.
        dialogs().message(this, QStringLiteral("Speomark"), tooMany, MessageIcon::None);
        return;
    }
    checkStationTexts();
    RadioButton2->setEnabled(true);
    Station &pending = Stations[StationCount];
    setLabelText(pending, Edit6->text());
    setCommentText(pending, Edit7->text());
    if (CheckBox5->isChecked() && StationCount > 1) {
        Stations[StationCount - 1].BranchEnd = 1;
        CheckBox5->setEnabled(false);
    } else if (StationCount > 0) {
        CheckBox5->setEnabled(true);
    }
    if (StationCount >= MaxAddedStations) {
        dialogs().message(this, QStringLiteral("Speomark"), tooMany, MessageIcon::None);
        return;
    }
    ++StationCount;
    PlanPointPlaced = 0;
    ProfilePointPlaced = 0;
    Edit6->setText(QString());
    Edit7->setText(QString());
    CheckBox5->setChecked(false);
    ButtonAdd->setEnabled(false);
    Modified = 1;
    DrawPlanView();
    DrawProfileView();
}

void TSpeomarkForm::CheckBoxShowLabelsClick()
{
    DrawPlanView();
    DrawProfileView();
}

void TSpeomarkForm::CheckBoxShowLinesClick()
{
    DrawPlanView();
    DrawProfileView();
}

void TSpeomarkForm::CheckBox5Click()
{
    DrawPlanView();
    DrawProfileView();
}

void TSpeomarkForm::RadioButton3Click()
{
    if (RadioButton3->isChecked())
        ProfileExtended = 1;
}

void TSpeomarkForm::RadioButton5Click()
{
    if (RadioButton5->isChecked())
        ProfileExtended = 0;
}
