#include "views/ui/ViewStrip.h"

#include "app/SurveyDocument.h"
#include "app/ui/Controls.h"

using namespace Controls;

namespace {

UpDown *gridShifter(QWidget *parent, Qt::Orientation orientation, const QString &accessibleName, int left, int top,
                    int width, int height)
{
    auto *spinner = place(new UpDown(orientation, parent), left, top, width, height);
    spinner->setRange(-GridShiftLimit, GridShiftLimit);
    spinner->setPosition(0);
    spinner->setToolTip(QStringLiteral("сдвиг сетки"));
    spinner->setAccessibleName(accessibleName);
    return spinner;
}

// Where each control sits, from the strip's left edge.
struct StripLayout
{
    int open, gridCheck, metres, metresLabel, pixels, pixelsWidth, pixelsLabel, ok, okWidth, shiftRight, shiftUp,
        zoomOut, zoomIn;
};
constexpr StripLayout PlanLayout{8, 40, 128, 160, 176, 33, 208, 240, 49, 296, 328, 352, 376};
constexpr StripLayout ProfileLayout{365, 112, 200, 232, 248, 30, 280, 312, 45, 69, 53, 0, 24};

} // namespace

ViewStrip::ViewStrip(ViewSide side, QWidget *parent) : QWidget(parent)
{
    const bool plan = side == ViewSide::Plan;
    const StripLayout &at = plan ? PlanLayout : ProfileLayout;
    const QString view = plan ? QStringLiteral("Plan") : QStringLiteral("Profile");

    openButton = speedButton(this, Glyphs::openFolder(),
                             plan ? QStringLiteral("Open Plan (Left Image)") : QStringLiteral("Open Profile (Right Image)"),
                             at.open, 8, 23, 22);
    openButton->setIconSize(QSize(22, 21));
    gridCheck = checkBox(this, QStringLiteral("Сетка через"), true, at.gridCheck, 16, 89, 17);
    gridMetresEdit = edit(this, QStringLiteral("10"), view + QStringLiteral(" grid cell, м"), at.metres, 8, 33, 21);
    metresLabel = label(this, QStringLiteral("м"), at.metresLabel, 16);
    gridPixelsEdit = edit(this, QStringLiteral("50"), view + QStringLiteral(" grid cell, pixels"), at.pixels, 8,
                          at.pixelsWidth, 21);
    pixelsLabel = label(this, QStringLiteral("pixels"), at.pixelsLabel, 16);
    gridOkButton = pushButton(this, QStringLiteral("OK"), at.ok, 8, at.okWidth, 25);
    gridShiftRight = gridShifter(this, Qt::Horizontal, view + QStringLiteral(" grid shift right"), at.shiftRight, 8, 33, 17);
    gridShiftUp = gridShifter(this, Qt::Vertical, view + QStringLiteral(" grid shift up"), at.shiftUp, 0, 17, 33);
    if (!plan)
        gridShiftRight->raise(); // the two up-downs overlap by a pixel; the horizontal one is in front
    zoomOutButton = speedButton(this, Glyphs::zoomOut(), view + QStringLiteral(" zoom out"), at.zoomOut, 8, 23, 22);
    zoomInButton = speedButton(this, Glyphs::zoomIn(), view + QStringLiteral(" zoom in"), at.zoomIn, 8, 23, 22);
    resize(plan ? at.zoomIn + 24 : ProfileStripWidth, 33);

    connect(openButton, &QToolButton::clicked, this, &ViewStrip::openClicked);
    connect(zoomInButton, &QToolButton::clicked, this, &ViewStrip::zoomInClicked);
    connect(zoomOutButton, &QToolButton::clicked, this, &ViewStrip::zoomOutClicked);
    connect(gridCheck, &QCheckBox::toggled, this, &ViewStrip::gridShownClicked);
    connect(gridOkButton, &QPushButton::clicked, this, &ViewStrip::gridOkClicked);
    // Any change of the texts counts, typed or set, so the entries never differ from the boxes.
    const auto entriesEdited = [this] { emit gridEntriesEdited(gridMetresEdit->text(), gridPixelsEdit->text()); };
    connect(gridMetresEdit, &QLineEdit::textChanged, this, entriesEdited);
    connect(gridPixelsEdit, &QLineEdit::textChanged, this, entriesEdited);
    for (UpDown *spinner : {gridShiftRight, gridShiftUp}) {
        // A press sets the step this very press takes: ten pixels with Ctrl held.
        connect(spinner, &UpDown::mouseDown, this, [spinner](Qt::MouseButton, Qt::KeyboardModifiers modifiers) {
            spinner->setIncrement(modifiers & Qt::ControlModifier ? 10 : 1);
        });
        connect(spinner, &UpDown::clicked, this,
                [this] { emit gridShifted(gridShiftRight->position(), gridShiftUp->position()); });
    }
}

void ViewStrip::showSettings(const ViewSettings &view, bool gridLocked)
{
    // Only the user's typing is reported, not what is shown here.
    const QSignalBlocker quietMetres(gridMetresEdit);
    const QSignalBlocker quietPixels(gridPixelsEdit);
    const QSignalBlocker quietGrid(gridCheck);
    gridCheck->setChecked(view.gridShown);
    showText(gridMetresEdit, view.gridMetresEntry);
    showText(gridPixelsEdit, view.gridPixelsEntry);
    gridMetresEdit->setEnabled(!gridLocked);
    gridPixelsEdit->setEnabled(!gridLocked);
    gridOkButton->setText(gridLocked ? QStringLiteral("Change") : QStringLiteral("OK"));
    gridShiftRight->setPosition(view.gridShiftRight);
    gridShiftUp->setPosition(view.gridShiftUp);
}
