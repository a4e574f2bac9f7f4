// Scale grid calibration: the OK/Change buttons, the grid check boxes and the shift up-downs.
#include "app/TSpeomarkForm.h"

#include "app/NumberText.h"
#include "app/TPanel.h"
#include "app/TUpDown.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

namespace {

// Metres and pixels per cell both above zero, and a scale that is a real number. Each box is
// read again here, the pixels only when the metres passed, so a text that is not a number
// fails exactly where it is first needed.
bool entriesValid(const QLineEdit *metres, const QLineEdit *pixels)
{
    const double metresPerCell = NumberText::toDouble(metres->text());
    if (!(metresPerCell > 0.0))
        return false;
    const double pixelsPerCell = NumberText::toDouble(pixels->text());
    if (!(pixelsPerCell > 0.0))
        return false;
    const double scale = metresPerCell / pixelsPerCell;
    return std::isfinite(scale) && scale > 0.0;
}

int stepFor(Qt::KeyboardModifiers modifiers) { return modifiers & Qt::ControlModifier ? 10 : 1; }

} // namespace

void TSpeomarkForm::calibrateGrid(QPushButton *button, QLineEdit *metres, QLineEdit *pixels, double &gridPixels,
                                  double &metresPerPixel, const QLineEdit *otherMetres,
                                  const QLineEdit *otherPixels, const QString &rejection,
                                  void (TSpeomarkForm::*redraw)())
{
    if (button->text() != QStringLiteral("OK")) {
        button->setText(QStringLiteral("OK"));
        metres->setEnabled(true);
        pixels->setEnabled(true);
        return;
    }
    // The cell size follows the entry even when the entry is then refused.
    gridPixels = NumberText::toDouble(pixels->text());
    if (entriesValid(metres, pixels)) {
        metresPerPixel = NumberText::toDouble(metres->text()) / NumberText::toDouble(pixels->text());
        if (entriesValid(otherMetres, otherPixels))
            Panel2->setEnabled(true);
    } else {
        Panel2->setEnabled(false);
        dialogs().message(this, QStringLiteral("Information"), rejection, MessageIcon::Information);
    }
    (this->*redraw)();
    button->setText(QStringLiteral("Change"));
    metres->setEnabled(false);
    pixels->setEnabled(false);
}

void TSpeomarkForm::CheckBoxLeftSetkaClick() { DrawPlanView(); }
void TSpeomarkForm::CheckBoxRightSetkaClick() { DrawProfileView(); }

void TSpeomarkForm::Button1Click()
{
    calibrateGrid(Button1, EditLeftSetka, EditLeftPixels, PlanGridPixels, PlanMetresPerPixel, EditRightSetka,
                  EditRightPixels, QStringLiteral("Введите корректно значения масштаба для Плана!"),
                  &TSpeomarkForm::DrawPlanView);
}

void TSpeomarkForm::Button2Click()
{
    calibrateGrid(Button2, EditRightSetka, EditRightPixels, ProfileGridPixels, ProfileMetresPerPixel, EditLeftSetka,
                  EditLeftPixels, QStringLiteral("Введите корректно значения масштаба для Профиля!"),
                  &TSpeomarkForm::DrawProfileView);
}

// A press sets the step that the up-down takes from this press on: ten pixels with Ctrl held.
void TSpeomarkForm::GridL1MouseDown(Qt::MouseButton, Qt::KeyboardModifiers Shift) { GridL1->setIncrement(stepFor(Shift)); }
void TSpeomarkForm::GridL2MouseDown(Qt::MouseButton, Qt::KeyboardModifiers Shift) { GridL2->setIncrement(stepFor(Shift)); }
void TSpeomarkForm::GridR1MouseDown(Qt::MouseButton, Qt::KeyboardModifiers Shift) { GridR1->setIncrement(stepFor(Shift)); }
void TSpeomarkForm::GridR2MouseDown(Qt::MouseButton, Qt::KeyboardModifiers Shift) { GridR2->setIncrement(stepFor(Shift)); }

void TSpeomarkForm::GridL1Click() { DrawPlanView(); }
void TSpeomarkForm::GridL2Click() { DrawPlanView(); }
void TSpeomarkForm::GridR1Click() { DrawProfileView(); }
void TSpeomarkForm::GridR2Click() { DrawProfileView(); }
