// Opening images, zoom and panning, and the view redraws. The two panes work alike; the
// helpers below take the side's fields, the handlers say which side and what to redraw.
#include "app/TSpeomarkForm.h"

#include "app/NumberText.h"
#include "app/TPanel.h"
#include "app/TRadioGroup.h"
#include "app/TUpDown.h"
#include "app/Truncate.h"
#include "views/ImageFile.h"
#include "views/TImagePane.h"
#include "views/ViewSnapshot.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <cmath>
#include <new>

namespace {

// One pane's share of the survey state and controls.
struct Pane
{
    double &zoom;
    TImagePane *image;
    QScrollArea *box;
};

void scrollTo(QScrollArea *box, int x, int y)
{
    // The scroll bars clamp to 0 .. displayed extent - visible extent.
    box->horizontalScrollBar()->setValue(x);
    box->verticalScrollBar()->setValue(y);
}

int scrollX(QScrollArea *box) { return box->horizontalScrollBar()->value(); }
int scrollY(QScrollArea *box) { return box->verticalScrollBar()->value(); }

void halveImage(TImagePane *image) { image->resize(image->width() / 2, image->height() / 2); }
void doubleImage(TImagePane *image) { image->resize(image->width() * 2, image->height() * 2); }

// Zoom buttons: the bound is tested before the step, and the point at the middle of the box
// stays in place.
void zoomOut(const Pane &pane, double minZoom)
{
    if (pane.zoom < minZoom)
        return;
    pane.zoom *= 0.5;
    halveImage(pane.image);
    scrollTo(pane.box, scrollX(pane.box) / 2 - pane.box->width() / 4, scrollY(pane.box) / 2 - pane.box->height() / 4);
}

void zoomIn(const Pane &pane, double maxZoom)
{
    if (pane.zoom > maxZoom)
        return;
    pane.zoom *= 2.0;
    doubleImage(pane.image);
    scrollTo(pane.box, 2 * scrollX(pane.box) + pane.box->width() / 2, 2 * scrollY(pane.box) + pane.box->height() / 2);
}

// After a release: a drag that changed both coordinates pans with it; Ctrl zooms about the
// released point (left in, right out, middle only recentres) and puts it at the box's middle.
void panAndZoom(const Pane &pane, double minZoom, double maxZoom, int pressX, int pressY, Qt::MouseButton button,
                Qt::KeyboardModifiers modifiers, int x, int y)
{
    if (x != pressX && y != pressY)
        scrollTo(pane.box, scrollX(pane.box) + pressX - x, scrollY(pane.box) + pressY - y);
    if (!(modifiers & Qt::ControlModifier))
        return;
    const int sourceX = truncToInt(x / pane.zoom);
    const int sourceY = truncToInt(y / pane.zoom);
    if (button == Qt::LeftButton) {
        if (pane.zoom <= maxZoom) {
            pane.zoom *= 2.0;
            doubleImage(pane.image);
        }
    } else if (button == Qt::RightButton) {
        if (pane.zoom >= minZoom) {
            pane.zoom *= 0.5;
            halveImage(pane.image);
        }
    }
    scrollTo(pane.box, truncToInt(sourceX * pane.zoom - pane.box->width() / 2),
             truncToInt(sourceY * pane.zoom - pane.box->height() / 2));
}

bool placesPoint(Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    return button == Qt::RightButton && !(modifiers & (Qt::ShiftModifier | Qt::ControlModifier));
}

QString positionText(int x, int y) { return QStringLiteral("(%1 ; %2)").arg(x).arg(y); }

// The scale from the grid entries, as an image open recomputes it: no number, a pixel count of
// zero or a quotient out of range give none.
bool scaleFromEntries(const QLineEdit *metres, const QLineEdit *pixels, double *scale)
{
    double metresPerCell = 0.0;
    double pixelsPerCell = 0.0;
    if (!NumberText::tryToDouble(metres->text(), &metresPerCell) || !NumberText::tryToDouble(pixels->text(), &pixelsPerCell)
        || pixelsPerCell == 0.0)
        return false;
    const double quotient = metresPerCell / pixelsPerCell;
    if (!std::isfinite(quotient))
        return false;
    *scale = quotient;
    return true;
}

ViewControls viewControls(const TSpeomarkForm &form, const QCheckBox *grid, const TUpDown *shiftRight,
                          const TUpDown *shiftUp)
{
    ViewControls controls;
    controls.gridShown = grid->isChecked();
    controls.gridShiftRight = shiftRight->position();
    controls.gridShiftUp = shiftUp->position();
    controls.showLabels = form.CheckBoxShowLabels->isChecked();
    controls.showLines = form.CheckBoxShowLines->isChecked();
    controls.newBranch = form.CheckBox5->isChecked();
    controls.indexWhenUnlabelled = form.DataFormat->itemIndex() != 0;
    controls.typedLabel = form.Edit6->text();
    return controls;
}

} // namespace

// Shared by both open commands. Returns false when nothing was opened (cancelled or not an
// image): then nothing has changed. A file too large for the memory is reported as such.
bool TSpeomarkForm::openImageInto(QImage &bitmap, TImagePane *image, QString &fileName, std::int32_t &width,
                                  std::int32_t &height)
{
    if (!dialogs().execute(this, OpenDlg1))
        return false;
    const QString chosen = OpenDlg1.fileName;
    ImageFileHandles handles;
    if (OpenImageFile(chosen, handles) < 0) {
        CloseImageFile(handles);
        return false;
    }
    const int status = ReadImageIntoBitmap(handles, bitmap);
    CloseImageFile(handles);
    if (status == ImageFileTooLarge)
        throw std::bad_alloc();
    if (status < 0)
        return false;
    fileName = chosen;
    // The new image shows at once, unannotated and unzoomed, until the view is drawn.
    ViewSnapshot bare;
    bare.image = bitmap;
    bare.sourceWidth = bitmap.width();
    bare.sourceHeight = bitmap.height();
    image->setSnapshot(bare);
    width = bitmap.width();
    height = bitmap.height();
    return true;
}

void TSpeomarkForm::OpenLeftBtnClick()
{
    if (!openImageInto(PlanBitmap, ImageLeft, PlanImageFileName, PlanImageWidth, PlanImageHeight))
        return;
    if (!scaleFromEntries(EditLeftSetka, EditLeftPixels, &PlanMetresPerPixel)) {
        dialogs().message(this, QStringLiteral("Speomark"),
                          QStringLiteral("Значение количества пикселей для Плана не может быть нулевым!"),
                          MessageIcon::None);
        Panel2->setEnabled(false);
    }
    PlanZoom = 1.0;
    DrawPlanView();
}

void TSpeomarkForm::OpenRightBtnClick()
{
    if (!openImageInto(ProfileBitmap, ImageRight, ProfileImageFileName, ProfileImageWidth, ProfileImageHeight))
        return;
    if (!scaleFromEntries(EditRightSetka, EditRightPixels, &ProfileMetresPerPixel)) {
        dialogs().message(this, QStringLiteral("Speomark"),
                          QStringLiteral("Значение количества пикселей для Профиля не может быть нулевым!"),
                          MessageIcon::None);
        Panel2->setEnabled(false);
    }
    ProfileZoom = 1.0;
    DrawProfileView();
}

void TSpeomarkForm::LeftMinusClick()
{
    zoomOut({PlanZoom, ImageLeft, ScrollBox1}, MinZoom);
    DrawPlanView();
}

void TSpeomarkForm::LeftPlusClick()
{
    zoomIn({PlanZoom, ImageLeft, ScrollBox1}, MaxZoom);
    DrawPlanView();
}

void TSpeomarkForm::RightMinusClick()
{
    zoomOut({ProfileZoom, ImageRight, ScrollBox2}, MinZoom);
    DrawProfileView();
}

void TSpeomarkForm::RightPlusClick()
{
    zoomIn({ProfileZoom, ImageRight, ScrollBox2}, MaxZoom);
    DrawProfileView();
}

void TSpeomarkForm::ImageLeftMouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y)
{
    PlanPressX = X;
    PlanPressY = Y;
}

void TSpeomarkForm::ImageLeftMouseMove(Qt::KeyboardModifiers, int X, int Y)
{
    setStatusPanelText(1, positionText(X, Y));
}

void TSpeomarkForm::ImageLeftMouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)
{
    if (placesPoint(Button, Shift))
        PlacePlanPoint(X, Y);
    panAndZoom({PlanZoom, ImageLeft, ScrollBox1}, MinZoom, MaxZoom, PlanPressX, PlanPressY, Button, Shift, X, Y);
    DrawPlanView();
    if (ProfileExtended == 1)
        DrawProfileView();
}

void TSpeomarkForm::ImageRightMouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y)
{
    ProfilePressX = X;
    ProfilePressY = Y;
}

void TSpeomarkForm::ImageRightMouseMove(Qt::KeyboardModifiers, int X, int Y)
{
    setStatusPanelText(2, positionText(X, Y));
}

void TSpeomarkForm::ImageRightMouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)
{
    if (placesPoint(Button, Shift))
        PlaceProfilePoint(X, Y);
    panAndZoom({ProfileZoom, ImageRight, ScrollBox2}, MinZoom, MaxZoom, ProfilePressX, ProfilePressY, Button, Shift,
               X, Y);
    DrawProfileView();
    DrawPlanView();
}

void TSpeomarkForm::DrawPlanView()
{
    ImageLeft->setSnapshot(ViewSnapshot::plan(*this, viewControls(*this, CheckBoxLeftSetka, GridL2, GridL1)));
}

void TSpeomarkForm::DrawProfileView()
{
    ImageRight->setSnapshot(ViewSnapshot::profile(*this, viewControls(*this, CheckBoxRightSetka, GridR2, GridR1)));
}
